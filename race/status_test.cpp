#include "race/status.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>

#include "platform/fs.h"
#include "tests/process_writers.h"
#include "tests/test_support.h"
#ifdef _WIN32
#include <thread>
#include <vector>

#include "platform/process.h"
#endif

namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string word(uint32_t n) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
  return out;
}

std::string slotBytes(const std::string& path, bool flag) {
  return word(static_cast<uint32_t>(path.size())) + path + std::string(1, flag ? 1 : 0);
}

const std::string kEmptyMemo =
    slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 0);

TEST(StatusTest, DefaultsAndFileForm) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  {
    Status memo;
    EXPECT_TRUE(memo.completed.flag);
    EXPECT_FALSE(memo.moveDue.flag);
    EXPECT_FALSE(memo.holds(Status::kCompleted, XString("")));
    EXPECT_FALSE(memo.holds(Status::kMoveDue, XString("")));
    ASSERT_TRUE(memo.save());
  }
  EXPECT_FALSE(exists("Status.sav"));  // nothing changed: nothing written
  {
    Status memo;
    ASSERT_TRUE(memo.save(true));
  }
  EXPECT_EQ(readFile("Status.sav"), kEmptyMemo);

  // The slots stand where they always stood; the file's records follow
  // them, one per file, with the roles as bits.
  {
    Status memo;
    memo.mark(Status::kChecked, XString("/site/Rel/a.mp3"));
    memo.mark(Status::kMoveDue, XString("/site/Rel/b.mp3"));
    ASSERT_TRUE(memo.save());
  }
  std::string slots = slotBytes("", 1) + slotBytes("/site/Rel/a.mp3", 0) + slotBytes("", 1) +
                      slotBytes("", 1) + slotBytes("/site/Rel/b.mp3", 1);
  std::string records = std::string("BCR1") + word(2) + word(15) + "/site/Rel/a.mp3\x02" +
                        word(15) + "/site/Rel/b.mp3\x08";
  EXPECT_EQ(readFile("Status.sav"), slots + records);
  Status again;
  EXPECT_TRUE(again.holds(Status::kChecked, XString("/site/Rel/a.mp3")));
  EXPECT_FALSE(again.holds(Status::kChecked, XString("/site/Rel/A.mp3")));  // case counts
  EXPECT_TRUE(again.holds(Status::kMoveDue, XString("/site/Rel/b.mp3")));
  EXPECT_TRUE(again.checked.holds(XString("/site/Rel/a.mp3")));

  // A memo of the slots alone (as older programs wrote it) still answers.
  writeFile("Status.sav", slots);
  Status old;
  EXPECT_TRUE(old.holds(Status::kChecked, XString("/site/Rel/a.mp3")));
  EXPECT_TRUE(old.holds(Status::kMoveDue, XString("/site/Rel/b.mp3")));
}

TEST(StatusTest, GarbledFiles) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  std::string good = slotBytes("a", 0) + slotBytes("b", 0) + slotBytes("spare", 0) +
                     slotBytes("d", 0) + slotBytes("e", 1);
  // Slots cut short give the defaults.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    writeFile("Status.sav", good.substr(0, cut));
    Status memo;
    EXPECT_EQ(memo.spare.path, "") << cut;
    EXPECT_TRUE(memo.completed.flag) << cut;
  }
  writeFile("Status.sav", std::string("\xFF\xFF\xFF\xFF", 4) + good);
  Status huge;
  EXPECT_EQ(huge.completed.path, "");
  // Records that do not decode (cut, another tag, too many) are dropped;
  // the slots stand.
  std::string records = std::string("BCR1") + word(1) + word(2) + "/x\x01";
  for (const std::string& tail :
       {records.substr(0, records.size() - 1), std::string("trailing"),
        std::string("BCR1") + word(Status::kMaxRecords + 1), records + "x"}) {
    writeFile("Status.sav", good + tail);
    Status memo;
    EXPECT_EQ(memo.spare.path, "spare");
    EXPECT_FALSE(memo.holds(Status::kCompleted, XString("/x")));
  }
  writeFile("Status.sav", good + records);
  Status fine;
  EXPECT_TRUE(fine.holds(Status::kCompleted, XString("/x")));
}

// Each program writes back only what it changed, so two hooks that loaded
// the memo at the same time keep each other's slots and records; the spare
// slot survives byte for byte. Releases that complete one after the other
// each keep their own record, whichever finished last.
TEST(StatusTest, WritersKeepEachOthersWork) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  writeFile("Status.sav", slotBytes("", 1) + slotBytes("", 1) + slotBytes("sp\x01re", 0) +
                              slotBytes("", 1) + slotBytes("", 0));
  Status a, b;
  a.mark(Status::kChecked, XString("/r/f1"));
  b.mark(Status::kCompleted, XString("/s/f2"));
  b.mark(Status::kMoveDue, XString("/s/f2"));
  ASSERT_TRUE(a.save());
  ASSERT_TRUE(b.save());
  Status c;
  c.mark(Status::kMoveDue, XString("/t/f3"));
  ASSERT_TRUE(c.save());

  Status memo;
  EXPECT_TRUE(memo.holds(Status::kChecked, XString("/r/f1")));
  EXPECT_TRUE(memo.holds(Status::kCompleted, XString("/s/f2")));
  EXPECT_TRUE(memo.holds(Status::kMoveDue, XString("/s/f2")));  // slot 4 names /t/f3 now
  EXPECT_TRUE(memo.holds(Status::kMoveDue, XString("/t/f3")));
  EXPECT_FALSE(memo.holds(Status::kCompleted, XString("/t/f3")));
  EXPECT_EQ(memo.moveDue.path, "/t/f3");
  EXPECT_EQ(memo.spare.path, "sp\x01re");

  // The records are bounded: the oldest go first.
  for (unsigned int i = 0; i < Status::kMaxRecords + 3; ++i) {
    Status many;
    many.mark(Status::kChecked, XString(("/many/" + std::to_string(i)).c_str()));
    ASSERT_TRUE(many.save());
  }
  Status bounded;
  EXPECT_FALSE(bounded.holds(Status::kChecked, XString("/many/2")));
  EXPECT_TRUE(bounded.holds(Status::kChecked, XString("/many/3")));
}

TEST(StatusTest, ProcessesUpdatingAtOnceLoseNothing) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  const int kRounds = 100;
#ifdef _WIN32
  // Windows cannot fork: the writers are the test helper program.
  std::vector<int> codes(4, -100);
  std::vector<std::thread> writers;
  for (int n = 0; n < 4; ++n) {
    writers.emplace_back([n, &codes] {
      codes[static_cast<size_t>(n)] =
          platform::runAndWait({BRINDLE_BINARY_DIR "/bin/win32_helper.exe", "status",
                                std::to_string(n), std::to_string(kRounds)},
                               120);
    });
  }
  for (std::thread& writer : writers) writer.join();
  for (int code : codes) ASSERT_EQ(code, 0);
#else
  pid_t children[4];
  for (int n = 0; n < 4; ++n) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(testing_support::markWriterRounds(n, kRounds) ? 0 : 1);
    children[n] = pid;
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
#endif
  Status memo;
  for (int n = 0; n < 4; ++n) {
    std::string last = "/p" + std::to_string(n) + "/" + std::to_string(kRounds);
    EXPECT_TRUE(memo.holds(testing_support::kWriterRoles[n], XString(last.c_str()))) << last;
  }
}

// A data folder whose lock file can be neither made nor opened: the memo is
// not written, and the caller hears of it.
TEST(StatusTest, NoLockNoWrite) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
  ASSERT_TRUE(platform::makeDir("brindlecast.lock"));  // a folder where the lock file goes
  Status memo;
  memo.mark(Status::kChecked, XString("/r/f"));
  EXPECT_FALSE(memo.save());
  EXPECT_FALSE(exists("Status.sav"));
}

}  // namespace
