#include "tools/ftpd-standin/release_check.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tools/ftpd-standin/sfv_list.h"

namespace ftpd {
namespace {

using testing_support::ScopedTempDir;
using testing_support::writeFile;

// CRC32 of "hello" and "world" (the zlib and cksfv polynomial).
constexpr uint32_t kHello = 0x3610A686;
constexpr uint32_t kWorld = 0x3A771143;

TEST(SfvList, ParseLinesCommentsAndBadChecksums) {
  SfvList sfv;
  sfv.parse(
      "; made by hand\r\n"
      "01-a.mp3 3610a686\r\n"
      "\r\n"
      "name with blanks.mp3\t3A771143  \r\n"
      "nocrc.mp3\n"
      "short.mp3 3610a68\n"
      "nothex.mp3 3610a68g\n"
      " 12345678\n"
      "last.mp3 00000000");
  ASSERT_EQ(sfv.files().size(), 3u);
  EXPECT_EQ(sfv.files()[0].name, "01-a.mp3");
  EXPECT_EQ(sfv.files()[0].crc, kHello);
  EXPECT_EQ(sfv.files()[1].name, "name with blanks.mp3");
  EXPECT_EQ(sfv.files()[1].crc, kWorld);
  EXPECT_EQ(sfv.files()[2].name, "last.mp3");
  ASSERT_NE(sfv.find("01-A.MP3"), nullptr);
  EXPECT_EQ(sfv.find("01-A.MP3")->name, "01-a.mp3");
  EXPECT_EQ(sfv.find("nocrc.mp3"), nullptr);
}

TEST(ReleaseCheck, ChecksListedFilesAgainstTheFirstSfv) {
  ScopedTempDir dir;
  uint32_t crc = 0;
  writeFile(dir.at("a.mp3"), "hello");
  ASSERT_TRUE(fileCrc32(dir.at("a.mp3"), &crc));
  EXPECT_EQ(crc, kHello);
  EXPECT_FALSE(fileCrc32(dir.at("none"), &crc));

  ReleaseCheck check;
  EXPECT_FALSE(check.readSfv(dir.path()));
  EXPECT_FALSE(check.complete());

  // "B.sfv" sorts after "a.SFV" once case is folded.
  writeFile(dir.at("B.sfv"), "a.mp3 00000000\n");
  writeFile(dir.at("a.SFV"), "A.MP3 3610a686\nb.mp3 3a771143\n");
  ASSERT_TRUE(check.readSfv(dir.path()));
  EXPECT_EQ(check.sfvName(), "a.SFV");
  std::vector<ListedFileState> states = check.checkAll();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].diskName, "a.mp3");
  EXPECT_TRUE(states[0].passed);
  EXPECT_EQ(states[1].diskName, "");
  EXPECT_FALSE(states[1].passed);
  EXPECT_FALSE(check.complete());

  writeFile(dir.at("B.MP3"), "hellO");
  ASSERT_TRUE(check.readSfv(dir.path()));  // sees the new file
  states = check.checkAll();
  EXPECT_EQ(states[1].diskName, "B.MP3");
  EXPECT_FALSE(states[1].passed);
  EXPECT_FALSE(check.complete());

  writeFile(dir.at("B.MP3"), "world");
  ASSERT_TRUE(check.readSfv(dir.path()));
  EXPECT_TRUE(check.complete());

  // A folder under a listed name is no file.
  ScopedTempDir other;
  testing_support::makeDirs(other.at("a.mp3"));
  writeFile(other.at("x.sfv"), "a.mp3 3610a686\n");
  ASSERT_TRUE(check.readSfv(other.path()));
  EXPECT_EQ(check.checkAll()[0].diskName, "");
  // An SFV that lists nothing completes nothing.
  writeFile(other.at("x.sfv"), "; empty\n");
  ASSERT_TRUE(check.readSfv(other.path()));
  EXPECT_FALSE(check.complete());
}

TEST(ReleaseCheck, Extension) {
  EXPECT_TRUE(hasExtension("a.SFV", "sfv"));
  EXPECT_TRUE(hasExtension("x.y.sfv", "sfv"));
  EXPECT_FALSE(hasExtension("sfv", "sfv"));
  EXPECT_FALSE(hasExtension("a.sfv.bad", "sfv"));
  EXPECT_FALSE(hasExtension("a.", "sfv"));
}

}  // namespace
}  // namespace ftpd
