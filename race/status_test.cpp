#include "race/status.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string slotBytes(const std::string& path, bool flag) {
  std::string out;
  uint32_t n = static_cast<uint32_t>(path.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
  return out + path + std::string(1, flag ? 1 : 0);
}

TEST(StatusTest, DefaultsAndFileForm) {
  ScopedTempDir temp;
  ASSERT_EQ(chdir(temp.path().c_str()), 0);
  {
    Status memo;
    EXPECT_TRUE(memo.completed.flag);
    EXPECT_FALSE(memo.moveDue.flag);
    EXPECT_EQ(memo.checked.path, "");
    EXPECT_FALSE(memo.completed.holds(XString("")));
  }
  EXPECT_FALSE(exists("Status.sav"));  // nothing changed: nothing written
  { Status memo(true); }
  EXPECT_EQ(readFile("Status.sav"), slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 1) +
                                        slotBytes("", 1) + slotBytes("", 0));
  {
    Status memo;
    memo.checked.path = "/site/Rel/a.mp3";
    memo.checked.flag = false;
    memo.moveDue.path = "/site/Rel/b.mp3";
    memo.moveDue.flag = true;
  }
  std::string expected = slotBytes("", 1) + slotBytes("/site/Rel/a.mp3", 0) + slotBytes("", 1) +
                         slotBytes("", 1) + slotBytes("/site/Rel/b.mp3", 1);
  EXPECT_EQ(readFile("Status.sav"), expected);
  Status again;
  EXPECT_TRUE(again.checked.holds(XString("/site/Rel/a.mp3")));
  EXPECT_FALSE(again.checked.holds(XString("/site/Rel/A.mp3")));  // case counts
}

TEST(StatusTest, GarbledFilesGiveTheDefaults) {
  ScopedTempDir temp;
  ASSERT_EQ(chdir(temp.path().c_str()), 0);
  std::string good = slotBytes("a", 0) + slotBytes("b", 0) + slotBytes("spare", 0) +
                     slotBytes("d", 0) + slotBytes("e", 1);
  for (size_t cut = 0; cut < good.size(); ++cut) {
    writeFile("Status.sav", good.substr(0, cut));
    Status memo;
    EXPECT_EQ(memo.spare.path, "") << cut;
    EXPECT_TRUE(memo.completed.flag) << cut;
  }
  writeFile("Status.sav", std::string("\xFF\xFF\xFF\xFF", 4) + good);
  Status huge;
  EXPECT_EQ(huge.completed.path, "");
  writeFile("Status.sav", good + "trailing");
  Status longer;
  EXPECT_EQ(longer.completed.path, "");
  writeFile("Status.sav", good);
  Status fine;
  EXPECT_EQ(fine.spare.path, "spare");
}

// Each program writes back only the slots it changed, so two hooks that
// loaded the memo at the same time keep each other's slots; the spare slot
// survives both byte for byte.
TEST(StatusTest, WritersKeepEachOthersSlots) {
  ScopedTempDir temp;
  ASSERT_EQ(chdir(temp.path().c_str()), 0);
  writeFile("Status.sav", slotBytes("", 1) + slotBytes("", 1) + slotBytes("sp\x01re", 0) +
                              slotBytes("", 1) + slotBytes("", 0));
  {
    auto a = std::make_unique<Status>();
    auto b = std::make_unique<Status>();
    a->checked.path = "/r/f1";
    a->checked.flag = false;
    b->completed.path = "/r/f2";
    b->completed.flag = false;
    b->racerDone = b->completed;
    a.reset();
    b.reset();
  }
  Status memo;
  EXPECT_TRUE(memo.checked.holds(XString("/r/f1")));
  EXPECT_TRUE(memo.completed.holds(XString("/r/f2")));
  EXPECT_TRUE(memo.racerDone.holds(XString("/r/f2")));
  EXPECT_EQ(memo.spare.path, "sp\x01re");
}

TEST(StatusTest, ProcessesUpdatingAtOnceLoseNoSlot) {
  ScopedTempDir temp;
  ASSERT_EQ(chdir(temp.path().c_str()), 0);
  const int kRounds = 200;
  pid_t children[4];
  for (int slot = 0; slot < 4; ++slot) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int round = 1; round <= kRounds; ++round) {
        Status memo;
        int index = slot == 2 ? 4 : slot;  // leave the spare slot alone
        memo.slot[index].path =
            XString(("/p" + std::to_string(slot) + "/" + std::to_string(round)).c_str());
        memo.slot[index].flag = false;
      }
      _exit(0);
    }
    children[slot] = pid;
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Status memo;
  for (int slot = 0; slot < 4; ++slot) {
    int index = slot == 2 ? 4 : slot;
    EXPECT_EQ(memo.slot[index].path.str(),
              "/p" + std::to_string(slot) + "/" + std::to_string(kRounds));
  }
}

}  // namespace
