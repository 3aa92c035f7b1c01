#include "programs/creditdole/creditdole.h"

#include <gtest/gtest.h>

#include <string>

#include "hookkit/hook_frame.h"
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

}  // namespace
