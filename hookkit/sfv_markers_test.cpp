#include "hookkit/sfv_markers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hookkit/progress_bar.h"
#include "platform/paths.h"
#include "tests/hook_release.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::Release;
using testing_support::writeFile;

TEST(SfvStateMarkerTest, FileAndFolderMarkersBesideTheRelease) {
  InstallSandbox box;
  Release rel(box);
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  SFVMissing file(&set, XString("%n - SFV missing"), XString("%b-%n - SFV missing"), false, 1);
  ASSERT_TRUE(file.create());
  std::string marker = joinPath(box.site(), "Rel - SFV missing");
  EXPECT_TRUE(exists(marker));
  EXPECT_FALSE(isDir(marker));
  ASSERT_EQ(box.chmodLog().size(), 1u);
  EXPECT_EQ(box.chmodLog()[0], "777 bob grp " + marker);
  EXPECT_TRUE(file.remove());
  EXPECT_FALSE(exists(marker));
  EXPECT_FALSE(file.remove());  // nothing left to remove

  // A CD folder's folder marker stands beside the release that holds it.
  Release cd(box, "Rel/CD1");
  DirSet cdSet(XString(cd.path), &cd.chmod, &cd.user);
  SFVIncomplete folder(&cdSet, XString("%n - SFV incomplete"), XString("%b-%n - SFV incomplete"),
                       true, 2);
  ASSERT_TRUE(folder.create());
  EXPECT_TRUE(isDir(joinPath(box.site(), "Rel-CD1 - SFV incomplete")));
  EXPECT_FALSE(folder.create());  // it is there already
  EXPECT_TRUE(folder.remove());
  EXPECT_FALSE(exists(joinPath(box.site(), "Rel-CD1 - SFV incomplete")));

  SFVMissing orphan(nullptr, XString("x"), XString("y"), false, 1);
  EXPECT_FALSE(orphan.create());
  EXPECT_FALSE(orphan.remove());
}

// A marker that stands in another letter case (made under a pattern spelled
// otherwise) is the marker, as on Windows; but where a release, or a CD
// folder of the release, spelled like this one in another case stands
// beside it, the marker may be that folder's and stays.
TEST(SfvStateMarkerTest, AnotherCaseUnlessAnotherReleaseOwnsIt) {
  const struct {
    const char* folder;   // the release, or its CD folder
    const char* twin;     // a folder spelled like one of them in another case
    const char* planted;  // a marker in another case, beside the release
    bool taken;
  } cases[] = {
      {"Rel", "", "rel - sfv MISSING", true},
      {"Rel/CD1", "", "rel-cd1 - sfv MISSING", true},
#ifndef _WIN32  // no Windows folder holds two names that differ in case only
      {"Rel", "REL", "REL - SFV missing", false},
      {"Rel/CD1", "REL", "REL-CD1 - SFV missing", false},
      {"Rel/CD1", "Rel/cd1", "Rel-cd1 - SFV missing", false},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + " beside '" + c.twin + "'");
    InstallSandbox box;
    Release rel(box, c.folder);
    if (c.twin[0] != 0) makeDirs(joinPath(box.site(), c.twin));
    const std::string planted = joinPath(box.site(), c.planted);
    writeFile(planted, "");
    DirSet set(XString(rel.path), &rel.chmod, &rel.user);
    const bool cd = std::string(c.folder).find('/') != std::string::npos;
    SFVMissing missing(&set, XString("%n - SFV missing"), XString("%b-%n - SFV missing"), cd, 1);
    MarkerLookup markers;
    missing.lookup = &markers;
    EXPECT_EQ(missing.exists(), c.taken);
    EXPECT_EQ(missing.remove(), c.taken);
    EXPECT_EQ(exists(planted), !c.taken);
  }
}

// A marker kind that makes nothing (neither a file nor a folder) reports
// "not made", so no chmod run is started for a path that is not there; the
// same for a marker above the site's root.
TEST(SfvStateMarkerTest, NothingMadeNothingOwned) {
  InstallSandbox box;
  Release rel(box);
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  for (unsigned char kind : {0, 3, 255}) {
    SFVMissing marker(&set, XString("%n - SFV missing"), XString("x"), false, kind);
    EXPECT_FALSE(marker.create()) << int(kind);
    ProgressBarSettings bar;
    bar.mode = kind;
    bar.incpat = "bar %F";
    EXPECT_EQ(ProgressBar(&set, &bar, 1, 2, false).create(), 0) << int(kind);
  }
  EXPECT_EQ(listNames(box.site()), std::vector<std::string>{"Rel"});
  EXPECT_EQ(listNames(rel.path), std::vector<std::string>{});
  EXPECT_TRUE(box.chmodLog().empty());

  // The site's root folder has nothing above it inside the site.
  DirSet root(XString(box.site()), &rel.chmod, &rel.user);
  root.setVirtualFolder(XString("/"));
  EXPECT_FALSE(SFVMissing(&root, XString("%n - SFV missing"), XString("x"), false, 1).create());
  DirSet rootCd(XString(joinPath(box.site(), "CD1")), &rel.chmod, &rel.user);
  makeDirs(joinPath(box.site(), "CD1"));
  rootCd.setVirtualFolder(XString("/CD1"));
  EXPECT_FALSE(SFVMissing(&rootCd, XString("x"), XString("%b-%n - SFV missing"), true, 1).create());
  EXPECT_TRUE(SFVMissing(&rootCd, XString("%n - SFV missing"), XString("x"), false, 1).create());
  EXPECT_EQ(listNames(box.root()),
            (std::vector<std::string>{std::string("chmod") + platform::kExeSuffix, "chmod.log",
                                      "data", "output", "site"}));
}

// An uploaded file that happens to bear a marker's name is never emptied or
// deleted.
TEST(SfvStateMarkerTest, NeverTouchesARealFile) {
  InstallSandbox box;
  Release rel(box);
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  std::string marker = joinPath(box.site(), "Rel - SFV missing");
  writeFile(marker, "uploaded data");
  SFVMissing m(&set, XString("%n - SFV missing"), XString(""), false, 1);
  EXPECT_FALSE(m.create());
  EXPECT_EQ(readFile(marker), "uploaded data");
  EXPECT_FALSE(m.remove());
  EXPECT_EQ(readFile(marker), "uploaded data");

  testing_support::removeFileForTest(marker);
  writeFile(marker, "");  // an empty marker file from an earlier run counts as made
  EXPECT_TRUE(m.create());
}

TEST(MissingFilesTest, CreateRepairRemove) {
  InstallSandbox box;
  Release rel(box);
  writeFile(joinPath(rel.path, "rel.sfv"),
            "; comment\n"
            "a.rar 1\n"
            "b with blank.r00 2\n"
            "../escape.rar 3\n"
            ";!SFV_COMMENT_START\n"
            "inblock.rar 4\n"
            ";!SFV_COMMENT_END\n"
            "c.r01 5");  // no line end: still a listed file
  writeFile(joinPath(rel.path, "a.rar"), "present");
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  MissingFiles files(&set, XString("%n-missing"), XString(joinPath(rel.path, "rel.sfv")), 1);
  EXPECT_EQ(files.createAll(), 1);
  EXPECT_EQ(listNames(rel.path), (std::vector<std::string>{"a.rar", "b with blank.r00-missing",
                                                           "c.r01-missing", "rel.sfv"}));
  EXPECT_FALSE(exists(joinPath(box.site(), "escape.rar-missing")));
  // One run for all markers: the stand-in expands the wildcard itself and
  // logs each path it covered.
  std::vector<std::string> log = box.chmodLog();
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (std::vector<std::string>{
                     "777 bob grp " + joinPath(rel.path, "b with blank.r00-missing"),
                     "777 bob grp " + joinPath(rel.path, "c.r01-missing")}));

  writeFile(joinPath(rel.path, "c.r01"), "now here");
  box.clearChmodLog();
  files.repair();
  EXPECT_FALSE(exists(joinPath(rel.path, "c.r01-missing")));
  EXPECT_TRUE(exists(joinPath(rel.path, "b with blank.r00-missing")));
  EXPECT_EQ(box.chmodLog().size(), 1u);

  EXPECT_EQ(files.removeOne(XString("b with blank.r00")), 1);
  EXPECT_FALSE(exists(joinPath(rel.path, "b with blank.r00-missing")));

  EXPECT_EQ(files.createAll(), 1);
  EXPECT_TRUE(exists(joinPath(rel.path, "b with blank.r00-missing")));
  box.clearChmodLog();
  EXPECT_EQ(files.removeAll(), 1);
  EXPECT_FALSE(exists(joinPath(rel.path, "b with blank.r00-missing")));
  EXPECT_TRUE(box.chmodLog().empty());

  MissingFiles noSfv(&set, XString("%n-missing"), XString(joinPath(rel.path, "none.sfv")), 1);
  EXPECT_EQ(noSfv.createAll(), 0);
  EXPECT_EQ(noSfv.removeAll(), 0);
  MissingFiles noSet(nullptr, XString("%n-missing"), XString(joinPath(rel.path, "rel.sfv")), 1);
  EXPECT_EQ(noSet.createAll(), 0);
}

TEST(MissingFilesTest, FolderMarkersAndRealFilesOfTheSameName) {
  InstallSandbox box;
  Release rel(box);
  writeFile(joinPath(rel.path, "rel.sfv"), "a.rar 1\nb.rar 2\n");
  writeFile(joinPath(rel.path, "b.rar-missing"), "someone uploaded this");
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  MissingFiles files(&set, XString("%n-missing"), XString(joinPath(rel.path, "rel.sfv")), 2);
  EXPECT_EQ(files.createAll(), 1);
  EXPECT_TRUE(isDir(joinPath(rel.path, "a.rar-missing")));
  EXPECT_EQ(readFile(joinPath(rel.path, "b.rar-missing")), "someone uploaded this");
  EXPECT_EQ(files.removeAll(), 1);
  EXPECT_FALSE(exists(joinPath(rel.path, "a.rar-missing")));
  EXPECT_EQ(readFile(joinPath(rel.path, "b.rar-missing")), "someone uploaded this");

  MissingFiles asFiles(&set, XString("%n-missing"), XString(joinPath(rel.path, "rel.sfv")), 1);
  writeFile(joinPath(rel.path, "b.rar"), "here");
  asFiles.repair();  // removes only an empty marker file
  EXPECT_EQ(readFile(joinPath(rel.path, "b.rar-missing")), "someone uploaded this");
}

}  // namespace
