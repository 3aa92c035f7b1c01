// The periodic programs run by hand on a sandbox site, with the clock set by
// faketime and frozen there: the new day's folder and links, and the day's
// credits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/site.h"

namespace {

using e2e::RunResult;
using e2e::Site;
using testing_support::isDir;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

// Runs a periodic program of the site's install folder with the local clock
// frozen at `when` ("2005-03-01 12:00:00"), so that a start that is slow on
// a busy machine sees the same day however close to midnight `when` is.
// libfaketime asks the clock while it starts; the sanitizers' allocator
// would ask it back through libfaketime then and never return, so its timed
// release of memory is turned off.
RunResult runAt(const Site& site, const std::string& program, const std::string& when) {
  std::string options = "allocator_release_to_os_interval_ms=-1";
  const char* had = std::getenv("ASAN_OPTIONS");
  if (had != nullptr && had[0] != 0) options = std::string(had) + ":" + options;
  // "-f" with a plain date and time (no '@' or '+') stops the clock there.
  return e2e::runProgram({"/usr/bin/env", "ASAN_OPTIONS=" + options, "/usr/bin/faketime", "-f",
                          when, site.install() + "/" + program});
}

std::string vfsLine(const std::string& real, const std::string& virt, const std::string& rights,
                    char kind) {
  return real + "|" + virt + "|admin|staff|" + rights + "|" + kind + "|0|0|0|0|0|0|0|0|\r\n";
}

std::string linkLine(const std::string& dayFolder, const std::string& virt,
                     const std::string& rights) {
  return dayFolder + "|" + virt + "|Brindlecast|default|" + rights + "|r|0|0|0|0|0|0|0|0|\n";
}

TEST(DailyTest, DawnrollOnAFewDays) {
  Site site;
  const std::string root = site.folder() + "/root";
  const std::string daily = root + "/daily";
  makeDirs(daily);
  ASSERT_EQ(site.set({"nd_en=1", "nd_today=1", "nd_yesterday=1", "nd_format=%Y/%o%d",
                      "nd_path=/daily", "nd_todaylink=/today", "nd_yesterdaylink=/yesterday"})
                .exitCode,
            0);
  // The administrator's own entries: the today link folder mapped to
  // itself, and one of another kind under the yesterday link's path.
  const std::string vfs = site.folder() + "/server/raidenftpd.vfs";
  const std::string server = readFile(vfs);
  const std::string admin = vfsLine(root + "/today", "/today", "755", 'r');
  const std::string archive = vfsLine(root + "/archive", "/yesterday", "700", 'd');
  writeFile(vfs, server + admin + archive);

  RunResult first = runAt(site, "dawnroll", "2005-02-28 12:00:00");
  ASSERT_EQ(first.exitCode, 0) << first.errors;
  RunResult second = runAt(site, "dawnroll", "2005-03-01 00:00:05");
  ASSERT_EQ(second.exitCode, 0) << second.errors;
  EXPECT_TRUE(isDir(daily + "/2005/0228"));
  EXPECT_TRUE(isDir(daily + "/2005/0301"));
  // The server sees the day folders under the links.
  EXPECT_EQ(site.physical("/today"), daily + "/2005/0301");
  EXPECT_EQ(site.physical("/yesterday/x"), daily + "/2005/0228/x");
  EXPECT_EQ(readFile(vfs), linkLine(daily + "/2005/0228", "/yesterday", "744") +
                               linkLine(daily + "/2005/0301", "/today", "766") + server + admin +
                               archive);
  const std::vector<std::string> chmods =
      testing_support::lines(readFile(site.install() + "/chmod.log"));
  ASSERT_FALSE(chmods.empty());
  EXPECT_EQ(chmods.back(), "744 Brindlecast default " + daily + "/2005/0228");

  // Both links off: they go, the administrator's entries stay.
  ASSERT_EQ(site.set({"nd_today=0", "nd_yesterday=0"}).exitCode, 0);
  ASSERT_EQ(runAt(site, "dawnroll", "2005-03-02 12:00:00").exitCode, 0);
  // Each save lists the file's lines in reverse: the server's own lines now
  // stand in the reverse of their first order.
  std::vector<std::string> serverLines = testing_support::lines(server);
  std::string serverReversed;
  for (auto line = serverLines.rbegin(); line != serverLines.rend(); ++line) {
    serverReversed += *line + "\n";
  }
  EXPECT_EQ(readFile(vfs), archive + admin + serverReversed);
  EXPECT_EQ(site.physical("/today"), root + "/today");

  // 2100 has no leap day.
  ASSERT_EQ(site.set({"nd_yesterday=1"}).exitCode, 0);
  ASSERT_EQ(runAt(site, "dawnroll", "2100-03-01 12:00:00").exitCode, 0);
  EXPECT_EQ(site.physical("/yesterday"), daily + "/2100/0228");

  // A vfs file that the server left with a broken line is not rewritten.
  const std::string broken = readFile(vfs) + "half a line\r\n";
  writeFile(vfs, broken);
  EXPECT_EQ(runAt(site, "dawnroll", "2100-03-02 12:00:00").exitCode, 7);
  EXPECT_EQ(readFile(vfs), broken);
}

// The stand-in's users and the credits (MB) of each, in their file.
std::string users(const char* alice, const char* bob, const char* carol) {
  auto line = [](const char* name, const char* group, const char* credits) {
    return std::string(name) + ":0:*:" + group + ":1:0:0:0:0:0:0:0::::" + credits +
           ":0:0:0000000-::0:0:\n";
  };
  return line("alice", "Couriers", alice) + line("bob", "Racers", bob) +
         line("carol", "Racers", carol);
}

TEST(DailyTest, CreditdoleOnceADayEvenWhenStartedTogether) {
  Site site;
  const std::string userFile = site.folder() + "/server/raidenftpd.usr";
  ASSERT_EQ(readFile(userFile), users("1500.00", "250.50", "0.00"));
  ASSERT_EQ(site.set({"allot=alice:daily:add:100", "allot=BOB:weekly:fill:1000",
                      "allot=carol:monthly:add:5:1"})
                .exitCode,
            0);
  // A value the key does not take changes nothing.
  EXPECT_EQ(site.set({"allot=carol:yearly:add:5"}).exitCode, 2);

  // Monday 1 April 2024: every entry is due, once.
  RunResult run = runAt(site, "creditdole", "2024-04-01 08:00:00");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(readFile(userFile), users("1600.00", "1000.00", "5.00"));
  EXPECT_EQ(readFile(site.data() + "/lastallot.sav"),
            std::string("\x01\x01\x04\xe8\x07\x00\x00", 7));
  EXPECT_EQ(runAt(site, "creditdole", "2024-04-01 23:59:59").exitCode, 1);
  EXPECT_EQ(readFile(userFile), users("1600.00", "1000.00", "5.00"));

  // Four starts at once on Tuesday: one gives alice her daily credits.
  std::vector<int> codes(4, -1);
  std::vector<std::thread> starts;
  for (size_t i = 0; i < codes.size(); ++i) {
    starts.emplace_back(
        [&, i] { codes[i] = runAt(site, "creditdole", "2024-04-02 09:00:00").exitCode; });
  }
  for (std::thread& t : starts) t.join();
  int done = 0;
  int already = 0;
  for (int code : codes) {
    done += code == 0;
    already += code == 1;
  }
  EXPECT_EQ(done, 1);
  EXPECT_EQ(already, 3);
  EXPECT_EQ(readFile(userFile), users("1700.00", "1000.00", "5.00"));
}

}  // namespace
