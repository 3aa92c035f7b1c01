#include "hookkit/dir_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::InstallSandbox;
using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::nativePath;
using testing_support::writeFile;

TEST(DirSetTest, PathsWithAndWithoutTrailingSeparator) {
  for (const char* path : {"/m/r/c", "/m/r/c/"}) {
    DirSet set(XString(nativePath(path)), nullptr, nullptr);
    EXPECT_EQ(set.dir, nativePath("/m/r/c/")) << path;
    EXPECT_EQ(set.parentDir, nativePath("/m/r/")) << path;
    EXPECT_EQ(set.grandparentDir, nativePath("/m/")) << path;
    EXPECT_EQ(set.dirName, "c") << path;
    EXPECT_EQ(set.parentName, "r") << path;
  }
  DirSet shallow(XString(nativePath("/r")), nullptr, nullptr);
  EXPECT_EQ(shallow.parentDir, nativePath("/"));
  EXPECT_EQ(shallow.grandparentDir, nativePath("/"));
  EXPECT_EQ(shallow.parentName, "");
  DirSet empty(XString(""), nullptr, nullptr);
  EXPECT_EQ(empty.dir, nativePath("/"));
}

TEST(DirSetTest, FindFirstAndHasMatch) {
  InstallSandbox box;
  std::string rel = joinPath(box.site(), "Rel");
  makeDirs(rel);
  makeDirs(joinPath(rel, "folder.sfv"));  // folders are not listed
  writeFile(joinPath(rel, "b.SFV"), "");
  writeFile(joinPath(rel, "a.sfvx"), "");
  writeFile(joinPath(rel, "c.sfv"), "");
  DirSet set(XString(rel), nullptr, nullptr);
  EXPECT_EQ(set.findFirst(XString("*.sfv")), joinPath(rel, "b.SFV").c_str());
  EXPECT_TRUE(set.hasMatch(XString("*.sfv")));
  EXPECT_FALSE(set.hasMatch(XString("*.nfo")));
  EXPECT_EQ(set.findFirst(XString("*.nfo")), "");
  DirSet gone(XString(joinPath(box.site(), "missing")), nullptr, nullptr);
  EXPECT_EQ(gone.findFirst(XString("*")), "");
}

TEST(ChmodTest, RunsTheOutsideProgramWithTheRightOwner) {
  InstallSandbox box;
  std::string target = joinPath(box.site(), "with blank.txt");
  writeFile(target, "x");
  Chmod configured;
  configured.touser = false;
  configured.username = "Brindlecast";
  configured.group = "default";
  configured.allow = "764";
  runChmod(configured, XString(target), XString("bob"), XString("grp"));
  Chmod toUser;
  toUser.touser = true;
  toUser.allow = "700";
  runChmod(toUser, XString(target), XString("bob"), XString("grp"));

  auto log = box.chmodLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "764 Brindlecast default " + target);
  EXPECT_EQ(log[1], "700 bob grp " + target);

  DirSet set(XString(box.site()), &configured, nullptr);
  set.applyOwner(XString(target));  // without a UserInfo nothing runs
  EXPECT_EQ(box.chmodLog().size(), 2u);
}

// Whatever a folder's name holds, the chmod program is asked about that one
// path, never about a path cut out of it.
TEST(ChmodTest, AQuoteInANameNeverSplitsTheCall) {
  InstallSandbox box;
  Chmod toUser;
  toUser.touser = true;
  toUser.allow = "755";
  const std::string folder = joinPath(box.site(), "..\" 764 mallory GRP \"x");
  const std::string target = joinPath(folder, "@bob");
  const std::string plain = joinPath(box.site(), "plain");
  writeFile(plain, "");
#ifdef _WIN32
  // No Windows name holds a '"', and the command text cannot carry one:
  // nothing is started.
  runChmod(toUser, XString(target), XString("bob"), XString("grp"));
  EXPECT_TRUE(box.chmodLog().empty());
  // An empty user is an empty stretch of the text, which the program
  // cannot tell from none: it is asked with three words and does nothing.
  runChmod(toUser, XString(plain), XString(""), XString("grp"));
  EXPECT_TRUE(box.chmodLog().empty());
#else
  makeDirs(folder);
  writeFile(target, "");
  runChmod(toUser, XString(target), XString("bob"), XString("grp"));
  EXPECT_EQ(box.chmodLog(), std::vector<std::string>{"755 bob grp " + target});
  // An empty user stays a value of its own.
  box.clearChmodLog();
  runChmod(toUser, XString(plain), XString(""), XString("grp"));
  EXPECT_EQ(box.chmodLog(), std::vector<std::string>{"755  grp " + plain});
#endif
}

// The creator marker stands inside the folder and is handed to the chmod
// program only when it was made: never over a file that is there, never
// outside the folder whatever the user's name.
TEST(DirSetTest, CreatorInfoOnlyInsideAndOnlyWhenMade) {
  InstallSandbox box;
  std::string folder = joinPath(box.site(), "New");
  makeDirs(folder);
  Chmod chmod;
  chmod.touser = true;
  chmod.allow = "755";
  UserInfo user{XString("bob"), XString("grp")};
  DirSet set(XString(folder), &chmod, &user);
  ASSERT_TRUE(set.createCreatorInfo(1));
  EXPECT_EQ(box.chmodLog(), std::vector<std::string>{"755 bob grp " + joinPath(folder, "@bob")});

  // A file of the name with something in it is left whole, unowned.
  user.name = "ann";
  writeFile(joinPath(folder, "@ann"), "kept");
  EXPECT_FALSE(set.createCreatorInfo(1));
  EXPECT_EQ(testing_support::readFile(joinPath(folder, "@ann")), "kept");
  EXPECT_FALSE(set.createCreatorInfo(2));
  EXPECT_FALSE(set.createCreatorInfo(3));

  for (const char* name : {"", ".", "..", "../up", "a/b", "a\\b", "c:x", "*", "a?", "a\tb", "a\"b",
                           "a<b", "b>a", "a|b", "\x7f"}) {
    user.name = name;
    EXPECT_FALSE(set.createCreatorInfo(2)) << name;
  }
  EXPECT_EQ(testing_support::listNames(folder), (std::vector<std::string>{"@ann", "@bob"}));
  EXPECT_EQ(testing_support::listNames(box.site()), std::vector<std::string>{"New"});

  // A folder that is not there gets nothing; a name with dots is plain.
  user.name = "j.doe";
  DirSet gone(XString(joinPath(box.site(), "Gone")), &chmod, &user);
  EXPECT_FALSE(gone.createCreatorInfo(1));
  ASSERT_TRUE(set.createCreatorInfo(2));
  EXPECT_TRUE(testing_support::isDir(joinPath(folder, "@j.doe")));
  EXPECT_EQ(box.chmodLog().size(), 2u);
}

}  // namespace

namespace {

// A release moved where nothing of its name is yet goes in one rename,
// whole; every entry is then handed to the chmod program, each after its
// contents. A target that is there already takes the entries one by one,
// and any entry or level that cannot move makes the move report failure.
TEST(DirSetTest, MovesWholeOrReportsWhatStopped) {
  InstallSandbox box;
  std::string rel = joinPath(box.site(), "Rel");
  makeDirs(joinPath(rel, "Sub"));
  writeFile(joinPath(rel, "a.rar"), "a");
  writeFile(joinPath(rel, "Sub/b.rar"), "b");
  writeFile(joinPath(rel, "racer.sav"), "race");
  makeDirs(joinPath(box.site(), "done"));
  UserInfo user{XString("bob"), XString("grp")};
  Chmod chmod;
  chmod.touser = true;
  chmod.allow = "777";
  DirSet set(XString(rel), &chmod, &user);
  ASSERT_TRUE(set.moveTo(XString(joinPath(box.site(), "done"))));
  EXPECT_FALSE(testing_support::exists(rel));
  std::string moved = joinPath(box.site(), "done/Rel");
  EXPECT_EQ(testing_support::listNames(moved),
            (std::vector<std::string>{"Sub", "a.rar", "racer.sav"}));
  EXPECT_EQ(box.chmodLog(), (std::vector<std::string>{"777 bob grp " + joinPath(moved, "a.rar"),
                                                      "777 bob grp " + joinPath(moved, "racer.sav"),
                                                      "777 bob grp " + joinPath(moved, "Sub/b.rar"),
                                                      "777 bob grp " + joinPath(moved, "Sub")}));

  // Into an existing folder of the name: entry by entry, merged.
  makeDirs(rel);
  writeFile(joinPath(rel, "c.rar"), "c");
  ASSERT_TRUE(set.moveTo(XString(joinPath(box.site(), "done/"))));
  EXPECT_FALSE(testing_support::exists(rel));
  EXPECT_EQ(testing_support::listNames(moved),
            (std::vector<std::string>{"Sub", "a.rar", "c.rar", "racer.sav"}));

  // A file at the target stops the move: the rest stays, and it says so.
  makeDirs(rel);
  writeFile(joinPath(rel, "a.rar"), "newer");
  writeFile(joinPath(rel, "d.rar"), "d");
  EXPECT_FALSE(set.moveTo(XString(joinPath(box.site(), "done"))));
  EXPECT_TRUE(testing_support::exists(joinPath(rel, "a.rar")));
  EXPECT_EQ(testing_support::readFile(joinPath(moved, "a.rar")), "a");

  // A level that cannot be made (a file where its folder goes) or listed.
  writeFile(joinPath(box.site(), "blocked"), "a file");
  EXPECT_FALSE(moveTree(nullptr, XString(rel), XString(joinPath(box.site(), "blocked"))));
  EXPECT_FALSE(moveTree(nullptr, XString(joinPath(box.site(), "missing")),
                        XString(joinPath(box.site(), "m2"))));
}

}  // namespace
