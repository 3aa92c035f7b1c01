#include "hookkit/sfv_status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// Makes an SFV of the given files with cksfv, the way uploaders make them.
void cksfv(const std::string& folder, const std::string& sfvName,
           const std::vector<std::string>& files) {
  std::string command = "cd '" + folder + "' && cksfv";
  for (const std::string& f : files) command += " '" + f + "'";
  command += " > '" + sfvName + "' 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()) >> 8, 0) << "cksfv is needed: " << command;
}

TEST(SfvStatusTest, CountsWhatCksfvListsAndWhatIsPresent) {
  ScopedTempDir temp;
  std::string rel = temp.at("Rel");
  makeDirs(rel);
  writeFile(rel + "/a.rar", std::string(1023, 'a'));  // present with 0 KB
  writeFile(rel + "/b file.r00", std::string(3000, 'b'));
  writeFile(rel + "/c.r01", std::string(5000, 'c'));
  cksfv(rel, "rel.sfv", {"a.rar", "b file.r00", "c.r01"});
  testing_support::removeFileForTest(rel + "/c.r01");

  SFVStatus sfv{XString(rel)};
  EXPECT_EQ(sfv.fileCount(), 3u);
  EXPECT_EQ(sfv.presentCount(), 2u);
  EXPECT_EQ(sfv.presentKB(), 0u + 2u);
  // cksfv's size comments: 1023 >> 10, 3000 >> 10, 5000 >> 10.
  EXPECT_EQ(sfv.listedKB(), 0u + 2u + 4u);
  EXPECT_TRUE(sfv.contains(XString("B FILE.R00")));  // case ignored, blank kept
  EXPECT_FALSE(sfv.contains(XString("b file")));
  // Newest first, and the flags pair with the names.
  EXPECT_EQ(sfv.names.at(0), "c.r01");
  EXPECT_EQ(sfv.names.at(2), "a.rar");
  ASSERT_EQ(sfv.present.count, 3u);
  EXPECT_FALSE(sfv.present.at(0)->value);
  EXPECT_TRUE(sfv.present.at(1)->value);
  EXPECT_EQ(sfv.sfvPath(), (rel + "/rel.sfv").c_str());
}

TEST(SfvStatusTest, LinesCommentsAndBlocks) {
  ScopedTempDir temp;
  std::string rel = temp.at("r");
  makeDirs(rel);
  writeFile(rel + "/01-a.mp3", "x");
  writeFile(rel + "/02-B.MP3", "y");
  writeFile(rel + "/list.sfv",
            "01-A.mp3 0011AABB\r\n"     // first line is a file line; CR LF folded
            ";\r\n"                     // a lone ';' is ignored
            "; 1048576  12:00 big\r\n"  // adds 1024 KB
            "; 2048x letters\r\n"       // a word holding a letter adds nothing
            ";!sfv_comment_start\r\n"   // case ignored
            "not-a-file.rar 00000000\r\n"
            "; !SFV_COMMENT_END\r\n"
            "   \r\n"
            "02-b.mp3 00000001");  // last line without line end
  SFVStatus sfv{XString(rel)};
  EXPECT_EQ(sfv.fileCount(), 2u);
  EXPECT_EQ(sfv.presentCount(), 2u);  // found in another letter case
  EXPECT_EQ(sfv.listedKB(), 1024u);
  EXPECT_FALSE(sfv.contains(XString("not-a-file.rar")));

  // A block without its end runs to the end of the file.
  std::string open = temp.at("open");
  makeDirs(open);
  writeFile(open + "/x.sfv", "a 1\n;!SFV_COMMENT_START\nb 2\nc 3\n");
  SFVStatus unterminated{XString(open)};
  EXPECT_EQ(unterminated.fileCount(), 1u);
}

TEST(SfvStatusTest, FirstSfvOnlyAndNoSfv) {
  ScopedTempDir temp;
  std::string rel = temp.at("two");
  makeDirs(rel);
  writeFile(rel + "/b.sfv", "one 1\ntwo 2\n");
  writeFile(rel + "/A.sfv", "only 1\n");  // sorts first case-folded
  SFVStatus sfv{XString(rel)};
  EXPECT_EQ(sfv.fileCount(), 1u);
  EXPECT_TRUE(sfv.contains(XString("only")));

  std::string none = temp.at("none");
  makeDirs(none);
  makeDirs(none + "/dir.sfv");  // a folder is no SFV
  SFVStatus empty{XString(none)};
  EXPECT_EQ(empty.fileCount(), 0u);
  EXPECT_EQ(empty.presentCount(), 0u);
  EXPECT_FALSE(empty.contains(XString("")));
  EXPECT_EQ(empty.sfvPath(), "");
  SFVStatus missing{XString(temp.at("nowhere"))};
  EXPECT_EQ(missing.fileCount(), 0u);
}

TEST(SfvStatusTest, HostileNamesAreListedButNeverPresent) {
  ScopedTempDir temp;
  std::string rel = temp.at("rel");
  makeDirs(rel);
  makeDirs(temp.at("outside"));
  writeFile(temp.at("secret.txt"), std::string(4096, 's'));
  writeFile(rel + "/ok.rar", "k");
  writeFile(rel + "/x.sfv",
            "../secret.txt 1\n"
            "..\\secret.txt 2\n"
            "c:secret.txt 3\n"
            "* 4\n"
            "ok.r?r 5\n"
            ".. 6\n"
            ". 7\n"
            "bell\x07.rar 8\n"
            "noblank\n"
            "ok.rar 9\n" +
                std::string(70000, 'z') + " 10\n");  // too long: skipped whole
  SFVStatus sfv{XString(rel)};
  EXPECT_EQ(sfv.fileCount(), 10u);
  EXPECT_EQ(sfv.presentCount(), 1u);
  EXPECT_EQ(sfv.presentKB(), 0u);
  EXPECT_TRUE(sfv.contains(XString("../secret.txt")));
}

}  // namespace
