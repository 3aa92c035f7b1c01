#include "hookkit/dir_set.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::InstallSandbox;
using testing_support::makeDirs;
using testing_support::writeFile;

TEST(DirSetTest, PathsWithAndWithoutTrailingSeparator) {
  for (const char* path : {"/m/r/c", "/m/r/c/"}) {
    DirSet set(XString(path), nullptr, nullptr);
    EXPECT_EQ(set.dir, "/m/r/c/") << path;
    EXPECT_EQ(set.parentDir, "/m/r/") << path;
    EXPECT_EQ(set.grandparentDir, "/m/") << path;
    EXPECT_EQ(set.dirName, "c") << path;
    EXPECT_EQ(set.parentName, "r") << path;
  }
  DirSet shallow(XString("/r"), nullptr, nullptr);
  EXPECT_EQ(shallow.parentDir, "/");
  EXPECT_EQ(shallow.grandparentDir, "/");
  EXPECT_EQ(shallow.parentName, "");
  DirSet empty(XString(""), nullptr, nullptr);
  EXPECT_EQ(empty.dir, "/");
}

TEST(DirSetTest, FindFirstAndHasMatch) {
  InstallSandbox box;
  std::string rel = box.site() + "/Rel";
  makeDirs(rel);
  makeDirs(rel + "/folder.sfv");  // folders are not listed
  writeFile(rel + "/b.SFV", "");
  writeFile(rel + "/a.sfvx", "");
  writeFile(rel + "/c.sfv", "");
  DirSet set(XString(rel), nullptr, nullptr);
  EXPECT_EQ(set.findFirst(XString("*.sfv")), (rel + "/b.SFV").c_str());
  EXPECT_TRUE(set.hasMatch(XString("*.sfv")));
  EXPECT_FALSE(set.hasMatch(XString("*.nfo")));
  EXPECT_EQ(set.findFirst(XString("*.nfo")), "");
  DirSet gone(XString(box.site() + "/missing"), nullptr, nullptr);
  EXPECT_EQ(gone.findFirst(XString("*")), "");
}

TEST(ChmodTest, RunsTheOutsideProgramWithTheRightOwner) {
  InstallSandbox box;
  std::string target = box.site() + "/with blank.txt";
  writeFile(target, "x");
  Chmod configured;
  configured.touser = false;
  configured.username = "Brindlecast";
  configured.group = "default";
  configured.allow = "764";
  configured.run(XString(target), XString("bob"), XString("grp"));
  Chmod toUser;
  toUser.touser = true;
  toUser.allow = "700";
  toUser.run(XString(target), XString("bob"), XString("grp"));

  auto log = box.chmodLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "764 Brindlecast default " + target);
  EXPECT_EQ(log[1], "700 bob grp " + target);

  DirSet set(XString(box.site()), &configured, nullptr);
  set.applyOwner(XString(target));  // without a UserInfo nothing runs
  EXPECT_EQ(box.chmodLog().size(), 2u);
}

}  // namespace
