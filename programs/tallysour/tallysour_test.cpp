#include "programs/tallysour/tallysour.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>  // symlink
#endif

#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "hookkit/release_event.h"
#include "platform/fs.h"
#include "race/status.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using hook_test::recordBytes;
using hook_test::slotBytes;
using testing_support::exists;
using testing_support::joinPath;
using testing_support::readFile;
using testing_support::writeFile;

int failed(const HookSite& site, const std::string& file) {
  return runSfvFailedHook(XString(site.line("tallysour", {file, "/site/rel/x", "grp", "bob"})));
}

TEST(TallysourTest, BadFileByModule) {
  struct Case {
    unsigned char badf;
    bool kept;
    const char* content;
  } cases[] = {{0, true, "corrupt data"}, {1, false, ""}, {2, true, ""}, {7, true, "corrupt data"}};
  for (const Case& c : cases) {
    HookSite site;
    site.config.badf = c.badf;
    site.save();
    std::string rel = site.release("Rel");
    std::string file = joinPath(rel, "a.rar");
    writeFile(file, "a file of the same name");
    writeFile(file + ".bad", "corrupt data");
    writeFile(joinPath(site.box.site(), "Rel - SFV missing"), "");
    ASSERT_EQ(failed(site, file), kExitDone);
    int badf = c.badf;
    EXPECT_EQ(exists(file + ".bad"), c.kept) << badf;
    EXPECT_EQ(readFile(file + ".bad"), c.content) << badf;
    EXPECT_EQ(readFile(file), "a file of the same name") << badf;
    EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV missing"))) << badf;
    // The owner goes to the bad file when it is still there.
    std::vector<std::string> log;
    if (c.kept) log.push_back("764 bob grp " + file + ".bad");
    EXPECT_EQ(site.box.chmodLog(), log) << badf;
    EXPECT_EQ(readFile(site.memoPath()), slotBytes("", 1) + slotBytes(file, 0) + slotBytes("", 1) +
                                             slotBytes("", 1) + slotBytes("", 0) +
                                             recordBytes({{file, Status::kChecked}}))
        << badf;
  }
}

#ifndef _WIN32  // symbolic links
// A ".bad" name that is a link (planted by an uploader) is neither emptied
// nor deleted through, nor handed to the chmod program.
TEST(TallysourTest, BadLinkIsLeftAlone) {
  for (unsigned char badf : {1, 2}) {
    HookSite site;
    site.config.badf = badf;
    site.save();
    std::string rel = site.release("Rel");
    writeFile(joinPath(site.box.root(), "outside"), "keep me");
    ASSERT_EQ(
        symlink(joinPath(site.box.root(), "outside").c_str(), joinPath(rel, "a.rar.bad").c_str()),
        0);
    ASSERT_EQ(failed(site, joinPath(rel, "a.rar")), kExitDone);
    EXPECT_EQ(readFile(joinPath(site.box.root(), "outside")), "keep me") << int(badf);
    EXPECT_TRUE(platform::isLink(joinPath(rel, "a.rar.bad").c_str())) << int(badf);
    EXPECT_TRUE(site.box.chmodLog().empty()) << int(badf);
  }
}
#endif

TEST(TallysourTest, MissingBadFileAndCdFolders) {
  HookSite site;
  site.config.sfvm = 2;
  site.save();
  std::string cd = site.release("Rel/Cd1");
  testing_support::makeDirs(joinPath(site.box.site(), "Rel-Cd1 - SFV missing"));
  writeFile(site.memoPath(), slotBytes("a", 0) + slotBytes("b", 1) + slotBytes("c", 0) +
                                 slotBytes("d", 0) + slotBytes("e", 1));
  std::string file = joinPath(cd, "Track 01.mp3");
  ASSERT_EQ(failed(site, file), kExitDone);
  EXPECT_TRUE(exists(file + ".bad"));  // made empty
  EXPECT_EQ(readFile(file + ".bad"), "");
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel-Cd1 - SFV missing")));
  EXPECT_EQ(readFile(site.memoPath()), slotBytes("a", 0) + slotBytes(file, 0) + slotBytes("c", 0) +
                                           slotBytes("d", 0) + slotBytes("e", 1) +
                                           recordBytes({{file, Status::kChecked}}));
}

// The memo cannot be saved after the failed file and the marker changed:
// the run ends with its own code, the old memo stands whole, and what the
// run did stays.
TEST(TallysourTest, AMemoThatCannotBeSaved) {
  for (platform::FaultStep step : hook_test::kSaveSteps) {
    HookSite site;
    site.save();
    std::string file = joinPath(site.release("Rel"), "a.rar");
    writeFile(file + ".bad", "corrupt data");
    writeFile(joinPath(site.box.site(), "Rel - SFV missing"), "");
    const std::string memo = slotBytes("old", 0) + slotBytes("", 1) + slotBytes("", 1) +
                             slotBytes("", 1) + slotBytes("", 0);
    writeFile(site.memoPath(), memo);
    {
      testing_support::PlannedFault fault(step, 1);
      EXPECT_EQ(failed(site, file), kExitMemoNotSaved);
      EXPECT_TRUE(fault.happened());
    }
    EXPECT_EQ(readFile(site.memoPath()), memo);
    EXPECT_FALSE(hook_test::holdsTemporaryFile(site.box.data()));
    EXPECT_EQ(readFile(file + ".bad"), "");
    EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV missing")));
  }
}

}  // namespace
