#include "programs/tallyglad/tallyglad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "hookkit/release_event.h"
#include "race/racer.h"
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
using testing_support::writeFile;

// Bars whose names are easy to read back.
void plainBars(HookSite& site) {
  site.config.pb.mode = 1;
  site.config.pb.incpat = "bar %F of %o";
  site.config.pb.compat = "done %o";
  site.config.pb.incpatmul = "bar %F of %o in %P";
  site.config.pb.compatmul = "done %o in %P";
}

int checked(const HookSite& site, const std::string& folder, const std::string& name) {
  return runSfvSuccessHook(XString(site.line(
      "tallyglad", {"R", "b", joinPath(folder, name), "/site/rel/" + name, "grp", "bob"})));
}

// The race file that the SFV's upload starts.
void startRace(const HookSite& site, const std::string& folder) {
  Racer race(&site.config.racer);
  ASSERT_TRUE(race.save(XString(joinPath(folder, "racer.sav"))));
}

bool logged(const HookSite& site, const std::string& path) {
  std::vector<std::string> log = site.box.chmodLog();
  return std::find(log.begin(), log.end(), "764 bob grp " + path) != log.end();
}

TEST(TallygladTest, MovesTheBarAndRemovesMarkers) {
  HookSite site;
  plainBars(site);
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\nb.rar 2\nc.rar 3\nd.rar 4\n");
  for (const char* name : {"a.rar", "b.rar", "c.rar"}) writeFile(joinPath(rel, name), "data");
  for (const char* marker : {"bar 2 of 4", "c.rar-missing", "d.rar-missing"}) {
    writeFile(joinPath(rel, marker), "");
  }
  writeFile(joinPath(site.box.site(), "Rel - SFV missing"), "");
  startRace(site, rel);

  ASSERT_EQ(checked(site, rel, "c.rar"), kExitDone);
  EXPECT_EQ(listNames(rel),
            (std::vector<std::string>{".message", "a.rar", "b.rar", "bar 3 of 4", "c.rar",
                                      "d.rar-missing", "racer.sav", "rel.sfv"}));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV missing")));
  EXPECT_TRUE(logged(site, joinPath(rel, "bar 3 of 4")));
  EXPECT_TRUE(logged(site, joinPath(rel, "racer.sav")));
  EXPECT_TRUE(logged(site, joinPath(rel, ".message")));
  EXPECT_FALSE(readFile(joinPath(rel, ".message")).empty());
  // Without a memo the others keep their defaults; slot 1 names the file.
  EXPECT_EQ(readFile(site.memoPath()),
            slotBytes("", 1) + slotBytes(joinPath(rel, "c.rar"), 0) + slotBytes("", 1) +
                slotBytes("", 1) + slotBytes("", 0) +
                recordBytes({{joinPath(rel, "c.rar"), Status::kChecked}}));
}

TEST(TallygladTest, LastFileOfAnMp3Release) {
  struct Case {
    const char* ext;
    bool merge;
    bool completeBar;
  } cases[] = {{"mp3", true, false}, {"mp3", false, true}, {"rar", true, true}};
  for (const Case& c : cases) {
    HookSite site;
    plainBars(site);
    site.config.pb.merge = c.merge;
    site.save();
    std::string rel = site.release("Rel");
    std::string a = std::string("a.") + c.ext;
    std::string b = std::string("b.") + c.ext;
    writeFile(joinPath(rel, "rel.sfv"), a + " 1\n" + b + " 2\n");
    writeFile(joinPath(rel, a), "x");
    writeFile(joinPath(rel, b), "x");
    writeFile(joinPath(rel, "bar 1 of 2"), "");
    ASSERT_EQ(checked(site, rel, b), kExitDone);
    EXPECT_FALSE(exists(joinPath(rel, "bar 1 of 2"))) << c.ext << c.merge;
    EXPECT_EQ(exists(joinPath(rel, "done 2")), c.completeBar) << c.ext << c.merge;
  }
}

TEST(TallygladTest, ExemptFolderKeepsItsBar) {
  HookSite site;
  plainBars(site);
  site.config.sfv_dirlist.add(XString(testing_support::nativePath("*/Rel/")));
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\nb.rar 2\n");
  writeFile(joinPath(rel, "a.rar"), "x");
  writeFile(joinPath(rel, "bar 0 of 2"), "");
  writeFile(joinPath(rel, "a.rar-missing"), "");
  writeFile(joinPath(site.box.site(), "Rel - SFV missing"), "");
  ASSERT_EQ(checked(site, rel, "a.rar"), kExitDone);
  EXPECT_TRUE(exists(joinPath(rel, "bar 0 of 2")));
  EXPECT_FALSE(exists(joinPath(rel, "bar 1 of 2")));
  EXPECT_FALSE(exists(joinPath(rel, "a.rar-missing")));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV missing")));
}

TEST(TallygladTest, CdFolderMarkersStandAboveIt) {
  HookSite site;
  plainBars(site);
  site.config.pb.mcd = true;
  site.save();
  std::string cd = site.release("Rel/CD1");
  writeFile(joinPath(cd, "cd1.sfv"), "a.rar 1\nb.rar 2\n");
  writeFile(joinPath(cd, "a.rar"), "x");
  writeFile(joinPath(site.box.site(), "Rel-CD1 - SFV missing"), "");
  writeFile(joinPath(site.box.site(), "Rel/CD1 - SFV missing"), "");
  ASSERT_EQ(checked(site, cd, "a.rar"), kExitDone);
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel-CD1 - SFV missing")));
  EXPECT_TRUE(exists(joinPath(site.box.site(), "Rel/CD1 - SFV missing")));
  EXPECT_TRUE(exists(joinPath(site.box.site(), "Rel/bar 1 of 2 in CD1")));
}

TEST(TallygladTest, RaceSwitches) {
  HookSite site;
  site.config.pb.mode = 0;
  site.config.racer.en = false;
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\n");
  writeFile(joinPath(rel, "a.rar"), "x");
  ASSERT_EQ(checked(site, rel, "a.rar"), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "racer.sav")));
  EXPECT_FALSE(exists(joinPath(rel, ".message")));
  EXPECT_TRUE(site.box.chmodLog().empty());
  EXPECT_NE(readFile(site.memoPath()).find(joinPath(rel, "a.rar")), std::string::npos);

  site.config.racer.en = true;
  site.config.racer.chmod = false;
  site.save();
  startRace(site, rel);
  ASSERT_EQ(checked(site, rel, "a.rar"), kExitDone);
  EXPECT_TRUE(exists(joinPath(rel, "racer.sav")));
  EXPECT_EQ(site.box.chmodLog(),
            std::vector<std::string>{"764 bob grp " + joinPath(rel, ".message")});
}

// Without a race file no race is running (it never started, or the release
// is complete and it was dropped): a late check starts none.
TEST(TallygladTest, StartsNoRaceOfItsOwn) {
  HookSite site;
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\n");
  writeFile(joinPath(rel, "a.rar"), "x");
  ASSERT_EQ(checked(site, rel, "a.rar"), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "racer.sav")));
  EXPECT_FALSE(exists(joinPath(rel, ".message")));
  EXPECT_NE(readFile(site.memoPath()).find(joinPath(rel, "a.rar")), std::string::npos);
}

// Checks of several files can end in any order: the bar of an earlier count
// that is still standing goes, whichever count it has.
TEST(TallygladTest, ReplacesABarLeftByAnEarlierCheck) {
  HookSite site;
  plainBars(site);
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\nb.rar 2\nc.rar 3\nd.rar 4\n");
  for (const char* name : {"a.rar", "b.rar", "c.rar"}) writeFile(joinPath(rel, name), "data");
  writeFile(joinPath(rel, "bar 1 of 4"), "");
  ASSERT_EQ(checked(site, rel, "c.rar"), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "bar 1 of 4")));
  EXPECT_TRUE(exists(joinPath(rel, "bar 3 of 4")));
  // A bar of the same count is not an earlier one: it stays, and it is the
  // one this check would make.
  ASSERT_EQ(checked(site, rel, "c.rar"), kExitDone);
  EXPECT_TRUE(exists(joinPath(rel, "bar 3 of 4")));
}

TEST(TallygladTest, CountsTheCheckedFileInWholeKilobytes) {
  HookSite site;
  site.save();
  std::string rel = site.release("Rel");
  writeFile(joinPath(rel, "rel.sfv"), "big.rar 1\nsmall.rar 2\n");
  // A file past 4 GiB, sparse so that it costs no space.
  writeFile(joinPath(rel, "big.rar"), "");
  std::filesystem::resize_file(joinPath(rel, "big.rar"), (5ull << 30) + 1023);
  writeFile(joinPath(rel, "small.rar"), std::string(3000, 'x'));
  startRace(site, rel);
  ASSERT_EQ(checked(site, rel, "big.rar"), kExitDone);
  ASSERT_EQ(checked(site, rel, "small.rar"), kExitDone);
  Racer racer(&site.config.racer);
  ASSERT_TRUE(racer.load(XString(joinPath(rel, "racer.sav"))));
  EXPECT_EQ(racer.sfvUploadedFiles, 2u);
  EXPECT_EQ(racer.sfvUploadedKb, (5u << 20) + 2u);
  EXPECT_EQ(racer.allFiles, 0u);
  ASSERT_NE(racer.users.find(XString("BOB")), nullptr);
  EXPECT_EQ(racer.users.find(XString("bob"))->sfvFiles, 2u);
}

TEST(TallygladTest, MemoChangesOnlySlotOne) {
  HookSite site;
  plainBars(site);
  site.save();
  std::string rel = site.release("Rel");
  writeFile(site.memoPath(), slotBytes("done", 0) + slotBytes("old", 0) + slotBytes("spare", 0) +
                                 slotBytes("racer", 0) + slotBytes("move", 1));
  // The checked file is not among those the SFV lists: the complete bar goes.
  writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\nb.rar 2\n");
  writeFile(joinPath(rel, "done 2"), "");
  writeFile(joinPath(rel, "other.rar"), "x");
  ASSERT_EQ(checked(site, rel, "other.rar"), kExitDone);
  EXPECT_FALSE(exists(joinPath(rel, "done 2")));
  EXPECT_TRUE(exists(joinPath(rel, "bar 0 of 2")));
  EXPECT_EQ(readFile(site.memoPath()),
            slotBytes("done", 0) + slotBytes(joinPath(rel, "other.rar"), 0) +
                slotBytes("spare", 0) + slotBytes("racer", 0) + slotBytes("move", 1) +
                recordBytes({{joinPath(rel, "other.rar"), Status::kChecked}}));
}

// The memo cannot be saved after the check changed the release (its
// temporary file, its flush or its rename fails): the run ends with its own
// code, the old memo stands whole, and what the run did stays, the file
// counted once.
TEST(TallygladTest, AMemoThatCannotBeSaved) {
  for (platform::FaultStep step : hook_test::kSaveSteps) {
    HookSite site;
    plainBars(site);
    site.save();
    std::string rel = site.release("Rel");
    writeFile(joinPath(rel, "rel.sfv"), "a.rar 1\nb.rar 2\n");
    writeFile(joinPath(rel, "a.rar"), "x");
    writeFile(joinPath(rel, "a.rar-missing"), "");
    startRace(site, rel);
    const std::string memo = slotBytes("old", 0) + slotBytes("", 1) + slotBytes("", 1) +
                             slotBytes("", 1) + slotBytes("", 0);
    writeFile(site.memoPath(), memo);
    {
      // racer.sav and ".message" are saved before the memo.
      testing_support::PlannedFault fault(step, 3);
      EXPECT_EQ(checked(site, rel, "a.rar"), kExitMemoNotSaved);
      EXPECT_TRUE(fault.happened());
    }
    EXPECT_EQ(readFile(site.memoPath()), memo);
    EXPECT_FALSE(hook_test::holdsTemporaryFile(site.box.data()));
    EXPECT_EQ(listNames(rel), (std::vector<std::string>{".message", "a.rar", "bar 1 of 2",
                                                        "racer.sav", "rel.sfv"}));
    Racer racer(&site.config.racer);
    ASSERT_TRUE(racer.load(XString(joinPath(rel, "racer.sav"))));
    EXPECT_EQ(racer.sfvUploadedFiles, 1u);
  }
}

}  // namespace
