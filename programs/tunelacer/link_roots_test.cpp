#include "programs/tunelacer/link_roots.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>  // symlink
#endif

#include <string>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::joinPath;
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
  auto at = [&t](const std::string& relative) { return joinPath(t, relative); };
  for (const char* folder :
       {"site/install/data", "site/server", "site/music/new", "site/links", "elsewhere"}) {
    makeDirs(at(folder));
  }
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink(at("site/music").c_str(), at("alias").c_str()), 0);
  ASSERT_EQ(symlink(at("elsewhere").c_str(), at("site/links/jump").c_str()), 0);
#endif
  ProtectedFolders keep;
  keep.install = at("site/install");
  keep.data = at("site/install/data");
  keep.vfsFolders = {at("site/server")};
  keep.sources = {at("site/music"), at("elsewhere")};
  keep.sourcesAsTyped = {at("site/music/"), at("site/odd/")};

  EXPECT_EQ(refusal(at("site/links/artist/"), keep), "");
  EXPECT_EQ(refusal(at("site/install/links"), keep), "");
  EXPECT_EQ(refusal(at("site/server/links"), keep), "");
  EXPECT_EQ(refusal(at("site/musicbox/"), keep), "");  // shares only a prefix

  EXPECT_EQ(refusal("", keep), "no folder is set");
  const std::string root = "it is the file-system root";
#ifdef _WIN32
  // Each drive has a root of its own: the one that holds the install (here
  // the current drive's too) and another one alike.
  ASSERT_TRUE(platform::changeDir(t.c_str()));
  EXPECT_EQ(refusal(t.substr(0, 3), keep), root);
  EXPECT_EQ(refusal("\\", keep), root);
  EXPECT_EQ(refusal("Q:\\", keep), root);
#else
  EXPECT_EQ(refusal("/", keep), root);
  EXPECT_EQ(refusal("//", keep), root);
#endif
  EXPECT_EQ(refusal(at("site/install/"), keep), "it is or holds the install folder");
  EXPECT_EQ(refusal(at("site"), keep), "it is or holds the install folder");
  EXPECT_EQ(refusal(at("site/install/data/../data"), keep), "it is or holds the data folder");
  EXPECT_EQ(refusal(at("site/server/"), keep), "it holds the vfs files");
  const std::string source = "it is, holds or lies in a source folder";
  EXPECT_EQ(refusal(at("site/music/"), keep), source);
  EXPECT_EQ(refusal(at("site/MUSIC/new/links"), keep), source);  // case as the server sees it
  EXPECT_EQ(refusal(at("site/odd/../links"), keep), source);     // inside as typed
#ifndef _WIN32
  EXPECT_EQ(refusal(at("alias/new/links"), keep), source);    // through a link
  EXPECT_EQ(refusal(at("site/links/jump/x"), keep), source);  // a link above it
  EXPECT_EQ(refusal(at("alias"), keep), "it is a symbolic link");
  EXPECT_EQ(refusal(at("site/links/jump/"), keep), "it is a symbolic link");
#endif
}

TEST(LinkRoots, RemoveTreeLogsWhatItLeaves) {
  ScopedTempDir dir;
  makeDirs(dir.at("links/Band/Band-Album-2024"));
  makeDirs(dir.at("links/Other/x"));
  writeFile(dir.at("links/Other/x/notes.txt"), "not a link folder's");
  makeDirs(dir.at("music/Band-Album-2024"));
  writeFile(dir.at("music/Band-Album-2024/01.mp3"), "audio");
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink(dir.at("music").c_str(), dir.at("links/Band/to-music").c_str()), 0);
#endif
  {
    XLog log(XString(dir.at("log.txt")));
    removeTree(XString(dir.at("links/")), log);
    removeTree(XString(""), log);
    removeTree(XString(dir.at("missing/")), log);
  }
  EXPECT_EQ(readFile(dir.at("log.txt")),
            testing_support::textBytes("! left in place: \"" + dir.at("links/Other/x/notes.txt") +
                                       "\"\n"));
  EXPECT_FALSE(exists(dir.at("links/Band")));
  EXPECT_TRUE(exists(dir.at("links/Other/x/notes.txt")));
  EXPECT_EQ(readFile(dir.at("music/Band-Album-2024/01.mp3")), "audio");
}

}  // namespace
