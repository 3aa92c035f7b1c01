#include "programs/tallyfull/tallyfull.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>  // symlink
#endif

#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "hookkit/release_event.h"
#include "race/status.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using hook_test::recordBytes;
using hook_test::slotBytes;
using testing_support::exists;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::textBytes;
using testing_support::writeFile;

int completed(const HookSite& site, const std::string& file) {
  return runSfvCompletedHook(
      XString(site.line("tallyfull", {file, "/site/rel/file.rar", "grp", "bob"})));
}

std::string memoAfter(const std::string& file, const std::string& checked,
                      const std::string& spare) {
  return slotBytes(file, 0) + checked + spare + slotBytes(file, 0) + slotBytes(file, 1) +
         recordBytes({{file, Status::kCompleted | Status::kRacerDone | Status::kMoveDue}});
}

TEST(TallyfullTest, MemoAndRaceFile) {
  HookSite site;
  std::string rel = site.release("Rel");
  std::string file = joinPath(rel, "b.rar");
  writeFile(joinPath(rel, "racer.sav"), "race");
  writeFile(joinPath(site.box.site(), "Rel - SFV incomplete"), "");
  std::string checked = slotBytes("checked", 0);
  std::string spare = slotBytes("spare", 1);
  writeFile(site.memoPath(), slotBytes("", 1) + checked + spare +
                                 slotBytes(joinPath(rel, "B.rar"), 0) + slotBytes("", 0));

  // Slot 3 names the file in another case: another file, the race stays.
  ASSERT_EQ(completed(site, file), kExitDone);
  EXPECT_TRUE(exists(joinPath(rel, "racer.sav")));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV incomplete")));
  EXPECT_EQ(readFile(site.memoPath()), memoAfter(file, checked, spare));

  // A second event for the same file finds it in slot 3 with flag 0.
  ASSERT_EQ(completed(site, file), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "racer.sav")));
  EXPECT_EQ(readFile(site.memoPath()), memoAfter(file, checked, spare));
  EXPECT_TRUE(site.box.chmodLog().empty());
}

TEST(TallyfullTest, EverySwitchOffChangesOnlyTheMemo) {
  HookSite site;
  site.config.sfvi = 0;
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.mp3 1\n");
  writeFile(joinPath(rel, "a.mp3"), "x");
  writeFile(joinPath(site.box.site(), "Rel - SFV incomplete"), "");
  ASSERT_EQ(completed(site, joinPath(rel, "a.mp3")), kExitDone);
  EXPECT_EQ(listNames(rel), (std::vector<std::string>{"a.mp3", "rel.sfv"}));
  EXPECT_TRUE(exists(joinPath(site.box.site(), "Rel - SFV incomplete")));
  EXPECT_EQ(readFile(site.memoPath()),
            memoAfter(joinPath(rel, "a.mp3"), slotBytes("", 1), slotBytes("", 1)));
}

TEST(TallyfullTest, CdFolderMarkerInTheGrandparent) {
  HookSite site;
  site.config.sfvi = 2;
  site.save();
  std::string cd = site.release("Rel/CD2");
  makeDirs(joinPath(site.box.site(), "Rel-CD2 - SFV incomplete"));
  ASSERT_EQ(completed(site, joinPath(cd, "a.rar")), kExitDone);
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel-CD2 - SFV incomplete")));
}

TEST(TallyfullTest, Playlist) {
  HookSite site;
  site.config.m3u_create = true;
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "Rel.sfv"), "B.mp3 1\na.mp3 2\n");
  writeFile(joinPath(rel, "B.mp3"), "x");
  writeFile(joinPath(rel, "a.mp3"), "x");
  ASSERT_EQ(completed(site, joinPath(rel, "a.mp3")), kExitDone);
  EXPECT_EQ(readFile(joinPath(rel, "Rel.m3u")), textBytes("a.mp3\nb.mp3\n"));
  EXPECT_EQ(site.box.chmodLog(),
            std::vector<std::string>{"764 bob grp " + joinPath(rel, "Rel.m3u")});

  // A long SFV name (the playlist takes its name) still gets its playlist:
  // the temporary file's name is short whatever the target's.
  std::string longName(245, 'n');
  std::string other = site.release("Long");
  writeFile(joinPath(other, longName) + ".sfv", "a.mp3 1\n");
  writeFile(joinPath(other, "a.mp3"), "x");
  ASSERT_EQ(completed(site, joinPath(other, "a.mp3")), kExitDone);
  EXPECT_EQ(readFile(joinPath(other, longName) + ".m3u"), textBytes("a.mp3\n"));

  // With m3u_skip an existing playlist of any name is kept.
  site.config.m3u_skip = true;
  site.save();
  testing_support::removeFileForTest(joinPath(rel, "Rel.m3u"));
  writeFile(joinPath(rel, "own.M3U"), "mine\n");
  ASSERT_EQ(completed(site, joinPath(rel, "a.mp3")), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "Rel.m3u")));
  EXPECT_EQ(readFile(joinPath(rel, "own.M3U")), "mine\n");
}

TEST(TallyfullTest, AdvertisementFile) {
  HookSite site;
  std::string ads = site.release("../ads");
  const std::string text = "line one\r\nline two\n\nlast line without end";
  writeFile(joinPath(ads, "site.nfo"), text);
  site.config.ad_en = true;
  site.config.ad_file = XString(joinPath(ads, "site.nfo"));
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "site.nfo"),
            "an older copy that is longer than the new one, to be replaced");
  ASSERT_EQ(completed(site, joinPath(rel, "a.rar")), kExitDone);
  // Read folding CR LF, written in text mode.
  EXPECT_EQ(readFile(joinPath(rel, "site.nfo")),
            textBytes("line one\nline two\n\nlast line without end"));
  EXPECT_EQ(site.box.chmodLog(),
            std::vector<std::string>{"764 bob grp " + joinPath(rel, "site.nfo")});

  // A source that is missing, a folder, or not named at all is not copied
  // and nothing is handed to the chmod program.
  makeDirs(joinPath(ads, "folder.nfo"));
  for (const std::string& source :
       {joinPath(ads, "missing.nfo"), joinPath(ads, "folder.nfo"), std::string()}) {
    site.box.clearChmodLog();
    std::string other = site.release("Other");
    site.config.ad_file = XString(source);
    site.save();
    ASSERT_EQ(completed(site, joinPath(other, "a.rar")), kExitDone);
    EXPECT_TRUE(listNames(other).empty()) << source;
    EXPECT_TRUE(site.box.chmodLog().empty()) << source;
  }

#ifndef _WIN32  // symbolic links
  // A link planted under the advertisement's name is not written through.
  std::string planted = site.release("Planted");
  writeFile(joinPath(site.box.root(), "outside"), "keep me");
  ASSERT_EQ(
      symlink(joinPath(site.box.root(), "outside").c_str(), joinPath(planted, "site.nfo").c_str()),
      0);
  site.box.clearChmodLog();
  site.config.ad_file = XString(joinPath(ads, "site.nfo"));
  site.save();
  ASSERT_EQ(completed(site, joinPath(planted, "a.rar")), kExitDone);
  EXPECT_EQ(readFile(joinPath(site.box.root(), "outside")), "keep me");
  EXPECT_TRUE(site.box.chmodLog().empty());
#endif

  // A target that cannot be made (a folder stands in its place).
  DirSet dirSet(XString(rel), nullptr, nullptr);
  testing_support::removeFileForTest(joinPath(rel, "site.nfo"));
  makeDirs(joinPath(rel, "site.nfo"));
  EXPECT_EQ(copyFileIntoRelease(&dirSet, XString(joinPath(ads, "site.nfo"))), -1);
  EXPECT_TRUE(listNames(joinPath(rel, "site.nfo")).empty());
  EXPECT_EQ(copyFileIntoRelease(nullptr, XString(joinPath(ads, "site.nfo"))), -1);
}

// The memo cannot be saved after the release changed: the run ends with its
// own code, the old memo stands whole, and what the run did stays: the
// marker and the finished race's file gone, the playlist written.
TEST(TallyfullTest, AMemoThatCannotBeSaved) {
  for (platform::FaultStep step : hook_test::kSaveSteps) {
    HookSite site;
    site.config.m3u_create = true;
    site.save();
    std::string rel = site.release("Rel");
    std::string file = joinPath(rel, "a.mp3");
    writeFile(file, "x");
    writeFile(joinPath(rel, "racer.sav"), "race");
    writeFile(joinPath(site.box.site(), "Rel - SFV incomplete"), "");
    const std::string memo = slotBytes("old", 0) + slotBytes("", 1) + slotBytes("", 1) +
                             slotBytes(file, 0) + slotBytes("", 0);
    writeFile(site.memoPath(), memo);
    {
      // The playlist is saved before the memo.
      testing_support::PlannedFault fault(step, 2);
      EXPECT_EQ(completed(site, file), kExitMemoNotSaved);
      EXPECT_TRUE(fault.happened());
    }
    EXPECT_EQ(readFile(site.memoPath()), memo);
    EXPECT_FALSE(hook_test::holdsTemporaryFile(site.box.data()));
    EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV incomplete")));
    EXPECT_EQ(listNames(rel), (std::vector<std::string>{"00-rel.m3u", "a.mp3"}));
  }
}

}  // namespace
