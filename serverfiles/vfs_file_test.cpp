#include "serverfiles/vfs_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::nativePath;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// The files of serverfiles/testdata/make_golden.py.
std::string golden(const std::string& name) {
  return readFile(std::string(BRINDLE_SOURCE_DIR) + "/serverfiles/testdata/" + name);
}

// The real path is written with '/' here.
bool addLink(VFSfile& vfs, const char* real, const char* virt, char kind = 'r') {
  return vfs.addEntry(XString(nativePath(real)), virt, "owner", "group", "775", kind, 0, 0, 0,
                      false, false, false, false, false);
}

// A real path written with '/' here, as the layer takes it.
XString real(const char* path) { return XString(nativePath(path)); }

TEST(VFSfileTest, KeepsEveryLineOfTheServerByteForByte) {
  ScopedTempDir temp;
  std::string path = temp.at("vfs.txt");
  writeFile(path, golden("vfs-server.txt"));
  ASSERT_TRUE(platform::setModeBits(path.c_str(), 0640));
  unsigned int bits = 0;  // 0640, or what Windows keeps of it
  ASSERT_TRUE(platform::modeBits(path.c_str(), &bits));

  // Five lines against a limit of two: all kept, additions refused.
  VFSfile vfs(path.c_str(), 2);
  EXPECT_TRUE(vfs.valid);
  ASSERT_EQ(vfs.count, 5);
  EXPECT_FALSE(addLink(vfs, "/srv/new", "/new"));
  ASSERT_EQ(vfs.save(path.c_str()), 1);
  EXPECT_EQ(readFile(path), golden("vfs-server-saved.txt"));
  unsigned int mode = 0;
  ASSERT_TRUE(platform::modeBits(path.c_str(), &mode));
  EXPECT_EQ(mode, bits);

  // The odd columns as the server wrote them, parsed for what they say.
  const VFSfileEntry* odd = vfs.entry(3);
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->realPath, "/srv/odd/");
  EXPECT_EQ(odd->owner(), " owner ");
  EXPECT_EQ(odd->kind(), 0);
  EXPECT_EQ(odd->column7(), 0u);
  EXPECT_FALSE(odd->column8());
  EXPECT_EQ(odd->column10(), 0u);
  EXPECT_TRUE(odd->column12() && !odd->column14());
  EXPECT_EQ(odd->rest(), "rest with \xe9 and blanks ");
  EXPECT_EQ(vfs.entry(0)->realPath, "/srv/last");
  EXPECT_EQ(vfs.entry(5), nullptr);

  // Loaded and saved again, the lines are back in the server's order.
  ASSERT_EQ(vfs.load(path.c_str()), 1);
  ASSERT_EQ(vfs.save(path.c_str()), 1);
  std::string original = golden("vfs-server.txt");
  EXPECT_EQ(readFile(path), original + "\r\n");

  // An added entry goes first, formatted, with the file's line end.
  writeFile(path, original);
  VFSfile more(path.c_str(), 100);
  ASSERT_TRUE(addLink(more, "/srv/new/", "/new/"));
  EXPECT_EQ(more.count, 6);
  ASSERT_EQ(more.save(path.c_str()), 1);
  std::string added = golden("vfs-server-added.txt");
  added.replace(0, 8, nativePath("/srv/new"));  // the added line, with its trailing separator cut
  EXPECT_EQ(readFile(path), added);
}

TEST(VFSfileTest, AddedEntriesAreFormattedAndNeverBreakALine) {
  ScopedTempDir temp;
  std::string path = temp.at("new.txt");
  VFSfile vfs(path.c_str(), 8);  // missing: empty, still valid
  EXPECT_TRUE(vfs.valid);
  EXPECT_EQ(vfs.count, 0);
  ASSERT_TRUE(vfs.addEntry("", "", "o", "g", "7", 0, 1, 3, 2, true, false, true, false, true));
  ASSERT_TRUE(addLink(vfs, "/a/", "/x/"));
  // A value holding a separator or a line break would break the line.
  EXPECT_FALSE(addLink(vfs, "/a|b", "/x"));
  EXPECT_FALSE(addLink(vfs, "/a", "/x\n/y"));
  EXPECT_FALSE(addLink(vfs, "/a", "/x", '|'));
  EXPECT_FALSE(vfs.addEntry("/a", "/x", XString("o\0x", 3), "g", "7", 'r', 0, 0, 0, false, false,
                            false, false, false));
  EXPECT_EQ(vfs.count, 2);
  ASSERT_EQ(vfs.save(path.c_str()), 1);
  // Empty paths are written as the roots; an empty kind as an empty column.
  EXPECT_EQ(readFile(path), nativePath("/a") + "|/x|owner|group|775|r|0|0|0|0|0|0|0|0|\n" +
                                nativePath("/") + "|/|o|g|7||1|1|2|3|0|1|0|1|\n");
}

TEST(VFSfileTest, AFileThatDidNotLoadWholeIsNeverWritten) {
  ScopedTempDir temp;
  std::string path = temp.at("vfs.txt");
  const std::string good = "/a|/a|o|g|7|r|0|0|0|0|0|0|0|0|\n";
  const std::string bad[] = {
      "/a|/a|o|g|7|r|0|0|0|0|0|0|0|\n",     // 13 separators
      "/a|/a|o|g|7|r|0|0|0|0|0|0|0|0||\n",  // 15
      "\n",                                 // an empty line
      "/a" + std::string(70000, 'x') + "|/a|o|g|7|r|0|0|0|0|0|0|0|0|\n",
  };
  for (const std::string& line : bad) {
    const std::string file = good + line + good;
    writeFile(path, file);
    VFSfile vfs(path.c_str(), 100);
    EXPECT_FALSE(vfs.valid);
    EXPECT_EQ(vfs.count, 1);  // the lines before it stay
    ASSERT_TRUE(addLink(vfs, "/b", "/b"));
    EXPECT_EQ(vfs.save(path.c_str()), 0);
    EXPECT_EQ(readFile(path), file);
  }
  // A line of just under the limit is a line like any other.
  const std::string longLine = "/a" + std::string(65000, 'x') + "|/a|o|g|7|r|0|0|0|0|0|0|0|0|";
  writeFile(path, longLine);
  VFSfile vfs(path.c_str(), 100);
  EXPECT_TRUE(vfs.valid);
  EXPECT_EQ(vfs.count, 1);

  // Cut anywhere: whatever loads saves and loads again to the same count.
  const std::string server = golden("vfs-server.txt");
  std::string out = temp.at("out.txt");
  for (size_t n = 0; n <= server.size(); ++n) {
    writeFile(path, server.substr(0, n));
    VFSfile cut(path.c_str(), 100);
    if (!cut.valid) continue;
    ASSERT_EQ(cut.save(out.c_str()), 1) << n;
    VFSfile again(out.c_str(), 100);
    ASSERT_TRUE(again.valid);
    ASSERT_EQ(again.count, cut.count) << n;
  }
}

TEST(VFSfileTest, VirtualPathOfAppliesAtSeparatorBoundaries) {
  ScopedTempDir temp;
  std::string path = temp.at("vfs.txt");
  std::string lines;
  for (const char* row : {"/srv/mp|/short", "/srv/MP3|/mp3", "/srv/a/|/a/", "/srv/a/b|/deep",
                          "/srv/same|/first", "/srv/same/|/second"}) {
    const std::string text = row;
    const size_t bar = text.find('|');
    lines += nativePath(text.substr(0, bar)) + text.substr(bar) + "|o|g|7|r|0|0|0|0|0|0|0|0|\n";
  }
  writeFile(path, lines);
  VFSfile vfs(path.c_str(), 100);
  ASSERT_EQ(vfs.count, 6);
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/mp3/New/x")), "/mp3/New/x/");
  EXPECT_EQ(vfs.virtualPathOf(real("/SRV/MP3")), "/mp3/");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/mp/")), "/short/");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/mp3x/y")), "");  // not under /srv/mp nor /srv/mp3
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/a/b/c")), "/deep/c/");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/a/bc")), "/a/bc/");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/same/x")), "/first/x/");  // nearer the file's start
  EXPECT_EQ(vfs.virtualPathOf(real("/other")), "");
  // Added entries are seen too, and one with an empty real path covers all.
  ASSERT_TRUE(addLink(vfs, "/srv/mp3/New", "/links/new"));
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/mp3/new/x")), "/links/new/x/");
  ASSERT_TRUE(
      vfs.addEntry("", "/root", "o", "g", "7", 'r', 0, 0, 0, false, false, false, false, false));
  EXPECT_EQ(vfs.virtualPathOf(real("/other/x")), "/root/other/x/");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/mp3/y")), "/mp3/y/");
}

TEST(VFSfileTest, FindsAndRemovesEntriesByVirtualPath) {
  ScopedTempDir temp;
  std::string path = temp.at("vfs.txt");
  const std::string first = nativePath("/srv/a") + "|/Today/|o|g|7|r|0|0|0|0|0|0|0|0|\r\n";
  const std::string second = nativePath("/srv/b") + "|/other|o|g|7|r|0|0|0|0|0|0|0|0|x\r\n";
  const std::string third = nativePath("/srv/c") + "|/today|o|g|7|d|0|0|0|0|0|0|0|0|\r\n";
  writeFile(path, first + second + third);
  VFSfile vfs(path.c_str(), 100);
  ASSERT_EQ(vfs.count, 3);
  // The list runs from the last line; one trailing '/' and the case do not
  // count.
  EXPECT_EQ(vfs.indexOfVirtualPath("/TODAY/"), 0);
  EXPECT_EQ(vfs.indexOfVirtualPath("/today", 1), 2);
  EXPECT_EQ(vfs.indexOfVirtualPath("/today", 3), -1);
  EXPECT_EQ(vfs.indexOfVirtualPath("/today//"), -1);
  EXPECT_EQ(vfs.indexOfVirtualPath("/tod"), -1);
  EXPECT_EQ(vfs.indexOfVirtualPath(""), -1);
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/c/x")), "/today/x/");  // folds every real path

  for (int outside : {-1, 3, 100}) vfs.removeAt(outside);
  ASSERT_EQ(vfs.count, 3);
  vfs.removeAt(0);
  EXPECT_EQ(vfs.count, 2);
  EXPECT_EQ(vfs.indexOfVirtualPath("/today"), 1);
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/c/x")), "");
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/a/x")), "/Today/x/");
  // An added entry is found and removed like a loaded one; the remaining
  // lines are saved as they were read.
  ASSERT_TRUE(addLink(vfs, "/srv/new", "/today"));
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/new")), "/today/");
  EXPECT_EQ(vfs.indexOfVirtualPath("/today/"), 0);
  vfs.removeAt(0);
  EXPECT_EQ(vfs.virtualPathOf(real("/srv/new")), "");
  vfs.removeAt(1);
  ASSERT_EQ(vfs.count, 1);
  ASSERT_EQ(vfs.save(path.c_str()), 1);
  EXPECT_EQ(readFile(path), second);
  // The last entry goes too, and the list is empty.
  vfs.removeAt(0);
  EXPECT_EQ(vfs.count, 0);
  EXPECT_EQ(vfs.entry(0), nullptr);
  EXPECT_EQ(vfs.indexOfVirtualPath("/other"), -1);
}

}  // namespace
