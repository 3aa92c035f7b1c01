#include "tools/ftpd-standin/release_check.h"

#include <gtest/gtest.h>

#include "hookkit/sfv_status.h"
#include "tests/test_support.h"
#include "tools/ftpd-standin/sfv_list.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {
namespace {

using testing_support::ScopedTempDir;
using testing_support::writeFile;

// CRC32 of "hello" and "world" (the zlib and cksfv polynomial).
constexpr uint32_t kHello = 0x3610A686;
constexpr uint32_t kWorld = 0x3A771143;

// The SFV's file lines are the ones the hooks count, each with the checksum
// written on its own line.
TEST(SfvList, ListsWhatTheHooksCountWithTheLinesChecksums) {
  ScopedTempDir dir;
  const std::string text =
      "; made by hand\r\n"
      "; 2048 bytes in a size comment\r\n"
      "01-a.mp3 3610a686\r\n"
      "\r\n"
      ";!SFV_COMMENT_START\r\n"
      "hidden.mp3 3a771143\r\n"
      ";!SFV_COMMENT_END\r\n"
      "name with blanks.mp3 3A771143  \r\n"
      "tab.mp3\t3610a686\n"  // no blank: the hooks read an empty name
      "nocrc.mp3\n"
      "short.mp3 3610a68\n"
      "a.mp3 0000000a\n"
      "A.MP3 0000000a\n"
      "a.mp3 0000000b\n"
      "last.mp3 00000000";
  writeFile(dir.at("rel.sfv"), text);
  SfvList sfv;
  ASSERT_TRUE(sfv.load(dir.at("rel.sfv"), 1 << 20));
  EXPECT_EQ(sfv.bytesCrc(), crc32Of(text));
  SFVStatus hooks{XString(dir.path())};
  ASSERT_EQ(sfv.files().size(), hooks.fileCount());
  const struct {
    const char* name;
    bool hasCrc;
    uint32_t crc;
  } want[] = {{"01-a.mp3", true, kHello},
              {"name with blanks.mp3", true, kWorld},
              {"", false, 0},
              {"", false, 0},
              {"short.mp3", false, 0},
              {"a.mp3", true, 0xa},
              {"A.MP3", true, 0xa},
              {"a.mp3", true, 0xb},
              {"last.mp3", true, 0}};
  ASSERT_EQ(sfv.files().size(), sizeof want / sizeof want[0]);
  for (size_t i = 0; i < sfv.files().size(); ++i) {
    EXPECT_EQ(sfv.files()[i].name, want[i].name) << i;
    EXPECT_EQ(sfv.files()[i].hasCrc, want[i].hasCrc) << i;
    if (want[i].hasCrc) {
      EXPECT_EQ(sfv.files()[i].crc, want[i].crc) << i;
    }
  }
  ASSERT_NE(sfv.find("01-A.MP3"), nullptr);
  EXPECT_EQ(sfv.find("01-A.MP3")->name, "01-a.mp3");
  EXPECT_EQ(sfv.find(""), nullptr);
  EXPECT_EQ(sfv.find("hidden.mp3"), nullptr);
  EXPECT_EQ(sfv.find("tab.mp3"), nullptr);
  // Every entry of a name that lists the checksum passes with one file.
  EXPECT_EQ(sfv.passing("a.mp3", 0xa), 2u);
  EXPECT_EQ(sfv.passing("A.mp3", 0xb), 1u);
  EXPECT_EQ(sfv.passing("a.mp3", 0xc), 0u);
  EXPECT_EQ(sfv.passing("short.mp3", 0x3610a68), 0u);

  EXPECT_FALSE(sfv.load(dir.at("rel.sfv"), text.size() - 1));  // too large
  EXPECT_TRUE(sfv.files().empty());
  EXPECT_FALSE(sfv.load(dir.at("none.sfv"), 1 << 20));
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

  // An SFV that lists itself is there and passes, never checked against
  // itself; a line the hooks read as an empty name never passes.
  ScopedTempDir self;
  writeFile(self.at("a.mp3"), "hello");
  writeFile(self.at("x.sfv"), "a.mp3 3610a686\nX.SFV 00000000\n");
  ASSERT_TRUE(check.readSfv(self.path()));
  states = check.checkAll();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(states[1].isSfv);
  EXPECT_TRUE(states[1].passed);
  EXPECT_EQ(states[1].diskName, "x.sfv");
  EXPECT_FALSE(states[0].isSfv);
  EXPECT_TRUE(check.complete());
  writeFile(self.at("x.sfv"), "a.mp3 3610a686\nX.SFV 00000000\na.mp3\t3610a686\n");
  ASSERT_TRUE(check.readSfv(self.path()));
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
