#include "programs/creditdole/creditdole.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::removeFileForTest;
using testing_support::writeFile;

// A user of the server's file, every field but the name and the credits
// filled with what the server might write there (a field 9 out of range,
// an odd flags field, blanks at the end).
std::string user(const std::string& name, const std::string& credits, const char* end = "\r\n") {
  return name + ":1:5f4dcc3b:Racers,Couriers:1:2:3:4:1500:0:5:6:a b::c:" + credits +
         ":1:7:1010101x:t:0:1:rest with blanks " + end;
}

User allotment(const char* name, unsigned char when, unsigned char mode, int number,
               bool fillless = true) {
  User u{XString(name), XString(), XString()};
  u.when = when;
  u.mode = mode;
  u.number = number;
  u.fillless = fillless;
  return u;
}

// The stored date: day, weekday, month, then the year as 4 bytes,
// little-endian.
std::string storedDate(int day, int weekday, int month, int year) {
  std::string bytes = {static_cast<char>(day), static_cast<char>(weekday),
                       static_cast<char>(month)};
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((year >> (8 * i)) & 0xff));
  return bytes;
}

struct CreditSite {
  CreditSite() {
    site.global.userfile = XString(users);
    site.save();
  }

  int runOn(int year, int month, int day, int weekday) const {
    testing_support::PinnedClock noon(year, month, day, weekday, 12, 0, 0);
    return runAllotment(XString(site.line("creditdole", {})));
  }

  std::string lastAllot() const {
    return readFile(testing_support::joinPath(site.box.data(), "lastallot.sav"));
  }

  HookSite site;
  std::string users = testing_support::joinPath(site.box.root(), "users.txt");
};

enum : unsigned char { kDaily = 0, kWeekly = 1, kMonthly = 2 };
enum : unsigned char { kOff = 0, kAdd = 1, kFill = 2 };

TEST(CreditdoleTest, GivesWhatIsDueOnceADayAndChangesOnlyTheCredits) {
  CreditSite s;
  AllotList& al = s.site.global.al;
  al.add(allotment("Alice", kDaily, kAdd, 50));
  al.add(allotment("bob", kWeekly, kFill, 100));
  al.add(allotment("carol", kMonthly, kFill, 100));
  al.add(allotment("dave", kDaily, kFill, 100, false));
  al.add(allotment("frank", kDaily, kOff, 100));
  al.add(allotment("gina", 3, kAdd, 100));
  al.add(allotment("ZED", kDaily, kAdd, 1));
  al.add(allotment("nobody", kDaily, kAdd, 1));
  s.site.save();
  // LF and CR LF lines, a decimal comma, three decimals, and a last line
  // without a line end.
  const std::string erin = user("erin", "7.125");
  const std::string frank = user("frank", "1", "\n");
  const std::string gina = user("gina", "1");
  const std::string carol = user("carol", "150");
  writeFile(s.users, user("alice", "12,5") + user("bob", "30", "\n") + carol + user("dave", "150") +
                         erin + frank + gina + user("zed", "0", ""));

  // Monday 1 January 2007: daily, weekly and monthly entries are all due.
  ASSERT_EQ(s.runOn(2007, 1, 1, 1), kExitDone);
  const std::string monday = user("alice", "62.50") + user("bob", "100.00", "\n") + carol +
                             user("dave", "100.00") + erin + frank + gina + user("zed", "1.00", "");
  EXPECT_EQ(readFile(s.users), monday);
  EXPECT_EQ(s.lastAllot(), storedDate(1, 1, 1, 2007));

  // Again the same day, even with another weekday: nothing.
  EXPECT_EQ(s.runOn(2007, 1, 1, 4), kExitAlreadyRan);
  EXPECT_EQ(readFile(s.users), monday);

  // Tuesday the 2nd: only the daily ones. A fill to what the user has
  // already changes nothing.
  ASSERT_EQ(s.runOn(2007, 1, 2, 2), kExitDone);
  EXPECT_EQ(readFile(s.users), user("alice", "112.50") + user("bob", "100.00", "\n") + carol +
                                   user("dave", "100.00") + erin + frank + gina +
                                   user("zed", "2.00", ""));
  EXPECT_EQ(s.lastAllot(), storedDate(2, 2, 1, 2007));
}

TEST(CreditdoleTest, FillAndNamesThatDifferInCase) {
  CreditSite s;
  AllotList& al = s.site.global.al;
  al.add(allotment("low", kWeekly, kFill, 100));
  al.add(allotment("high", kWeekly, kFill, 100));
  al.add(allotment("forced", kWeekly, kFill, 100, false));
  // Two entries for one user: the one the loaded list finds first applies.
  al.add(allotment("twice", kWeekly, kAdd, 1));
  al.add(allotment("TWICE", kWeekly, kAdd, 1000));
  s.site.save();
  GConfig loaded;
  ASSERT_TRUE(loaded.load("BCconfig.bcc"));
  const int twice = loaded.al.find(XString("Twice"))->number;
  writeFile(s.users, user("low", "30") + user("high", "150") + user("forced", "150") +
                         user("Twice", "0.01"));
  // Monday 24 September 2012.
  ASSERT_EQ(s.runOn(2012, 9, 24, 1), kExitDone);
  EXPECT_EQ(readFile(s.users), user("low", "100.00") + user("high", "150") +
                                   user("forced", "100.00") +
                                   user("Twice", std::to_string(twice) + ".01"));
}

TEST(CreditdoleTest, TheLastRunsDate) {
  CreditSite s;
  s.site.global.al.add(allotment("alice", kDaily, kAdd, 1));
  s.site.save();
  writeFile(s.users, user("alice", "0"));
  const std::string path = testing_support::joinPath(s.site.box.data(), "lastallot.sav");
  // The same day and month a year later is another day.
  writeFile(path, storedDate(31, 6, 12, 2005));
  EXPECT_EQ(s.runOn(2006, 12, 31, 0), kExitDone);
  EXPECT_EQ(readFile(s.users), user("alice", "1.00"));
  // Too short to hold a date: counts as not today.
  writeFile(path, storedDate(1, 1, 2, 2006).substr(0, 6));
  EXPECT_EQ(s.runOn(2006, 2, 1, 3), kExitDone);
  EXPECT_EQ(s.lastAllot(), storedDate(1, 3, 2, 2006));
  EXPECT_EQ(readFile(s.users), user("alice", "2.00"));
  // Something other than a file there: nothing is given.
  removeFileForTest(path);
  makeDirs(path);
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitLastAllotUnusable);
  EXPECT_EQ(readFile(s.users), user("alice", "2.00"));
}

TEST(CreditdoleTest, AUserFileThatCannotBeReadLeavesTheDayOpen) {
  CreditSite s;
  s.site.global.al.add(allotment("alice", kDaily, kAdd, 5));
  s.site.save();
  const std::string before = storedDate(1, 3, 2, 2006);
  const std::string path = testing_support::joinPath(s.site.box.data(), "lastallot.sav");
  writeFile(path, before);
  // Missing, then with an empty line between two users.
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitUsersUnreadable);
  const std::string broken = user("alice", "0") + "\r\n" + user("bob", "0");
  writeFile(s.users, broken);
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitUsersUnreadable);
  EXPECT_EQ(readFile(s.users), broken);
  EXPECT_EQ(s.lastAllot(), before);
  // Mended, the next start the same day gives the credits.
  writeFile(s.users, user("alice", "0") + user("bob", "0"));
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitDone);
  EXPECT_EQ(readFile(s.users), user("alice", "5.00") + user("bob", "0"));

  // Without the site-wide lock nothing changes.
  removeFileForTest(testing_support::joinPath(s.site.box.data(), platform::kLockFileName));
  makeDirs(testing_support::joinPath(s.site.box.data(), platform::kLockFileName));
  EXPECT_EQ(s.runOn(2006, 2, 3, 5), kExitNoLock);
  EXPECT_EQ(readFile(s.users), user("alice", "5.00") + user("bob", "0"));
}

// Every way a save can fail after a good load, and what it leaves: the
// user file and "lastallot.sav" as they were, and a next start that gives
// the day's credits once. The day's record is written and flushed first,
// then the user file's new copy; the user file is put in place before the
// record. A folder that cannot be flushed after a rename undoes nothing:
// that run is done, and the next start the same day gives nothing.
TEST(CreditdoleTest, AFailedSaveGivesNothingTwice) {
  using platform::FaultStep;
  struct Case {
    FaultStep step;
    int nth;
    int code;
    const char* what;
  };
  const Case cases[] = {
      {FaultStep::kTempFile, 1, kExitLastAllotUnusable, "no room for the day's record"},
      {FaultStep::kFlush, 1, kExitLastAllotUnusable, "the day's record cannot be flushed"},
      {FaultStep::kTempFile, 2, kExitUsersNotSaved, "no room for the user file"},
      {FaultStep::kFlush, 2, kExitUsersNotSaved, "the user file cannot be flushed"},
      {FaultStep::kRename, 1, kExitUsersNotSaved, "the user file cannot be put in place"},
      {FaultStep::kRename, 2, kExitLastAllotUnusable, "the record cannot be put in place"},
      {FaultStep::kFolderFlush, 1, kExitDone, "the user file's folder cannot be flushed"},
      {FaultStep::kFolderFlush, 2, kExitDone, "the record's folder cannot be flushed"},
  };
  const std::string users = user("alice", "12.50") + user("bob", "3.00");
  const std::string given = user("alice", "62.50") + user("bob", "3.00");
  const std::string before = storedDate(1, 3, 2, 2006);
  for (const Case& c : cases) {
    CreditSite s;
    s.site.global.al.add(allotment("alice", kDaily, kAdd, 50));
    s.site.save();
    writeFile(s.users, users);
    writeFile(testing_support::joinPath(s.site.box.data(), kLastAllotFile), before);
    {
      testing_support::PlannedFault fault(c.step, c.nth);
      EXPECT_EQ(s.runOn(2006, 2, 2, 4), c.code) << c.what;
      EXPECT_TRUE(fault.happened()) << c.what;
    }
    const bool done = c.code == kExitDone;
    EXPECT_EQ(readFile(s.users), done ? given : users) << c.what;
    EXPECT_EQ(s.lastAllot(), done ? storedDate(2, 4, 2, 2006) : before) << c.what;
    if (!done) {
      EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitDone) << c.what;
    }
    EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitAlreadyRan) << c.what;
    EXPECT_EQ(readFile(s.users), given) << c.what;
  }
}

std::mutex waitMutex;
std::condition_variable waitChanged;
bool runWaits = false;

void noteWait() {
  std::lock_guard<std::mutex> guard(waitMutex);
  runWaits = true;
  waitChanged.notify_all();
}

// A start just before midnight that waits for the site-wide lock while the
// day turns serves the new day: the day is read once the lock is held, not
// when the run starts.
TEST(CreditdoleTest, TheDayIsReadOnceTheLockIsHeld) {
  CreditSite s;
  s.site.global.al.add(allotment("alice", kDaily, kAdd, 1));
  s.site.save();
  writeFile(s.users, user("alice", "0"));
  // Monday 1 April 2024 is served already.
  ASSERT_EQ(s.runOn(2024, 4, 1, 1), kExitDone);

  testing_support::PinnedClock late(2024, 4, 1, 1, 23, 59, 59);
  auto held = std::make_unique<platform::FileLock>();
  ASSERT_TRUE(held->held());
  runWaits = false;
  platform::setLockWaitHook(&noteWait);
  int code = -100;
  std::thread run([&] { code = runAllotment(XString(s.site.line("creditdole", {}))); });
  bool waited;
  {
    // Bounded only so that a fault ends the test rather than hanging it.
    std::unique_lock<std::mutex> guard(waitMutex);
    waited = waitChanged.wait_for(guard, std::chrono::seconds(60), [] { return runWaits; });
  }
  platform::setLockWaitHook(nullptr);
  testing_support::PinnedClock midnight(2024, 4, 2, 2, 0, 0, 1);
  held.reset();
  run.join();
  ASSERT_TRUE(waited);
  EXPECT_EQ(code, kExitDone);
  EXPECT_EQ(s.lastAllot(), storedDate(2, 2, 4, 2024));
  EXPECT_EQ(readFile(s.users), user("alice", "2.00"));
  EXPECT_EQ(s.runOn(2024, 4, 2, 2), kExitAlreadyRan);
}

// The administrator's user file behind a link is rewritten where the link
// leads, the link kept; a path that leads to no regular file changes
// nothing and leaves the day open.
TEST(CreditdoleTest, AUserFileBehindALink) {
  CreditSite s;
  s.site.global.al.add(allotment("alice", kDaily, kAdd, 5));
  s.site.save();
  makeDirs(s.users);
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitUsersNotAFile);
  EXPECT_FALSE(
      testing_support::exists(testing_support::joinPath(s.site.box.data(), kLastAllotFile)));
#ifndef _WIN32  // symbolic links
  ASSERT_TRUE(platform::removeDir(s.users.c_str()));
  const std::string real = testing_support::joinPath(s.site.box.root(), "server/users.txt");
  makeDirs(testing_support::joinPath(s.site.box.root(), "server"));
  writeFile(real, user("alice", "0"));
  ASSERT_EQ(symlink(real.c_str(), s.users.c_str()), 0);
  EXPECT_EQ(s.runOn(2006, 2, 2, 4), kExitDone);
  EXPECT_TRUE(platform::isLink(s.users.c_str()));
  EXPECT_EQ(readFile(real), user("alice", "5.00"));
  removeFileForTest(s.users);
  ASSERT_EQ(symlink("gone.txt", s.users.c_str()), 0);
  EXPECT_EQ(s.runOn(2006, 2, 3, 5), kExitUsersNotAFile);
  EXPECT_EQ(s.lastAllot(), storedDate(2, 4, 2, 2006));
#endif
}

}  // namespace
