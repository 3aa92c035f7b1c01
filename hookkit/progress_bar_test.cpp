#include "hookkit/progress_bar.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"
#include "tests/hook_release.h"
#include "tests/mp3_test_bytes.h"
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

ProgressBarSettings barSettings(unsigned char mode) {
  ProgressBarSettings s;
  s.mode = mode;
  s.len = 10;
  s.full = "#";
  s.empty = "-";
  s.incpat = "[%b] %p%% %F/%o %sMB %P";
  s.compat = "[DONE %P] %sMB in %o";
  s.incpatmul = "[%b] %P";
  s.compatmul = "[%P DONE]";
  return s;
}

TagInfoSettings tagSettings(unsigned char mode) {
  TagInfoSettings s;
  s.mode = mode;
  s.id = "TAG";
  s.format = " %a - %A - %y - %g - %B - %m - %f - %M - %c - %P";
  s.mergepat = "[COMPLETE] %s in %o using %a";
  s.idmul = "CDTAG";
  s.formatmul = " %a in %P";
  s.mergepatmul = "[%P COMPLETE] %a";
  s.last = true;
  return s;
}

// A small MP3 with an ID3v1 tag whose texts an uploader chose.
std::string taggedMp3(const std::string& artist, const std::string& album, unsigned char genre,
                      const std::string& comment = "note") {
  std::string body = readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/mpeg1_notag.mp3");
  return body + mp3_test::id3v1("title", artist, album, "1999", comment, genre);
}

TEST(ProgressBarTest, DrawsTheBarAndItsKeys) {
  InstallSandbox box;
  Release rel(box);
  writeFile(joinPath(rel.path, "a.rar"), std::string(1536 * 1024, 'a'));  // 1.50 MB present
  writeFile(joinPath(rel.path, "x.sfv"), "a.rar 1\nb.rar 2\nc.rar 3\n");
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  ProgressBarSettings s = barSettings(1);
  ProgressBar bar(&set, &s, 3, 7, false);
  bar.render();
  EXPECT_EQ(bar.bar, "####------");
  // The '/' of the pattern is no separator here.
  EXPECT_EQ(bar.markerPath,
            (rel.path + platform::kPathSepText + "[####------] 042% 3/7 1.50MB Rel").c_str());

  bar.set(9, 7);  // more present than listed: drawn complete
  bar.render();
  EXPECT_EQ(bar.markerPath, joinPath(rel.path, "[DONE Rel] 1.50MB in 7").c_str());

  bar.set(0, 0);
  bar.render();
  EXPECT_EQ(bar.markerPath, joinPath(rel.path, "no files in sfv").c_str());

  ASSERT_EQ(bar.create(), 1);
  EXPECT_TRUE(exists(joinPath(rel.path, "no files in sfv")));
  ASSERT_EQ(box.chmodLog().size(), 1u);
  EXPECT_TRUE(bar.remove());
  EXPECT_FALSE(exists(joinPath(rel.path, "no files in sfv")));
  EXPECT_FALSE(bar.remove());
}

TEST(ProgressBarTest, CdFoldersAndFolderMarkers) {
  InstallSandbox box;
  Release cd(box, "Rel/CD1");
  DirSet set(XString(cd.path), &cd.chmod, &cd.user);
  ProgressBarSettings s = barSettings(2);
  ProgressBar bar(&set, &s, 1, 2, true);
  ASSERT_EQ(bar.create(), 1);
  EXPECT_TRUE(isDir(joinPath(box.site(), "Rel/[#####-----] CD1")));
  bar.set(2, 2);
  ASSERT_EQ(bar.create(), 1);
  EXPECT_TRUE(isDir(joinPath(box.site(), "Rel/[CD1 DONE]")));

  // A folder that cannot be made leaves a trace line in the data folder.
  bar.set(1, 2);
  EXPECT_EQ(bar.create(), 0);  // it is there already
  bar.set(1, 2);
  EXPECT_EQ(bar.create(), 0);
  EXPECT_EQ(readFile(joinPath(box.data(), "test.log")), "it failed.it failed.");

  // A real file bearing the bar's name is neither emptied nor removed.
  ProgressBarSettings files = barSettings(1);
  Release single(box, "Single");
  DirSet singleSet(XString(single.path), &single.chmod, &single.user);
  ProgressBar fileBar(&singleSet, &files, 0, 0, false);
  writeFile(joinPath(single.path, "no files in sfv"), "uploaded");
  EXPECT_EQ(fileBar.create(), 0);
  EXPECT_FALSE(fileBar.remove());
  EXPECT_EQ(readFile(joinPath(single.path, "no files in sfv")), "uploaded");

  ProgressBar orphan(nullptr, &s, 1, 2, false);
  EXPECT_EQ(orphan.create(), 0);
}

// A CD folder's bar in another letter case is taken for its own, as on
// Windows, both by the removal of an earlier bar and by the removal of this
// one; but where a CD folder spelled like it in another case stands beside
// it, the bar may be that folder's and stays.
TEST(ProgressBarTest, ACdFoldersBarInAnotherCase) {
  const struct {
    const char* twin;
    bool taken;
  } cases[] = {
      {"", true},
#ifndef _WIN32  // no Windows folder holds two names that differ in case only
      {"cd1", false},
#endif
  };
  const ProgressBarSettings s = barSettings(2);
  for (const auto& c : cases) {
    InstallSandbox box;
    Release cd(box, "Rel/CD1");
    if (c.twin[0] != 0) makeDirs(joinPath(box.site(), std::string("Rel/") + c.twin));
    DirSet set(XString(cd.path), &cd.chmod, &cd.user);
    const std::string planted = joinPath(box.site(), "Rel/[#####-----] cd1");
    for (bool earlier : {true, false}) {
      makeDirs(planted);
      MarkerLookup markers;
      ProgressBar bar(&set, &s, earlier ? 2 : 1, 2, true);
      bar.lookup = &markers;
      EXPECT_EQ(earlier ? bar.removeEarlier() : bar.remove(), c.taken) << c.twin << earlier;
      EXPECT_EQ(isDir(planted), !c.taken) << c.twin << earlier;
    }
  }
}

TEST(TagInfoTest, NamesFromTheTag) {
  InstallSandbox box;
  Release rel(box);
  std::string mp3 = joinPath(rel.path, "01.mp3");
  // Genre 62 is "Pop/Funk".
  writeFile(mp3, taggedMp3("AC/DC\\a:b*c?d\"e\"<f>g|h", "..", 62, "\x01tab\there\x7F"));
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  TagInfoSettings s = tagSettings(1);
  TagInfo tag(&set, &s, XString(mp3), false, false);
  ASSERT_TRUE(tag.create());
  std::vector<std::string> names = listNames(rel.path);
  ASSERT_EQ(names.size(), 2u);
  // One marker in the release: what Windows forbids in a name and control
  // characters became '_', and an album of ".." counts as unknown.
  EXPECT_EQ(names[1], std::string("TAG AC_DC_a_b_c_d_e__f_g_h - unknown - 1999 - Pop_Funk - ") +
                          tag.info.bitrate.c_str() + " - MPEG 1 Layer III - " +
                          tag.info.sampleRate.c_str() + " - " + tag.info.modeText +
                          " - _tab_here_ - Rel");
  // The chmod command got the name as one word.
  EXPECT_EQ(box.chmodLog(),
            std::vector<std::string>{"777 bob grp " + joinPath(rel.path, names[1])});

  // A comment of "." or ".." is no comment; the dots of "..." stay.
  writeFile(joinPath(rel.path, "dots.mp3"), taggedMp3("...", ".", 1, ".."));
  TagInfo dots(&set, &s, XString(joinPath(rel.path, "dots.mp3")), false, false);
  dots.render();
  EXPECT_EQ(dots.markerPath,
            (joinPath(rel.path, "TAG ... - unknown - 1999 - Classic Rock - ") +
             dots.info.bitrate.c_str() + " - MPEG 1 Layer III - " + dots.info.sampleRate.c_str() +
             " - " + dots.info.modeText + " - no comment - Rel")
                .c_str());

  // Complete and merged: no prefix, the size and count of the present files.
  writeFile(joinPath(rel.path, "x.sfv"), "01.mp3 1\n");
  TagInfo merged(&set, &s, XString(mp3), false, true);
  s.merge = true;
  ASSERT_TRUE(merged.create());
  names = listNames(rel.path);
  EXPECT_EQ(names,
            (std::vector<std::string>{"01.mp3", "[COMPLETE] 0.00 in 1 using AC_DC_a_b_c_d_e__f_g_h",
                                      "dots.mp3", "x.sfv"}));  // the old TAG marker went
}

// Whichever file completes the release, or comes again after it, the
// completed tag is named from the release's first MP3: one marker is left.
TEST(TagInfoTest, CompletedTagIsTheRelease) {
  InstallSandbox box;
  Release rel(box);
  writeFile(joinPath(rel.path, "01.mp3"), taggedMp3("First", "A", 1));
  writeFile(joinPath(rel.path, "02.mp3"), taggedMp3("Second", "B", 2));
  writeFile(joinPath(rel.path, "x.sfv"), "01.mp3 1\n02.mp3 2\n");
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);
  TagInfoSettings s = tagSettings(2);
  s.merge = true;
  // Every hook names the one marker alike: made once, then there already.
  std::vector<bool> made;
  for (const char* file : {"02.mp3", "01.mp3", "02.mp3"}) {
    made.push_back(TagInfo(&set, &s, XString(joinPath(rel.path, file)), false, true).create());
  }
  EXPECT_EQ(made, (std::vector<bool>{true, false, false}));
  std::vector<std::string> names = listNames(rel.path);
  EXPECT_EQ(names, (std::vector<std::string>{"01.mp3", "02.mp3", "[COMPLETE] 0.01 in 2 using First",
                                             "x.sfv"}));
  // An SFV that completes its release names it from the release's MP3 too.
  TagInfo bySfv(&set, &s, XString(joinPath(rel.path, "x.sfv")), false, true);
  bySfv.render();
  EXPECT_EQ(bySfv.markerPath, joinPath(rel.path, "[COMPLETE] 0.01 in 2 using First").c_str());
}

TEST(TagInfoTest, ReplacesOnlyItsOwnMarker) {
  InstallSandbox box;
  Release rel(box);
  std::string mp3 = joinPath(rel.path, "01.mp3");
  writeFile(mp3, taggedMp3("A", "B", 1));
  DirSet set(XString(rel.path), &rel.chmod, &rel.user);

  // Two old markers: neither is removed.
  TagInfoSettings s = tagSettings(2);
  makeDirs(joinPath(rel.path, "TAG old one"));
  makeDirs(joinPath(rel.path, "TAG old two"));
  ASSERT_TRUE(TagInfo(&set, &s, XString(mp3), false, false).create());
  EXPECT_TRUE(isDir(joinPath(rel.path, "TAG old one")));
  EXPECT_TRUE(isDir(joinPath(rel.path, "TAG old two")));

  // An uploaded file whose name starts like a marker stays, in either mode.
  Release other(box, "Other");
  DirSet otherSet(XString(other.path), &other.chmod, &other.user);
  writeFile(joinPath(other.path, "TAGS.txt"), "the uploader's own file");
  TagInfoSettings files = tagSettings(1);
  ASSERT_TRUE(TagInfo(&otherSet, &files, XString(mp3), false, false).create());
  EXPECT_EQ(readFile(joinPath(other.path, "TAGS.txt")), "the uploader's own file");

  // A CD folder's tag stands in the release, named from the CD forms.
  Release cd(box, "Multi/CD2");
  DirSet cdSet(XString(cd.path), &cd.chmod, &cd.user);
  ASSERT_TRUE(TagInfo(&cdSet, &s, XString(mp3), true, false).create());
  EXPECT_TRUE(isDir(joinPath(box.site(), "Multi/CDTAG A in CD2")));
  // ... and the next one replaces it: exactly one old marker is there.
  writeFile(joinPath(cd.path, "02.mp3"), taggedMp3("Z", "B", 1));
  ASSERT_TRUE(TagInfo(&cdSet, &s, XString(joinPath(cd.path, "02.mp3")), true, false).create());
  EXPECT_FALSE(exists(joinPath(box.site(), "Multi/CDTAG A in CD2")));
  EXPECT_TRUE(isDir(joinPath(box.site(), "Multi/CDTAG Z in CD2")));

  // An unreadable file gives the texts of an unknown file.
  TagInfoSettings plain = tagSettings(1);
  plain.format = " %a|%B|%y|%c";
  plain.last = false;
  TagInfo missing(&set, &plain, XString(joinPath(rel.path, "none.mp3")), false, false);
  missing.render();
  EXPECT_EQ(missing.markerPath, joinPath(rel.path, "TAG unknown|n-a|n-a|no comment").c_str());
}

}  // namespace
