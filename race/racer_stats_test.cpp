#include <gtest/gtest.h>

#include <string>

#include "media/mp3_info.h"
#include "race/racer.h"
#include "tests/mp3_test_bytes.h"
#include "tests/test_support.h"

namespace {

using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::textBytes;
using testing_support::writeFile;

// Every text here is written in text mode: textBytes gives the bytes.

// Short templates that use every letter, so each text below is worked out by
// hand from the rules: sizes right-aligned in 9, counts in 2, percents in 3,
// speeds in 8 with two decimals, texts padded to their widths.
RacerSettings generalSettings() {
  RacerSettings s;
  s.gbody = "B|%u|%g|d=%d|D=%D|f=%f|k=%k|S=%S|N=%N|v=%v|p=%p|x=%x|%%\n";
  s.guser = "U %r %u %g %s %n %p %v";
  s.ggroup = "G %r %g %c %s %n %p %v";
  s.glunlen = 5;
  s.glgrlen = 4;
  s.gsortu = 1;  // by size
  s.gsortg = 0;  // by files
  return s;
}

struct TwoRacers {
  TwoRacers() : rel(temp.at("Rel")) {
    makeDirs(rel);
    writeFile(joinPath(rel, "a.mp3"), "a");
    writeFile(joinPath(rel, "b.mp3"), "b");
  }
  void race(Racer& r) const {
    r.addUpload(XString(joinPath(rel, "a.mp3")), XString("/Rel/a.mp3"), XString("bob"),
                XString("grp"), 2, 100.0f);
    r.addUpload(XString(joinPath(rel, "b.mp3")), XString("/Rel/b.mp3"), XString("eve"),
                XString("two"), 4, 50.5f);
  }
  ScopedTempDir temp;
  std::string rel;
};

// The lines are joined with CR LF, which a text file holds as one line end
// of the platform.
const char* kGeneralText =
    "B|U  1 eve   two       4 kb  1  67    50.50\n"
    "U  2 bob   grp       2 kb  1  33   100.00|"
    "G  1 grp   1      2 kb  1  33   100.00\n"
    "G  2 two   1      4 kb  1  67    50.50|"
    "d=/Rel/b.mp3|D=Rel|f=b.mp3|k=     4 kb|S=     6 kb|N= 2|v=   75.25|p=|x=|%\n";

TEST(RacerStatsTest, GeneralTextByHand) {
  TwoRacers fixture;
  RacerSettings settings = generalSettings();
  Racer race(&settings);
  fixture.race(race);
  // The reply first, as the upload hook writes it: "0" first, and "%%" stays
  // "%%" for the server.
  std::string reply = fixture.temp.at("ask-landfall.1");
  ASSERT_TRUE(race.writeStats(XString(reply), true));
  std::string expected = std::string("0\n") + kGeneralText;
  expected.replace(expected.size() - 2, 1, "%%");
  EXPECT_EQ(readFile(reply), textBytes(expected));

  // The second rendering sorts the sorted lists again: the two groups with
  // one file each swap places; the users, of different sizes, stay.
  std::string message = joinPath(fixture.rel, ".message");
  ASSERT_TRUE(race.writeStats(XString(message), false));
  std::string swapped = kGeneralText;
  std::string grp = "G  1 grp   1      2 kb  1  33   100.00";
  std::string two = "G  2 two   1      4 kb  1  67    50.50";
  std::string both = grp + "\n" + two;
  std::string reversed =
      "G  1 two   1      4 kb  1  67    50.50\nG  2 grp   1      2 kb  1  33   100.00";
  swapped.replace(swapped.find(both), both.size(), reversed);
  EXPECT_EQ(readFile(message), textBytes(swapped));
}

TEST(RacerStatsTest, WidthsAndCuts) {
  TwoRacers fixture;
  RacerSettings settings = generalSettings();
  settings.gbody = "%u|%d|%f";
  settings.guser = "[%u][%g]";
  settings.glunlen = 2;
  settings.glcutun = true;  // "eve" -> "ev"
  settings.glgrlen = 2;     // not cut: "two" stays whole
  settings.gbdplen = 4;
  settings.gbcutdp = true;
  settings.gbfnlen = 8;
  Racer race(&settings);
  fixture.race(race);
  std::string out = fixture.temp.at("m");
  ASSERT_TRUE(race.writeStats(XString(out), false));
  // The lines are joined with CR LF; the file holds one line end of the
  // platform.
  EXPECT_EQ(readFile(out), textBytes("[ev][two]\n[bo][grp]|/Rel|b.mp3   "));
}

TEST(RacerStatsTest, SfvTextBarAndPercents) {
  ScopedTempDir temp;
  RacerSettings settings;
  settings.sen = true;
  settings.sbody = "S %p [%b] %N/%m %S of %i|%u";
  settings.suser = "%u:%s:%n:%p";
  settings.sbarlen = 10;
  settings.sbarfull = "#";
  settings.sbarempty = ":";
  Racer race(&settings);
  race.mySfv = "/x/rel.sfv";
  race.sfvListedFiles = 3;
  race.sfvUploadedFiles = 2;
  race.sfvListedKb = 10;
  race.sfvUploadedKb = 6;
  RacerListEntry* ann = race.users.add(XString("ann"), XString("g"));
  ann->sfvKb = 6;
  ann->sfvFiles = 2;
  std::string out = temp.at("m");
  ASSERT_TRUE(race.writeStats(XString(out), false));
  EXPECT_EQ(readFile(out), "S  67 [######::::]  2/ 3      6 kb of     10 kb|ann:     6 kb: 2:100");

  // Percents are computed in 4-byte float arithmetic and rounded half up.
  settings.sbody = "%p";
  struct Case {
    unsigned int part, whole;
    const char* text;
  } cases[] = {{29, 200, " 15"}, {1, 8, " 13"}, {124, 1000, " 12"}, {0, 0, "  0"}, {5, 5, "100"}};
  for (const Case& c : cases) {
    race.sfvUploadedFiles = c.part;
    race.sfvListedFiles = c.whole;
    ASSERT_TRUE(race.writeStats(XString(out), false));
    EXPECT_EQ(readFile(out), c.text) << c.part << "/" << c.whole;
  }
  // Without sen the general text is used even when the SFV fixed the race.
  settings.sen = false;
  settings.gbody = "general";
  ASSERT_TRUE(race.writeStats(XString(out), false));
  EXPECT_EQ(readFile(out), "general");
}

TEST(RacerStatsTest, EmptyRaceAndFailures) {
  ScopedTempDir temp;
  RacerSettings settings;
  settings.gbody = "[%u][%g][%v]";
  Racer race(&settings);
  std::string out = temp.at("m");
  ASSERT_TRUE(race.writeStats(XString(out), false));
  EXPECT_EQ(readFile(out), "[][][    0.00]");

  RacerSettings empty;
  Racer blank(&empty);
  ASSERT_TRUE(blank.writeStats(XString(out), true));
  EXPECT_EQ(readFile(out), textBytes("0\n"));

  Racer none(nullptr);
  EXPECT_FALSE(none.writeStats(XString(out), false));
  EXPECT_FALSE(race.writeStats(XString(temp.at("missing/m")), false));
}

TEST(RacerStatsTest, Mp3BlockFollowsTheBody) {
  ScopedTempDir temp;
  std::string rel = temp.at("Rel");
  makeDirs(rel);
  std::string mp3 = joinPath(rel, "01-track.MP3");
  writeFile(mp3, readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/mpeg1_cbr_joint.mp3"));
  RacerSettings settings;
  settings.men = true;
  settings.gbody = "body|";
  settings.mbody = "B=%B|y=%y|f=%f|M=%M|a=%a|c=%c";
  settings.marlen = 3;
  settings.mcutar = true;
  settings.mcolen = 0;
  Racer race(&settings);
  race.addUpload(XString(mp3), XString("/Rel/01-track.MP3"), XString("u"), XString("g"), 1, 1);
  std::string out = temp.at("m");
  ASSERT_TRUE(race.writeStats(XString(out), false));

  MP3Info info;
  info.read(mp3.c_str());
  auto pad = [](std::string s, size_t n) {
    s.resize(std::max(s.size(), n), ' ');
    return s;
  };
  std::string expected = "body|B=" + pad(info.bitrate.str(), 3) + "|y=" + pad(info.year.str(), 4) +
                         "|f=" + pad(info.sampleRate.str(), 5) + "|M=" + pad(info.modeText, 12) +
                         "|a=" + std::string(info.artist).substr(0, 3) + "|c=" + info.comment;
  EXPECT_EQ(readFile(out), expected);
  EXPECT_NE(info.bitrate, "n-a");  // the fixture is a real MP3

  settings.men = false;
  ASSERT_TRUE(race.writeStats(XString(out), false));
  EXPECT_EQ(readFile(out), "body|");

  // The tag's texts as the tag has them, separators and quotes included;
  // only control bytes show as '?'.
  std::string tagged = joinPath(rel, "02.mp3");
  writeFile(tagged, mp3_test::word(mp3_test::kMpeg1Layer3) + std::string(300, '\0') +
                        mp3_test::id3v1("t", "AC/DC \"live\" a:b*?<>|\\", "\x01tab\there\x7F",
                                        "1980", "..", 62));
  settings.men = true;
  settings.mbody = "a=%a|A=%A|g=%g|c=%c|y=%y";
  settings.mcutar = false;
  race.addUpload(XString(tagged), XString("/Rel/02.mp3"), XString("u"), XString("g"), 1, 1);
  ASSERT_TRUE(race.writeStats(XString(out), false));
  EXPECT_EQ(readFile(out), "body|a=AC/DC \"live\" a:b*?<>|\\|A=?tab?here?|g=Pop/Funk|c=..|y=1980");
}

}  // namespace
