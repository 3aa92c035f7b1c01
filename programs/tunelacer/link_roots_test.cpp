#include "programs/tunelacer/link_roots.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string refusal(const std::string& root, const ProtectedFolders& keep) {
  const char* why = linkRootRefusal(XString(root), keep);
  return why == nullptr ? "" : why;
}

// Each folder a wrong root setting could wipe is refused, as typed and
// after links; a link root beside them is not.
TEST(LinkRoots, DangerousRootsAreRefused) {
  ScopedTempDir dir;
  const std::string t = platform::resolvedPath(dir.path());
  for (const char* folder :
       {"site/install/data", "site/server", "site/music/new", "site/links", "elsewhere"}) {
    makeDirs(t + "/" + folder);
  }
  ASSERT_EQ(symlink((t + "/site/music").c_str(), (t + "/alias").c_str()), 0);
  ASSERT_EQ(symlink((t + "/elsewhere").c_str(), (t + "/site/links/jump").c_str()), 0);
  ProtectedFolders keep;
  keep.install = t + "/site/install";
  keep.data = t + "/site/install/data";
  keep.vfsFolders = {t + "/site/server"};
  keep.sources = {t + "/site/music", t + "/elsewhere"};
  keep.sourcesAsTyped = {t + "/site/music/", t + "/site/odd/"};

  EXPECT_EQ(refusal(t + "/site/links/artist/", keep), "");
  EXPECT_EQ(refusal(t + "/site/install/links", keep), "");
  EXPECT_EQ(refusal(t + "/site/server/links", keep), "");
  EXPECT_EQ(refusal(t + "/site/musicbox/", keep), "");  // shares only a prefix

  EXPECT_EQ(refusal("", keep), "no folder is set");
  EXPECT_EQ(refusal("/", keep), "it is the file-system root");
  EXPECT_EQ(refusal("//", keep), "it is the file-system root");
  EXPECT_EQ(refusal(t + "/site/install/", keep), "it is or holds the install folder");
  EXPECT_EQ(refusal(t + "/site", keep), "it is or holds the install folder");
  EXPECT_EQ(refusal(t + "/site/install/data/../data", keep), "it is or holds the data folder");
  EXPECT_EQ(refusal(t + "/site/server/", keep), "it holds the vfs files");
  const std::string source = "it is, holds or lies in a source folder";
  EXPECT_EQ(refusal(t + "/site/music/", keep), source);
  EXPECT_EQ(refusal(t + "/site/MUSIC/new/links", keep), source);  // case as the server sees it
  EXPECT_EQ(refusal(t + "/alias/new/links", keep), source);       // through a link
  EXPECT_EQ(refusal(t + "/site/links/jump/x", keep), source);     // a link above it
  EXPECT_EQ(refusal(t + "/site/odd/../links", keep), source);     // inside as typed
  EXPECT_EQ(refusal(t + "/alias", keep), "it is a symbolic link");
  EXPECT_EQ(refusal(t + "/site/links/jump/", keep), "it is a symbolic link");
}

TEST(LinkRoots, RemoveTreeLogsWhatItLeaves) {
  ScopedTempDir dir;
  makeDirs(dir.at("links/Band/Band-Album-2024"));
  makeDirs(dir.at("links/Other/x"));
  writeFile(dir.at("links/Other/x/notes.txt"), "not a link folder's");
  makeDirs(dir.at("music/Band-Album-2024"));
  writeFile(dir.at("music/Band-Album-2024/01.mp3"), "audio");
  ASSERT_EQ(symlink(dir.at("music").c_str(), dir.at("links/Band/to-music").c_str()), 0);
  {
    XLog log(XString(dir.at("log.txt")));
    removeTree(XString(dir.at("links/")), log);
    removeTree(XString(""), log);
    removeTree(XString(dir.at("missing/")), log);
  }
  EXPECT_EQ(readFile(dir.at("log.txt")),
            "! left in place: \"" + dir.at("links/Other/x/notes.txt") + "\"\n");
  EXPECT_FALSE(exists(dir.at("links/Band")));
  EXPECT_TRUE(exists(dir.at("links/Other/x/notes.txt")));
  EXPECT_EQ(readFile(dir.at("music/Band-Album-2024/01.mp3")), "audio");
}

}  // namespace
