// The link builder on a site of the server stand-in: releases of real MP3
// files made by lame and tagged by id3v2, switched on through the
// stand-in's "set", linked by the built program with its busy window on
// Qt's screenless platform and again with no display at all, and turned
// away while another run holds its lock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/lock.h"
#include "tests/e2e/site.h"

namespace e2e {
namespace {

using testing_support::exists;
using testing_support::lines;
using testing_support::onPath;
using testing_support::readFile;
using testing_support::writeFile;

// A tenth of a second of mono 16-bit silence at 44.1 kHz.
std::string wavBytes() {
  auto u32 = [](uint32_t v) {
    std::string s(4, 0);
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
  };
  auto u16 = [](uint16_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
  };
  const std::string samples(2 * 4410, '\0');
  return "RIFF" + u32(36 + static_cast<uint32_t>(samples.size())) + "WAVEfmt " + u32(16) + u16(1) +
         u16(1) + u32(44100) + u32(88200) + u16(2) + u16(16) + "data" +
         u32(static_cast<uint32_t>(samples.size())) + samples;
}

// An MP3 file in the scratch folder: lame's encoding of silence, tagged by
// id3v2 with an ID3v1 and an ID3v2 tag.
std::string makeMP3(const Site& site, const std::string& name, const std::string& artist,
                    const std::string& genre, const std::string& year) {
  const std::string lame = onPath("lame");
  const std::string id3v2 = onPath("id3v2");
  EXPECT_FALSE(lame.empty() || id3v2.empty()) << "lame and id3v2 are needed (scripts/packages.sh)";
  const std::string wav = site.local(name + ".wav");
  const std::string mp3 = site.local(name);
  writeFile(wav, wavBytes());
  RunResult encoded = runProgram({lame, "--quiet", "-b", "32", wav, mp3});
  EXPECT_EQ(encoded.exitCode, 0) << encoded.errors;
  RunResult tagged = runProgram({id3v2, "-a", artist, "-g", genre, "-y", year, "-t", "Track", mp3});
  EXPECT_EQ(tagged.exitCode, 0) << tagged.errors;
  return mp3;
}

// Sets or clears an environment variable for the programs started next.
void setEnv(const char* name, const char* value) {
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

class SavedDisplay {
 public:
  SavedDisplay() {
    for (int i = 0; i < 3; ++i) {
      const char* value = std::getenv(kNames[i]);
      had_[i] = value != nullptr;
      if (had_[i]) values_[i] = value;
    }
  }
  ~SavedDisplay() {
    for (int i = 0; i < 3; ++i) setEnv(kNames[i], had_[i] ? values_[i].c_str() : nullptr);
  }
  // Only Qt's screenless platform, or no display at all.
  void offscreen() const {
    setEnv("QT_QPA_PLATFORM", "offscreen");
    setEnv("DISPLAY", nullptr);
    setEnv("WAYLAND_DISPLAY", nullptr);
  }
  void none() const {
    for (const char* name : kNames) setEnv(name, nullptr);
  }

 private:
  static constexpr const char* kNames[3] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  bool had_[3] = {};
  std::string values_[3];
};

TEST(LinkBuilder, LinksRacedReleasesWithAndWithoutADisplay) {
  Site site;
  const std::string tunelacer = site.install() + "/tunelacer";
  ASSERT_TRUE(exists(tunelacer)) << site.initResult().output;
  const std::string rock = makeMP3(site, "01-band-dawn.mp3", "AC/DC", "17", "2004");
  const std::string funk = makeMP3(site, "01-crew-groove.mp3", "..", "62", "1999");

  ASSERT_EQ(site.mkdir("/Band-First_Light-2004", "alice", "Couriers").exitCode, 0);
  ASSERT_EQ(site.upload(rock, "/Band-First_Light-2004", "alice", "Couriers").exitCode, 0);
  ASSERT_EQ(site.mkdir("/Crew-Groove-GRP", "bob", "Racers").exitCode, 0);
  ASSERT_EQ(site.mkdir("/Crew-Groove-GRP/CD1", "bob", "Racers").exitCode, 0);
  ASSERT_EQ(site.upload(funk, "/Crew-Groove-GRP/CD1", "bob", "Racers").exitCode, 0);

  // Off as a new site has it: nothing happens.
  const std::string vfs = site.folder() + "/server/raidenftpd.vfs";
  const std::string before = readFile(vfs);
  EXPECT_EQ(runProgram({tunelacer}).exitCode, 2);
  EXPECT_EQ(readFile(vfs), before);

  RunResult set =
      site.set({"link_en=1", "link_artisten=1", "link_genreen=1", "link_groupen=1", "link_yearen=1",
                "link_dirnameen=1", "link_allinoneen=1", "link_listp=1", "link_show=1"});
  ASSERT_EQ(set.exitCode, 0) << set.errors;
  EXPECT_EQ(site.set({"link_en=2"}).exitCode, 2);

  SavedDisplay display;
  display.offscreen();
  RunResult shown = runProgram({tunelacer});
  ASSERT_EQ(shown.exitCode, 0) << shown.output << shown.errors;
  const std::string log = readFile(site.data() + "/tunelacer.log");
  const std::string linked = readFile(vfs);

  // A link shows the release's files; the tag's '/' made no level and its
  // ".." went nowhere.
  const std::vector<std::string> release = site.list("/Band-First_Light-2004");
  EXPECT_TRUE(contains(release, "01-band-dawn.mp3"));
  EXPECT_EQ(site.list("/links/artist/AC_DC/Band-First_Light-2004"), release);
  const std::vector<std::string> cd = site.list("/Crew-Groove-GRP/CD1");
  EXPECT_TRUE(contains(cd, "01-crew-groove.mp3"));
  EXPECT_EQ(site.list("/links/genre/Pop_Funk/CD1"), cd);
  EXPECT_EQ(site.physical("/links/group/2004/Band-First_Light-2004"),
            site.physical("/Band-First_Light-2004"));
  EXPECT_EQ(site.physical("/links/allinone/CD1"), site.physical("/Crew-Groove-GRP/CD1"));
  EXPECT_TRUE(exists(site.folder() + "/links/year/1999/CD1"));
  EXPECT_FALSE(exists(site.folder() + "/links/artist/AC"));
  EXPECT_NE(log.find("|  |--artist: unknown\n|  |  skipping (makeunknown = false)\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("|  |--group: 2004\n|  |  link: /links/group/2004/Band-First_Light-2004/\n"),
            std::string::npos);
  // Two fixed entries, six links of the release and four of the CD.
  EXPECT_EQ(lines(linked).size(), 2u + 6u + 4u);

  // With no display the run goes on alone, to the same end.
  display.none();
  RunResult alone = runProgram({tunelacer});
  ASSERT_EQ(alone.exitCode, 0) << alone.errors;
  EXPECT_EQ(readFile(vfs), linked);
  EXPECT_EQ(readFile(site.data() + "/tunelacer.log"), log + log);

  // While another run holds the link builder's lock, a run touches nothing.
  {
    platform::RunLock running((site.data() + "/tunelacer.lock").c_str());
    ASSERT_TRUE(running.held());
    writeFile(vfs, before);
    EXPECT_EQ(runProgram({tunelacer}).exitCode, 6);
    EXPECT_EQ(readFile(vfs), before);
    EXPECT_EQ(readFile(site.data() + "/tunelacer.log"), log + log);
  }
  EXPECT_EQ(runProgram({tunelacer}).exitCode, 0);
  EXPECT_EQ(readFile(vfs), linked);
}

}  // namespace
}  // namespace e2e
