#include "programs/dawnroll/dawnroll.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using testing_support::exists;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::nativePath;
using testing_support::readFile;
using testing_support::removeFileForTest;
using testing_support::writeFile;

// A line of the server's vfs file with the server's columns of a plain
// real folder, ended as the server ends its lines.
std::string vfsLine(const std::string& real, const std::string& virt, const std::string& owner,
                    const std::string& rights, char kind = 'r') {
  return real + "|" + virt + "|" + owner + "|" + owner + "grp|" + rights + "|" + kind +
         "|0|0|0|0|0|0|0|0|\r\n";
}

// The line dawnroll adds for a link, with the default owners of today's
// (766) and past (744) folders.
std::string linkLine(const std::string& dayFolder, const std::string& virt,
                     const std::string& rights) {
  return dayFolder + "|" + virt + "|Brindlecast|default|" + rights + "|r|0|0|0|0|0|0|0|0|\r\n";
}

// An install with the new-day program on: day folders "%Y/%o%d" below
// site/daily, the links site/today and site/yesterday, and a vfs file that
// maps the site folder to "/".
struct DaySite {
  DaySite() {
    makeDirs(daily);
    site.global.nd.en = true;
    site.global.nd.today = true;
    site.global.nd.yesterday = true;
    site.global.nd.format = XString(nativePath("%Y/%o%d"));
    site.global.nd.path = XString(daily);
    site.global.nd.todaylink = XString(todayLink);
    site.global.nd.yesterdaylink = XString(yesterdayLink);
    site.global.vfsfile = XString(vfs);
    site.save();
    rootLine = vfsLine(site.box.site(), "/", "site", "777");
    writeFile(vfs, rootLine);
  }

  // Runs dawnroll with the clock pinned at noon of that day.
  int runOn(int year, int month, int day, int weekday) const {
    testing_support::PinnedClock noon(year, month, day, weekday, 12, 0, 0);
    return runDayRollover(XString(site.line("dawnroll", {})));
  }

  HookSite site;
  std::string daily = joinPath(site.box.site(), "daily");
  std::string todayLink = joinPath(site.box.site(), "today");
  std::string yesterdayLink = joinPath(site.box.site(), "yesterday");
  std::string vfs = joinPath(site.box.root(), "server.vfs");
  std::string rootLine;
};

TEST(DawnrollTest, MakesTheDayFolderAndRenewsOnlyTheOldLinks) {
  DaySite s;
  makeDirs(joinPath(s.daily, "2005/0228"));
  const std::string admin = vfsLine(s.todayLink, "/today", "admin", "755");
  const std::string staleToday =
      vfsLine(joinPath(s.daily, "2005/0227"), "/today", "Brindlecast", "766");
  const std::string staleAgain = vfsLine(joinPath(s.daily, "2005/0226"), "/TODAY/", "old", "700");
  const std::string otherKind =
      vfsLine(joinPath(s.site.box.site(), "old"), "/yesterday", "admin", "755", 'd');
  const std::string staleYesterday =
      vfsLine(joinPath(s.daily, "2005/0226"), "/yesterday", "Brindlecast", "744");
  const std::string odd =
      "/srv/odd/| /odd / | owner |g|-rw||-5| 1 |+7|  12|yes|1|0|01|r\xe9st \r\n";
  writeFile(s.vfs, s.rootLine + admin + staleToday + otherKind + odd + staleAgain + staleYesterday);

  // Tuesday 1 March 2005.
  ASSERT_EQ(s.runOn(2005, 3, 1, 2), kExitDone);
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0301")));
  EXPECT_TRUE(isDir(s.todayLink));
  EXPECT_TRUE(isDir(s.yesterdayLink));
  EXPECT_EQ(
      s.site.box.chmodLog(),
      (std::vector<std::string>{"766 Brindlecast default " + joinPath(s.daily, "2005"),
                                "766 Brindlecast default " + joinPath(s.daily, "2005/0301"),
                                "744 Brindlecast default " + joinPath(s.daily, "2005/0228")}));
  // The links first (yesterday's added last), then the server's lines as
  // the vfs file writes them back: byte for byte, last line first. The
  // administrator's entry for the link folder and the entry of another kind
  // stay.
  const std::string today = linkLine(joinPath(s.daily, "2005/0301"), "/today", "766");
  const std::string yesterday = linkLine(joinPath(s.daily, "2005/0228"), "/yesterday", "744");
  EXPECT_EQ(readFile(s.vfs), yesterday + today + odd + otherKind + admin + s.rootLine);

  // A second run the same day makes nothing new and puts equal links back.
  s.site.box.clearChmodLog();
  ASSERT_EQ(s.runOn(2005, 3, 1, 2), kExitDone);
  EXPECT_EQ(listNames(joinPath(s.daily, "2005")), (std::vector<std::string>{"0228", "0301"}));
  EXPECT_EQ(s.site.box.chmodLog().size(), 3u);
  EXPECT_EQ(readFile(s.vfs), yesterday + today + s.rootLine + admin + otherKind + odd);

  // The today link switched off goes; yesterday's is renewed. The next day
  // is a month's second: its yesterday is the folder of the first.
  s.site.global.nd.today = false;
  s.site.save();
  ASSERT_EQ(s.runOn(2005, 3, 2, 3), kExitDone);
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0302")));
  EXPECT_EQ(readFile(s.vfs), linkLine(joinPath(s.daily, "2005/0301"), "/yesterday", "744") + odd +
                                 otherKind + admin + s.rootLine);
}

TEST(DawnrollTest, YesterdayAcrossMonthsYearsAndLeapDays) {
  struct Case {
    int year, month, day, weekday;
    const char* today;
    const char* yesterday;
  };
  // 2100 is no leap year, 2000 is; 1 January 2006 is a Sunday.
  const Case cases[] = {
      {2004, 3, 1, 1, "2004/0301", "2004/0229"}, {2000, 3, 1, 3, "2000/0301", "2000/0229"},
      {2100, 3, 1, 1, "2100/0301", "2100/0228"}, {2006, 1, 1, 0, "2006/0101", "2005/1231"},
      {2005, 5, 1, 0, "2005/0501", "2005/0430"},
  };
  for (const Case& c : cases) {
    DaySite s;
    ASSERT_EQ(s.runOn(c.year, c.month, c.day, c.weekday), kExitDone) << c.today;
    EXPECT_TRUE(isDir(joinPath(s.daily, c.today))) << c.today;
    EXPECT_FALSE(exists(joinPath(s.daily, c.yesterday))) << c.today;  // never made
    EXPECT_EQ(readFile(s.vfs), linkLine(joinPath(s.daily, c.yesterday), "/yesterday", "744") +
                                   linkLine(joinPath(s.daily, c.today), "/today", "766") +
                                   s.rootLine)
        << c.today;
  }

  // Every key of the name: a year of one digit has a "y" of one.
  DaySite s;
  s.site.global.nd.format = "%p-%O-%d.%o.%Y.%y%%%x";
  s.site.save();
  ASSERT_EQ(s.runOn(5, 12, 7, 3), kExitDone);
  EXPECT_TRUE(isDir(joinPath(s.daily, "december-dec-07.12.5.5%")));
  ASSERT_EQ(s.runOn(2024, 9, 30, 1), kExitDone);
  EXPECT_TRUE(isDir(joinPath(s.daily, "september-sep-30.09.2024.24%")));
}

TEST(DawnrollTest, ADayFolderThatCannotBeMadeTouchesNoLink) {
  DaySite s;
  const std::string before = s.rootLine + vfsLine(joinPath(s.daily, "x"), "/today", "a", "700");
  writeFile(s.vfs, before);
  // A name that begins with the separator, or holds two in a row, would
  // stop at the empty part short of the folder it names: none is made.
  for (const char* format : {"/%Y/%d", "%Y//%d", ""}) {
    s.site.global.nd.format = XString(nativePath(format));
    s.site.save();
    EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitNoDayFolder) << format;
  }
  EXPECT_TRUE(listNames(s.daily).empty());
  // A file where a level goes.
  s.site.global.nd.format = XString(nativePath("%Y/%o%d"));
  s.site.save();
  makeDirs(joinPath(s.daily, "2005"));
  writeFile(joinPath(s.daily, "2005/0301"), "");
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitNoDayFolder);
  EXPECT_EQ(readFile(s.vfs), before);
  EXPECT_FALSE(exists(s.todayLink));
  // A trailing separator is no empty level.
  removeFileForTest(joinPath(s.daily, "2005/0301"));
  s.site.global.nd.format = XString(nativePath("%Y/%o%d/"));
  s.site.save();
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitDone);
  EXPECT_EQ(readFile(s.vfs), linkLine(joinPath(s.daily, "2005/0228"), "/yesterday", "744") +
                                 linkLine(joinPath(s.daily, "2005/0301"), "/today", "766") +
                                 s.rootLine);

  // Without a root nothing at all is made.
  s.site.box.clearChmodLog();
  s.site.global.nd.path = "";
  s.site.save();
  EXPECT_EQ(s.runOn(2006, 3, 1, 3), kExitNoDayFolder);
  EXPECT_TRUE(s.site.box.chmodLog().empty());
  // Switched off, nothing is even looked at.
  s.site.global.nd.en = false;
  s.site.save();
  EXPECT_EQ(s.runOn(2006, 3, 1, 3), kExitDone);
}

TEST(DawnrollTest, TheVfsFileIsLeftAsItIsWhenItCannotTakeTheLinks) {
  DaySite s;
  // Missing: today's folder is made, no link.
  removeFileForTest(s.vfs);
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitNoVfsEntry);
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0301")));
  EXPECT_FALSE(exists(s.vfs));
  // A malformed first line reads as no entry; a later one is reported as
  // such. Neither file is rewritten.
  for (const std::string& text : {"no separators\r\n" + s.rootLine, s.rootLine + "a|b\r\n"}) {
    writeFile(s.vfs, text);
    EXPECT_EQ(s.runOn(2005, 3, 1, 2),
              text == s.rootLine + "a|b\r\n" ? kExitVfsMalformed : kExitNoVfsEntry);
    EXPECT_EQ(readFile(s.vfs), text);
  }
  // At the entry limit the old link goes, today's takes its place and
  // yesterday's does not fit: what fits is saved, and the run says so.
  writeFile(s.vfs, s.rootLine + vfsLine(joinPath(s.daily, "2005/0228"), "/today", "a", "700"));
  s.site.global.vfs_maxentrys = 2;
  s.site.save();
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitLinkRefused);
  EXPECT_EQ(readFile(s.vfs),
            linkLine(joinPath(s.daily, "2005/0301"), "/today", "766") + s.rootLine);
  // A full file that gains no room refuses both and is left as it is.
  const std::string full = s.rootLine + vfsLine(s.site.box.root(), "/other", "a", "700");
  writeFile(s.vfs, full);
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitLinkRefused);
  EXPECT_EQ(readFile(s.vfs), full);
  // A link folder that no entry covers gets no link, not one at the root.
  s.site.global.vfs_maxentrys = 8192;
  s.site.global.nd.yesterdaylink = XString(nativePath("/nowhere/under/the/site"));
  s.site.save();
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitDone);
  EXPECT_EQ(readFile(s.vfs), linkLine(joinPath(s.daily, "2005/0301"), "/today", "766") +
                                 vfsLine(s.site.box.root(), "/other", "a", "700") + s.rootLine);

  // Without the site-wide lock nothing is made.
  removeFileForTest(joinPath(s.site.box.data(), platform::kLockFileName));
  makeDirs(joinPath(s.site.box.data(), platform::kLockFileName));
  s.site.box.clearChmodLog();
  EXPECT_EQ(s.runOn(2005, 3, 2, 3), kExitNoLock);
  EXPECT_FALSE(exists(joinPath(s.daily, "2005/0302")));
  EXPECT_TRUE(s.site.box.chmodLog().empty());
}

// Every way the save of the vfs file can fail after a good load leaves the
// old file whole; the next run puts one link of each kind in. A folder that
// cannot be flushed after the rename undoes nothing: that run is done.
TEST(DawnrollTest, AVfsFileThatCannotBeWrittenStaysWhole) {
  using platform::FaultStep;
  for (FaultStep step :
       {FaultStep::kTempFile, FaultStep::kFlush, FaultStep::kRename, FaultStep::kFolderFlush}) {
    const int kind = static_cast<int>(step);
    const bool made = step == FaultStep::kFolderFlush;
    DaySite s;
    const std::string before =
        s.rootLine + vfsLine(joinPath(s.daily, "2005/0227"), "/today", "a", "700");
    const std::string links = linkLine(joinPath(s.daily, "2005/0228"), "/yesterday", "744") +
                              linkLine(joinPath(s.daily, "2005/0301"), "/today", "766") +
                              s.rootLine;
    writeFile(s.vfs, before);
    {
      testing_support::PlannedFault fault(step);
      EXPECT_EQ(s.runOn(2005, 3, 1, 2), made ? kExitDone : kExitVfsNotSaved) << kind;
      EXPECT_TRUE(fault.happened()) << kind;
    }
    EXPECT_EQ(readFile(s.vfs), made ? links : before) << kind;
    EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitDone) << kind;
    EXPECT_EQ(readFile(s.vfs), links) << kind;
  }
}

// The administrator's vfs file behind a link is rewritten where the link
// leads, the link kept; a path that leads to no regular file is neither
// read nor replaced, and says so.
TEST(DawnrollTest, AVfsFileBehindALink) {
  DaySite s;
  removeFileForTest(s.vfs);
  makeDirs(s.vfs);
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitVfsNotAFile);
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0301")));  // made before the links
  EXPECT_TRUE(listNames(s.vfs).empty());
#ifndef _WIN32  // symbolic links
  ASSERT_TRUE(platform::removeDir(s.vfs.c_str()));
  const std::string real = joinPath(s.site.box.root(), "server/real.vfs");
  makeDirs(joinPath(s.site.box.root(), "server"));
  writeFile(real, s.rootLine);
  ASSERT_EQ(symlink(real.c_str(), s.vfs.c_str()), 0);
  EXPECT_EQ(s.runOn(2005, 3, 1, 2), kExitDone);
  EXPECT_TRUE(platform::isLink(s.vfs.c_str()));
  EXPECT_EQ(readFile(real), linkLine(joinPath(s.daily, "2005/0228"), "/yesterday", "744") +
                                linkLine(joinPath(s.daily, "2005/0301"), "/today", "766") +
                                s.rootLine);
  removeFileForTest(s.vfs);
  ASSERT_EQ(symlink("gone.vfs", s.vfs.c_str()), 0);
  EXPECT_EQ(s.runOn(2005, 3, 2, 3), kExitVfsNotAFile);
  EXPECT_FALSE(exists(joinPath(s.site.box.root(), "gone.vfs")));
#endif
}

#ifndef _WIN32  // a shell script stands in for the chmod program
// Two runs on either side of midnight: the earlier one is held up in its
// first start of the chmod program while the later one goes through. The
// links are the later day's, whichever run ends last.
TEST(DawnrollTest, TwoRunsAroundMidnightLeaveTheLaterDaysLinks) {
  DaySite s;
  const std::string install = s.site.box.root();
  ASSERT_EQ(
      std::rename(joinPath(install, "chmod").c_str(), joinPath(install, "chmod-standin").c_str()),
      0);
  // The first start waits for "go"; each start then does what the stand-in
  // does.
  writeFile(joinPath(install, "chmod"),
            "#!/bin/sh\n"
            "here=$(dirname \"$0\")\n"
            "if mkdir \"$here/held\" 2>/dev/null; then\n"
            "  : > \"$here/started\"\n"
            "  while [ ! -e \"$here/go\" ]; do sleep 0.01; done\n"
            "fi\n"
            "exec \"$here/chmod-standin\" \"$@\"\n");
  ASSERT_TRUE(platform::setModeBits(joinPath(install, "chmod").c_str(), 0755));

  int code = -100;
  std::thread earlier;
  {
    testing_support::PinnedClock beforeMidnight(2005, 3, 1, 2, 23, 59, 59);
    earlier = std::thread([&] { code = runDayRollover(XString(s.site.line("dawnroll", {}))); });
    // Bounded only so that a fault ends the test rather than hanging it.
    for (int i = 0; i < 6000 && !exists(joinPath(install, "started")); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  const bool held = exists(joinPath(install, "started"));
  int later = -100;
  if (held) later = s.runOn(2005, 3, 2, 3);
  writeFile(joinPath(install, "go"), "");
  earlier.join();
  ASSERT_TRUE(held);
  EXPECT_EQ(later, kExitDone);
  EXPECT_EQ(code, kExitDone);
  EXPECT_EQ(readFile(s.vfs), linkLine(joinPath(s.daily, "2005/0301"), "/yesterday", "744") +
                                 linkLine(joinPath(s.daily, "2005/0302"), "/today", "766") +
                                 s.rootLine);
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0301")));
  EXPECT_TRUE(isDir(joinPath(s.daily, "2005/0302")));
}
#endif

}  // namespace
