// Compares the reader with Debian's mp3info, an independent reader of the
// same header and tag fields, over the encoder-made fixtures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "media/mp3_file.h"
#include "media/mp3_info.h"
#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;

// mp3info cannot read Layer I and II, so only lame's files are compared.
const char* const kFixtures[] = {
    "mpeg1_cbr_joint.mp3",   "mpeg1_cbr_stereo.mp3", "mpeg1_vbr_mono.mp3",  "mpeg1_id3v2.mp3",
    "mpeg1_notag.mp3",       "mpeg2_cbr_mono.mp3",   "mpeg2_vbr_joint.mp3", "mpeg2_cbr_dual.mp3",
    "mpeg25_cbr_stereo.mp3", "mpeg25_cbr_12k.mp3",   "mpeg25_vbr_mono.mp3",
};

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::vector<std::string> splitTabs(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.push_back("");
  return fields;
}

const char* ourModeName(const std::string& oracleMode) {
  if (oracleMode == "stereo") return "Stereo";
  if (oracleMode == "joint stereo") return "Joint Stereo";
  if (oracleMode == "dual channel") return "Dual Channel";
  if (oracleMode == "mono") return "Single Channel";
  return "?";
}

TEST(MP3Oracle, AgreesWithMp3info) {
  const std::string mp3info = testing_support::onPath("mp3info");
  ASSERT_FALSE(mp3info.empty())
      << "mp3info is not on PATH: install Debian's mp3info package (scripts/test does)";
  ScopedTempDir dir;
  const std::string out = dir.at("out.txt");
  const std::string err = dir.at("err.txt");

  for (const char* name : kFixtures) {
    SCOPED_TRACE(name);
    const std::string path = std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name;
    // Average bitrates, so a variable bitrate is a number too.
    std::string command = quoted(mp3info) + " -r a -p " +
                          quoted("%Q\\t%v\\t%L\\t%o\\t%r\\t%a\\t%l\\t%y\\t%c\\t%G\\n") + " " +
                          quoted(path) + " > " + quoted(out) + " 2> " + quoted(err);
    // mp3info's exit code tells a missing tag; its output is what counts.
    ASSERT_NE(-1, std::system(command.c_str())) << command;
    std::vector<std::string> f = splitTabs(readFile(out));
    ASSERT_EQ(10u, f.size()) << readFile(out);
    const bool oracleHasTag = readFile(err).find("does not have an ID3") == std::string::npos;

    MP3File file;
    ASSERT_EQ(kMP3Read, file.open(path.c_str()));
    MP3Info info;
    info.read(path.c_str());

    EXPECT_EQ(f[0], info.sampleRate.str());
    char version[16];
    std::snprintf(version, sizeof version, "%g", std::atof(f[1].c_str()));
    EXPECT_EQ("MPEG " + std::string(version) + " Layer " + f[2], info.versionText);
    EXPECT_STREQ(ourModeName(f[3]), info.modeText);

    const double oracleRate = std::atof(f[4].c_str());
    const int ours = std::atoi(info.bitrate);
    if (file.hasXing && file.frameCount() > 0) {
      // Ours averages over the whole file, tag and Xing frame included;
      // mp3info over the audio frames. Close, and never half or a quarter.
      EXPECT_NEAR(oracleRate, ours, oracleRate * 0.1) << "variable bitrate";
    } else {
      EXPECT_EQ(oracleRate, ours) << "constant bitrate";
    }

    ASSERT_EQ(oracleHasTag, file.hasTag == 1);
    if (!oracleHasTag) continue;
    EXPECT_EQ(f[5], file.artist());
    EXPECT_EQ(f[6], file.album());
    EXPECT_EQ(std::atol(f[7].c_str()), file.tag.year());
    const std::string year = std::atol(f[7].c_str()) == 0 ? "n-a" : f[7];
    EXPECT_EQ(year, info.year.str());
    EXPECT_EQ(f[8], file.comment());
    EXPECT_EQ(std::atoi(f[9].c_str()), file.tag.genre());
  }
}

}  // namespace
