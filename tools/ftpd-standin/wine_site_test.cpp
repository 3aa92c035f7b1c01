#include "tools/ftpd-standin/wine_site.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {
namespace {

using testing_support::ScopedTempDir;

TEST(WineSite, PathsOnDriveZ) {
  struct Case {
    const char* posix;
    const char* windows;
  };
  const Case cases[] = {
      {"/", "Z:\\"},
      {"/site/root/a b.mp3", "Z:\\site\\root\\a b.mp3"},
      {"/site/requests/", "Z:\\site\\requests\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(windowsPath(c.posix), c.windows) << c.posix;
    EXPECT_EQ(posixPath(c.windows), c.posix) << c.windows;
  }
  // Neither turns what is not its own.
  for (const char* kept : {"", "relative/name", "C:\\site", "Z:relative", "z"}) {
    EXPECT_EQ(windowsPath(kept), kept);
    EXPECT_EQ(posixPath(kept), kept);
  }
  EXPECT_EQ(posixPath("z:\\a\\b"), "/a/b");
  EXPECT_EQ(windowsProgramName("Z:\\site\\install\\landfall.exe"), "landfall");
  EXPECT_EQ(windowsProgramName("Z:\\site\\install\\Quipgate.EXE"), "Quipgate");
  EXPECT_EQ(windowsProgramName("chmod"), "chmod");
}

TEST(WineSite, VfsTextTurnsOnlyRealPaths) {
  EXPECT_EQ(posixVfsText("Z:\\s\\root|/|site|site|777|r|0|0|0|0|0|0|0|0|\r\n"
                         "Z:\\s\\root\\d\\x|/today|u|g|7\\7|r|0|0|0|0|0|0|0|0|\n"
                         "no bar\n"
                         "Z:\\s\\links|/links|site|site|777|r|0|0|0|0|0|0|0|0|"),
            "/s/root|/|site|site|777|r|0|0|0|0|0|0|0|0|\r\n"
            "/s/root/d/x|/today|u|g|7\\7|r|0|0|0|0|0|0|0|0|\n"
            "no bar\n"
            "/s/links|/links|site|site|777|r|0|0|0|0|0|0|0|0|");
}

TEST(WineSite, DropPosixSeparatorRewritesStoredTexts) {
  ScopedTempDir temp;
  const std::string file = temp.at("settings.bcc");
  auto stored = [](const std::string& text) {
    std::string bytes(4, '\0');
    bytes[0] = static_cast<char>(text.size());
    return bytes + text;
  };
  // Two folders the POSIX saver ended in '/', a third text left as it is,
  // and a folder that appears twice.
  ASSERT_TRUE(writeWholeFile(file, "HEAD" + stored("Z:\\a\\") + "x" + stored("Z:\\b\\/") +
                                       stored("Z:\\c\\d\\/") + stored("Z:\\b\\/") + "\x01"));
  ASSERT_TRUE(dropPosixSeparator(file, {"Z:\\b\\", "Z:\\c\\d\\", "Z:\\e\\", "", "Z:\\a"}));
  std::string bytes;
  ASSERT_TRUE(readSmallFile(file, 1 << 10, &bytes));
  EXPECT_EQ(bytes, "HEAD" + stored("Z:\\a\\") + "x" + stored("Z:\\b\\") + stored("Z:\\c\\d\\") +
                       stored("Z:\\b\\") + "\x01");
}

TEST(WineSite, RunnerRecordRoundTrip) {
  ScopedTempDir temp;
  const std::string file = temp.at("wine");
  WineRunner runner;
  EXPECT_FALSE(readWineRunner(file, &runner));
  EXPECT_FALSE(runner.active());
  ASSERT_TRUE(writeWineRunner(file, {"/usr/bin/wine", "/b/win32_helper.exe"}));
  ASSERT_TRUE(readWineRunner(file, &runner));
  EXPECT_TRUE(runner.active());
  EXPECT_EQ(runner.wine, "/usr/bin/wine");
  EXPECT_EQ(runner.launcher, "/b/win32_helper.exe");
  ASSERT_TRUE(writeWholeFile(file, "/usr/bin/wine\n"));
  EXPECT_FALSE(readWineRunner(file, &runner));
  EXPECT_FALSE(runner.active());
}

}  // namespace
}  // namespace ftpd
