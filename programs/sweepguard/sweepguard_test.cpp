#include "programs/sweepguard/sweepguard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using hook_test::slotBytes;
using testing_support::exists;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::readFile;
using testing_support::writeFile;

// Dates the memo back, so that a rewrite of it shows even when its bytes
// stay the same.
std::filesystem::file_time_type agedMemo(const HookSite& site) {
  auto old = std::filesystem::last_write_time(site.memoPath()) - std::chrono::hours(24);
  std::filesystem::last_write_time(site.memoPath(), old);
  return old;
}

int deleting(const HookSite& site, const std::string& file) {
  return runPreDeleteHook(
      XString(site.line("sweepguard", {"R", "b", "7", file, "/site/rel/x", "grp", "bob"})));
}

// A release whose SFV lists a.rar and a name with blanks, both present, with
// every marker that SFV gave it.
struct Release {
  explicit Release(HookSite& site) : rel(site.release("Rel")) {
    site.config.pb.incpat = "bar %F of %o";
    site.config.pb.compat = "done %o";
    site.save();
    writeFile(joinPath(rel, "Rel.SFV"), "; comment\na.rar 00000001\nb with blanks.rar 00000002\n");
    writeFile(joinPath(rel, "a.rar"), "x");
    writeFile(joinPath(rel, "b with blanks.rar"), "x");
    for (const char* marker : {"a.rar-missing", "b with blanks.rar-missing", "done 2"}) {
      writeFile(joinPath(rel, marker), "");
    }
    incomplete = joinPath(site.box.site(), "Rel - SFV incomplete");
    writeFile(incomplete, "");
  }
  std::string rel;
  std::string incomplete;
};

TEST(SweepguardTest, OnlySfvFilesCount) {
  HookSite site;
  Release r(site);
  const std::string memo = slotBytes(joinPath(r.rel, "Rel.SFV"), 1) + slotBytes("", 1) +
                           slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 0);
  writeFile(site.memoPath(), memo);
  const auto aged = agedMemo(site);
  std::vector<std::string> before = listNames(r.rel);
  for (const char* name : {"a.rar", "Rel.nfo", "sfv", "Rel.sfv.bak"}) {
    ASSERT_EQ(deleting(site, joinPath(r.rel, name)), kExitDone);
  }
  EXPECT_EQ(listNames(r.rel), before);
  EXPECT_TRUE(exists(r.incomplete));
  EXPECT_EQ(std::filesystem::last_write_time(site.memoPath()), aged);

  // The SFV itself, its extension in capitals: every marker it gave goes, the
  // complete bar included, and the memo is read but never rewritten.
  ASSERT_EQ(deleting(site, joinPath(r.rel, "Rel.SFV")), kExitDone);
  EXPECT_EQ(listNames(r.rel), (std::vector<std::string>{"Rel.SFV", "a.rar", "b with blanks.rar"}));
  EXPECT_FALSE(exists(r.incomplete));
  EXPECT_EQ(readFile(site.memoPath()), memo);
  EXPECT_EQ(std::filesystem::last_write_time(site.memoPath()), aged);
  EXPECT_TRUE(site.box.chmodLog().empty());

  // Without a memo none is made.
  testing_support::removeFileForTest(site.memoPath());
  writeFile(r.incomplete, "");
  ASSERT_EQ(deleting(site, joinPath(r.rel, "Rel.SFV")), kExitDone);
  EXPECT_FALSE(exists(r.incomplete));
  EXPECT_FALSE(exists(site.memoPath()));
}

TEST(SweepguardTest, CompletedSfvKeepsItsIncompleteMarker) {
  HookSite site;
  Release r(site);
  std::string sfv = joinPath(r.rel, "Rel.SFV");
  writeFile(site.memoPath(), slotBytes(sfv, 0) + slotBytes("", 1) + slotBytes("", 1) +
                                 slotBytes("", 1) + slotBytes("", 0));
  ASSERT_EQ(deleting(site, sfv), kExitDone);
  EXPECT_TRUE(exists(r.incomplete));
  EXPECT_FALSE(exists(joinPath(r.rel, "a.rar-missing")));

  // Another spelling of the path is another file.
  writeFile(r.incomplete, "");
  writeFile(site.memoPath(), slotBytes(joinPath(r.rel, "rel.sfv"), 0) + slotBytes("", 1) +
                                 slotBytes("", 1) + slotBytes("", 1) + slotBytes("", 0));
  ASSERT_EQ(deleting(site, sfv), kExitDone);
  EXPECT_FALSE(exists(r.incomplete));
}

TEST(SweepguardTest, HostileNamesReachNothingOutside) {
  HookSite site;
  site.save();
  std::string rel = site.release("Rel");
  std::string outside = joinPath(site.box.site(), "victim-missing");
  writeFile(outside, "");  // empty, so it would pass for a marker
  writeFile(joinPath(site.box.data(), "Status.sav-missing"), "");
  writeFile(joinPath(rel, "x.sfv"),
            "../victim 00000001\n"
            "../../data/Status.sav 00000002\n" +
                joinPath(site.box.site(), "victim") + " 00000003\nok.rar 00000004\n");
  writeFile(joinPath(rel, "ok.rar-missing"), "");
  ASSERT_EQ(deleting(site, joinPath(rel, "x.sfv")), kExitDone);
  EXPECT_TRUE(exists(outside));
  EXPECT_TRUE(exists(joinPath(site.box.data(), "Status.sav-missing")));
  EXPECT_FALSE(exists(joinPath(rel, "ok.rar-missing")));
}

// The pre-delete hook only reads the memo: with every step of a save
// planned to fail, it removes the SFV's markers all the same, saves nothing
// and leaves the memo whole.
TEST(SweepguardTest, SavesNothingThatCouldFail) {
  HookSite site;
  Release r(site);
  std::string sfv = joinPath(r.rel, "Rel.SFV");
  const std::string memo = slotBytes("old", 0) + slotBytes("", 1) + slotBytes("", 1) +
                           slotBytes("", 1) + slotBytes("", 0);
  writeFile(site.memoPath(), memo);
  std::vector<std::unique_ptr<testing_support::PlannedFault>> faults;
  for (platform::FaultStep step : hook_test::kSaveSteps) {
    faults.push_back(std::make_unique<testing_support::PlannedFault>(step, 1));
  }
  ASSERT_EQ(deleting(site, sfv), kExitDone);
  for (const auto& fault : faults) EXPECT_FALSE(fault->happened());
  EXPECT_EQ(listNames(r.rel), (std::vector<std::string>{"Rel.SFV", "a.rar", "b with blanks.rar"}));
  EXPECT_FALSE(exists(r.incomplete));
  EXPECT_EQ(readFile(site.memoPath()), memo);
}

}  // namespace
