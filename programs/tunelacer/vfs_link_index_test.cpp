#include "programs/tunelacer/vfs_link_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::nativePath;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// A line of the vfs file; the real path is written with '/' here.
std::string line(const std::string& real, const std::string& virt) {
  return nativePath(real) + "|" + virt + "|o|g|775|r|0|0|0|0|0|0|0|0|\r\n";
}

// The index answers as the file's own walk over every entry does, for
// nested, duplicated, differently cased and separator-ended real paths,
// folders that only share a prefix, and the entries that cover everything.
TEST(VfsLinkIndex, AnswersAsTheFileDoes) {
  const std::vector<std::string> queries = {"/srv",
                                            "/srv/",
                                            "/SRV/links/x",
                                            "/srv/links",
                                            "/srv/linksX/a",
                                            "/srv/linksY",
                                            "/srv/links/Artist/A/B",
                                            "/srv/dup/x",
                                            "/other/place",
                                            "/",
                                            "relative/x",
                                            "r",
                                            "",
                                            "/srv//links/x",
                                            "/srv/links/artist"};
  const std::vector<std::vector<std::string>> files = {
      {line("/srv", "/"), line("/srv/links", "/links"), line("/srv/links/", "/links2"),
       line("/SRV/Links/Artist", "/by-artist/"), line("/srv/linksX", "/x"), line("/srv/dup", "/d1"),
       line("/srv/dup", "/d2"), line("relative", "/rel")},
      {line("/srv/links", "/links"), line("", "/all"), line("/", "/root"), line("", "/all2")},
      {line("/", "/root"), line("", "/all"), line("/srv", "/s")},
      {line("/srv/a", "/a")},
  };
  ScopedTempDir dir;
  for (const std::vector<std::string>& lines : files) {
    std::string text;
    for (const std::string& l : lines) text += l;
    writeFile(dir.at("vfs"), text);
    VFSfile vfs(dir.at("vfs").c_str(), 100);
    ASSERT_EQ(vfs.count, static_cast<int>(lines.size()));
    const VfsLinkIndex index(vfs);
    for (const std::string& asked : queries) {
      const XString query(nativePath(asked));
      EXPECT_EQ(index.virtualPathOf(query).str(), vfs.virtualPathOf(query).str())
          << "'" << query << "' in " << text;
    }
  }

  // Entries added later are not looked at.
  VFSfile vfs(dir.at("vfs").c_str(), 100);
  const VfsLinkIndex index(vfs);
  ASSERT_TRUE(vfs.addEntry(XString(nativePath("/srv/a/b")), "/elsewhere", "o", "g", "775", 'r', 0,
                           0, 0, false, false, false, false, false));
  EXPECT_EQ(vfs.virtualPathOf(XString(nativePath("/srv/a/b/c"))).str(), "/elsewhere/c/");
  EXPECT_EQ(index.virtualPathOf(XString(nativePath("/srv/a/b/c"))).str(), "/a/b/c/");
  EXPECT_EQ(index.virtualPathOf(XString(nativePath("/srv/ab"))).str(), "");

  EXPECT_TRUE(index.hasVirtualPath("/A/"));
  EXPECT_FALSE(index.hasVirtualPath("/a/b"));
  EXPECT_TRUE(sameVirtualPath("/Today/", "/today"));
  EXPECT_FALSE(sameVirtualPath("/today//", "/today"));
  EXPECT_FALSE(sameVirtualPath("/today", "/yesterday"));
}

}  // namespace
