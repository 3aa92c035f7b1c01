#include "media/mp3_info.h"

#include <gtest/gtest.h>

#include <string>

#include "media/mp3_file.h"
#include "tests/mp3_test_bytes.h"
#include "tests/test_support.h"

namespace {

using mp3_test::id3v1;
using mp3_test::kMpeg1Layer3;
using mp3_test::word;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string fixture(const char* name) {
  return std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name;
}

struct Expected {
  const char* file;
  const char* sampleRate;
  const char* bitrate;  // null: a Xing average, checked against the oracle
  const char* versionText;
  const char* modeText;
  const char* artist;
  const char* album;
  const char* year;
  const char* comment;
  const char* genre;
};

// What make_fixtures.sh asked the encoder and the taggers for.
const Expected kFixtures[] = {
    {"mpeg1_cbr_joint.mp3", "44100", "128", "MPEG 1 Layer III", "Joint Stereo", "Test Artist",
     "Fixture Album", "1999", "made by lame", "Rock"},
    {"mpeg1_cbr_stereo.mp3", "48000", "160", "MPEG 1 Layer III", "Stereo", "Padded Artist", "Album",
     "2001", "a comment of thirty characters", "Synthpop"},
    {"mpeg1_vbr_mono.mp3", "32000", nullptr, "MPEG 1 Layer III", "Single Channel", "AC/DC",
     "Back In Black", "1980", "vbr", "Pop/Funk"},
    {"mpeg1_id3v2.mp3", "44100", "64", "MPEG 1 Layer III", "Single Channel", "Front Tagged",
     "Both Tags", "2004", "", "Jazz"},
    {"mpeg1_notag.mp3", "44100", "96", "MPEG 1 Layer III", "Stereo", "unknown", "unknown", "n-a",
     "no comment", "unknown"},
    {"mpeg2_cbr_mono.mp3", "22050", "32", "MPEG 2 Layer III", "Single Channel", "Second",
     "Version Two", "2010", "mpeg 2", "Electronic"},
    {"mpeg2_vbr_joint.mp3", "24000", nullptr, "MPEG 2 Layer III", "Joint Stereo", "VBR Two",
     "Joint", "2011", "xing", "Trance"},
    {"mpeg2_cbr_dual.mp3", "16000", "48", "MPEG 2 Layer III", "Dual Channel", "Two Voices",
     "Channels", "1975", "dual channel", "unknown"},
    {"mpeg25_cbr_stereo.mp3", "11025", "24", "MPEG 2.5 Layer III", "Stereo", "Low Rate",
     "Two Point Five", "1995", "eleven k", "Blues"},
    {"mpeg25_cbr_12k.mp3", "12000", "16", "MPEG 2.5 Layer III", "Single Channel", "Rate Twelve",
     "Album 12", "n-a", "", "Other"},
    {"mpeg25_vbr_mono.mp3", "8000", nullptr, "MPEG 2.5 Layer III", "Single Channel", "unknown",
     "unknown", "n-a", "no comment", "unknown"},
    {"layer2.mp3", "48000", "192", "MPEG 1 Layer II", "Stereo", "Layer Artist", "Layer Album",
     "1992", "layer two", "Classical"},
    {"layer1.mp3", "44100", "384", "MPEG 1 Layer I", "Joint Stereo", "Layer Artist", "Layer Album",
     "1991", "layer one", "Instrumental"},
};

void expectTexts(const Expected& e, const MP3Info& info) {
  SCOPED_TRACE(e.file);
  EXPECT_STREQ(e.sampleRate, info.sampleRate);
  if (e.bitrate != nullptr) {
    EXPECT_STREQ(e.bitrate, info.bitrate);
  }
  EXPECT_STREQ(e.versionText, info.versionText);
  EXPECT_STREQ(e.modeText, info.modeText);
  EXPECT_STREQ(e.artist, info.artist);
  EXPECT_STREQ(e.album, info.album);
  EXPECT_STREQ(e.year, info.year);
  EXPECT_STREQ(e.comment, info.comment);
  EXPECT_STREQ(e.genre, info.genre);
}

TEST(MP3Info, ReadsFixtures) {
  for (const Expected& e : kFixtures) {
    MP3Info info;
    info.read(fixture(e.file).c_str());
    expectTexts(e, info);
  }
  // The variable-bitrate fixtures carry a Xing frame count, the others not
  // (lame marks a constant bitrate with an "Info" frame).
  for (const Expected& e : kFixtures) {
    MP3File file;
    ASSERT_EQ(kMP3Read, file.open(fixture(e.file).c_str())) << e.file;
    EXPECT_EQ(e.bitrate == nullptr, file.hasXing == 1 && file.frameCount() > 0) << e.file;
  }
}

TEST(MP3Info, ReadsAgainIntoTheSameRecord) {
  MP3Info info;
  info.read(fixture("mpeg1_cbr_joint.mp3").c_str());
  info.read(fixture("mpeg1_notag.mp3").c_str());
  expectTexts(kFixtures[4], info);
  info.read(fixture("mpeg1_cbr_stereo.mp3").c_str());
  expectTexts(kFixtures[1], info);
}

TEST(MP3Info, ShowsUnknownForUnreadableFiles) {
  ScopedTempDir dir;
  writeFile(dir.at("noise.mp3"), std::string(5000, 'x') + id3v1("", "A", "B", "1999", "C", 1));
  for (std::string path : {dir.at("missing.mp3"), dir.at("noise.mp3"), std::string()}) {
    MP3Info info;
    info.read(path.c_str());
    SCOPED_TRACE(path);
    EXPECT_STREQ("unknown", info.versionText);
    EXPECT_STREQ("unknown", info.modeText);
    EXPECT_STREQ("unknown", info.genre);
    EXPECT_STREQ("unknown", info.album);
    EXPECT_STREQ("unknown", info.artist);
    EXPECT_STREQ("n-a", info.bitrate);
    EXPECT_STREQ("n-a", info.sampleRate);
    EXPECT_STREQ("n-a", info.year);
    EXPECT_STREQ("no comment", info.comment);
  }
}

// The reader gives the tag's texts as the tag has them, less their padding:
// making them safe is up to where they are used.
TEST(MP3Info, GivesTagTextsAsTheTagHasThem) {
  ScopedTempDir dir;
  auto read = [&](const std::string& tag) {
    writeFile(dir.at("t.mp3"), word(kMpeg1Layer3) + std::string(300, '\0') + tag);
    MP3Info info;
    info.read(dir.at("t.mp3").c_str());
    return info;
  };
  MP3Info odd = read(id3v1("", "a\\b/c:\"d\"", "\x01tab\there  ", "    ", "..", 62));
  EXPECT_STREQ("a\\b/c:\"d\"", odd.artist);
  EXPECT_STREQ("\x01tab\there", odd.album);
  EXPECT_STREQ("..", odd.comment);
  EXPECT_STREQ("n-a", odd.year);
  EXPECT_STREQ("Pop/Funk", odd.genre);

  // Bytes above 127 (Latin-1 names) stay; a 30-character text comes whole.
  MP3Info whole = read(id3v1("", "Bj\xF6rk", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "-5", "", 255));
  EXPECT_STREQ("Bj\xF6rk", whole.artist);
  EXPECT_STREQ("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", whole.album);
  EXPECT_STREQ("-5", whole.year);
  EXPECT_STREQ("", whole.comment);
  EXPECT_STREQ("unknown", whole.genre);
}

// Where a tag text becomes a name: reserved and control characters become
// '_'; a link's folder name also loses its trailing dots and blanks, and
// what is left empty is missing.
TEST(MP3Info, SafeTextsForNames) {
  EXPECT_STREQ("a_b_c__d_ e_f_g_h", markerSafeText("a\\b/c:\"d* e<f>g|h", "x"));
  EXPECT_STREQ("Pop_Funk", markerSafeText("Pop/Funk", "x"));
  EXPECT_STREQ("x", markerSafeText("..", "x"));
  EXPECT_STREQ("a. ", markerSafeText("a. ", "x"));
  EXPECT_STREQ("_tab_", markerSafeText("\x01tab\x7f", "x"));

  EXPECT_STREQ("Pop_Funk", linkSafeText("Pop/Funk", "unknown"));
  EXPECT_STREQ("_.._x", linkSafeText("/../x", "unknown"));
  EXPECT_STREQ("Bj\xF6rk", linkSafeText("Bj\xF6rk . .", "unknown"));
  EXPECT_STREQ(".hidden", linkSafeText(".hidden", "unknown"));
  for (const char* empty : {"", ".", "..", "...", " . ", "   "}) {
    EXPECT_STREQ("unknown", linkSafeText(empty, "unknown")) << "'" << empty << "'";
  }
  EXPECT_STREQ("_", linkSafeText("\n", "unknown"));
}

}  // namespace
