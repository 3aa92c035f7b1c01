// The server stand-in's own roads, played with the built hooks: the CRC
// check and its events, refusals, deletes, and many uploaders at once.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/site.h"

namespace e2e {
namespace {

using testing_support::readFile;

// A release folder and three local MP3 files with their SFV.
struct Release {
  explicit Release(Site& onSite) : site(onSite) {
    site.localCopy("mpeg1_cbr_joint.mp3", names[0]);
    site.localCopy("mpeg1_cbr_stereo.mp3", names[1]);
    site.localCopy("mpeg1_vbr_mono.mp3", names[2]);
    sfv = site.localSfv("rel.sfv", names);
    EXPECT_EQ(site.mkdir(folder, "bob", "grpa").exitCode, 0);
  }
  RunResult upload(int i) const { return site.upload(site.local(names[i]), folder, "bob", "grpa"); }

  Site& site;
  const std::string folder = "/Rel";
  std::vector<std::string> names = {"01-a.mp3", "02-b.mp3", "03-c.mp3"};
  std::string sfv;
};

TEST(Standin, SfvArrivingLastChecksWhatIsThereAndCompletesTheRelease) {
  Site site;
  Release rel(site);
  for (int i = 0; i < 3; ++i) {
    RunResult run = rel.upload(i);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.says("crc check: no sfv")) << run.output;
    EXPECT_FALSE(run.ran("tallyglad"));
  }
  EXPECT_TRUE(site.has("/Rel - SFV missing"));
  // One file is damaged before the SFV arrives, then uploaded again.
  testing_support::writeFile(site.physical("/Rel/02-b.mp3"), "damaged");
  RunResult run = site.upload(rel.sfv, rel.folder, "alice", "grpb");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.says("crc check of 01-a.mp3: passed")) << run.output;
  EXPECT_TRUE(run.says("crc check of 02-b.mp3: failed, kept as 02-b.mp3.bad"));
  EXPECT_TRUE(run.says("crc check of 03-c.mp3: passed"));
  EXPECT_FALSE(run.says("release complete"));
  EXPECT_FALSE(run.ran("tallyglad"));
  EXPECT_FALSE(site.has("/Rel/02-b.mp3"));
  EXPECT_TRUE(site.has("/Rel/02-b.mp3.bad"));
  EXPECT_FALSE(site.has("/Rel - SFV missing"));
  EXPECT_EQ(run.hookExit("tallysour"), 0);

  run = rel.upload(1);
  EXPECT_TRUE(run.says("crc check of 02-b.mp3: passed")) << run.output;
  EXPECT_TRUE(run.says("release complete"));

  // The SFV uploaded again over a whole release completes it with itself.
  run = site.upload(rel.sfv, rel.folder, "alice", "grpb");
  EXPECT_TRUE(run.says("release complete")) << run.output;
  EXPECT_EQ(run.hookExit("tallyfull"), 0);
  EXPECT_EQ(run.hookExit("landfall"), 0);
}

TEST(Standin, FailedCheckKeepsTheFileAsBad) {
  Site site;
  Release rel(site);
  ASSERT_EQ(site.upload(rel.sfv, rel.folder, "bob", "grpa").exitCode, 0);
  testing_support::writeFile(site.local("wrong.mp3"), readFile(site.local(rel.names[1])));
  RunResult run = site.upload(site.local("wrong.mp3"), rel.folder, "bob", "grpa", "01-A.MP3");
  EXPECT_EQ(run.exitCode, 0);
  // The SFV names it in another case; the name stays as uploaded.
  EXPECT_TRUE(run.says("crc check of 01-A.MP3: failed, kept as 01-A.MP3.bad")) << run.output;
  EXPECT_FALSE(run.ran("tallyglad"));
  EXPECT_FALSE(site.has("/Rel/01-A.MP3"));
  ASSERT_TRUE(site.has("/Rel/01-A.MP3.bad"));
  EXPECT_EQ(run.hookExit("tallysour"), 0);
  // The default module empties a bad file.
  EXPECT_EQ(readFile(site.physical("/Rel/01-A.MP3.bad")), "");
  EXPECT_EQ(run.hookExit("landfall"), 0);

  // An upload over an existing name in another case keeps the name on disk.
  run = site.upload(site.local(rel.names[0]), rel.folder, "bob", "grpa", "01-a.mp3");
  EXPECT_TRUE(run.says("crc check of 01-a.mp3: passed")) << run.output;
  run = site.upload(site.local(rel.names[0]), rel.folder, "bob", "grpa", "01-A.mp3");
  EXPECT_TRUE(run.says("stored 01-a.mp3 (5978 bytes)")) << run.output;
  EXPECT_FALSE(contains(site.list("/Rel"), "01-A.mp3"));
}

TEST(Standin, RefusalsStoreNothing) {
  Site site;
  Release rel(site);
  // The global deny list refuses through landguard.
  ASSERT_TRUE(site.registered("landguard"));
  {
    RunResult run =
        site.upload(site.local(rel.names[0]), rel.folder, "bob", "grpa", "01-incomplete.mp3");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.reply("landguard"),
              (std::vector<std::string>{
                  "0", "upload denied: filenames matching \"*incomplete*\" not allowed."}));
    EXPECT_TRUE(run.says("refused: nothing stored"));
    EXPECT_FALSE(run.ran("landfall"));
    EXPECT_FALSE(site.has("/Rel/01-incomplete.mp3"));

    // A module switch changed through the settings library takes effect.
    site.editModule([](MConfig& config) { config.sfv_force = true; });
    run = rel.upload(0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.reply("landguard"),
              (std::vector<std::string>{"0", "upload denied: the SFV must be uploaded first."}));
    EXPECT_FALSE(site.has("/Rel/01-a.mp3"));
  }
  // Values the server could not pass are refused before anything runs.
  for (const std::string& bad : {std::string("a??-??b"), std::string("a\nb")}) {
    RunResult run = site.upload(site.local(rel.names[0]), rel.folder, bad, "grpa");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "");
    run = site.upload(site.local(rel.names[0]), rel.folder, "bob", "grpa", "x" + bad + ".mp3");
    EXPECT_EQ(run.exitCode, 2);
  }
  EXPECT_EQ(site.upload(site.local(rel.names[0]), "/NoSuchFolder", "bob", "grpa").exitCode, 3);
  EXPECT_EQ(site.upload(site.local(rel.names[0]), "/Rel/../..", "bob", "grpa").exitCode, 2);
  EXPECT_EQ(site.list("/Rel"), std::vector<std::string>{});
  EXPECT_EQ(site.mkdir("/Rel", "bob", "grpa").exitCode, 3);
  EXPECT_EQ(site.mkdir("/No/Parent", "bob", "grpa").exitCode, 3);
}

TEST(Standin, DeleteStartsSweepguardFirst) {
  Site site;
  ASSERT_TRUE(site.registered("sweepguard"));
  Release rel(site);
  ASSERT_EQ(site.upload(rel.sfv, rel.folder, "bob", "grpa").exitCode, 0);
  ASSERT_EQ(rel.upload(0).exitCode, 0);
  ASSERT_TRUE(site.has("/Rel/02-b.mp3-missing"));
  RunResult run = site.remove("/Rel/rel.sfv", "bob", "grpa");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.hookExit("sweepguard"), 0);
  EXPECT_TRUE(run.says("deleted /Rel/rel.sfv"));
  // sweepguard read the SFV before it went: its markers are gone too.
  std::vector<std::string> names = site.list("/Rel");
  EXPECT_FALSE(contains(names, "rel.sfv"));
  EXPECT_FALSE(contains(names, "02-b.mp3-missing"));
  EXPECT_FALSE(contains(names, "03-c.mp3-missing"));
  EXPECT_TRUE(site.namesStartingWith("/Rel", "[").empty());
  EXPECT_EQ(site.remove("/Rel/rel.sfv", "bob", "grpa").exitCode, 3);
}

// The stand-in's record of a release's check, "listed passed"; empty when
// there is not exactly one.
std::string checkRecord(const Site& site) {
  const std::string folder = site.folder() + "/server/checks";
  std::vector<std::string> records = testing_support::listNames(folder);
  if (records.size() != 1) return "";
  std::vector<std::string> lines = testing_support::lines(readFile(folder + "/" + records[0]));
  return lines.empty() ? "" : lines.back();
}

// What the hooks' progress bar counts, "N of M"; empty without one bar.
std::string barCount(const Site& site, const std::string& release) {
  std::vector<std::string> bars = site.progressBars(release);
  if (bars.size() != 1) return "";
  std::string::size_type end = bars[0].rfind(" files uploaded");
  std::string::size_type start = bars[0].rfind(" - ", end);
  return bars[0].substr(start + 3, end - start - 3);
}

// The stand-in reads an SFV as the hooks do. Lines with a TAB before the
// checksum are entries the hooks read as empty names, never present: the
// release is complete for neither. An SFV that lists its own name is there
// for both, and is never checked against itself.
TEST(Standin, SfvsCountTheLinesTheHooksCount) {
  Site site;
  ASSERT_TRUE(site.registered("tallysour") && site.registered("tallyfull"));
  const std::vector<std::string> names = {"01-a.mp3", "02-b.mp3", "03-c.mp3", "04-d.mp3"};
  const char* const fixtures[] = {"mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3",
                                  "mpeg1_vbr_mono.mp3", "mpeg1_notag.mp3"};
  for (size_t i = 0; i < names.size(); ++i) site.localCopy(fixtures[i], names[i]);
  const std::string listing = readFile(site.localSfv("tabs.sfv", names));
  std::string tabbed = listing;
  for (const std::string& name : {names[2], names[3]}) {
    std::string::size_type at = tabbed.find("\n" + name + " ");
    ASSERT_NE(at, std::string::npos) << tabbed;
    tabbed[at + 1 + name.size()] = '\t';
  }
  testing_support::writeFile(site.local("tabs.sfv"), tabbed);
  ASSERT_EQ(site.mkdir("/Tabs", "bob", "grpa").exitCode, 0);
  ASSERT_EQ(site.upload(site.local("tabs.sfv"), "/Tabs", "bob", "grpa").exitCode, 0);
  EXPECT_EQ(checkRecord(site), "4 0");
  for (size_t i = 0; i < names.size(); ++i) {
    RunResult run = site.upload(site.local(names[i]), "/Tabs", "bob", "grpa");
    SCOPED_TRACE(run.output);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.says("release complete"));
    EXPECT_FALSE(run.ran("tallyfull"));
    EXPECT_EQ(run.says("crc check of " + names[i] + ": passed"), i < 2);
    // Both count every line and the same files in.
    const std::string in = std::to_string(i < 2 ? i + 1 : 2);
    EXPECT_EQ(checkRecord(site), "4 " + in);
    EXPECT_EQ(barCount(site, "/Tabs"), in + " of 4");
  }

  // The files first, then an SFV that lists them and itself, with a
  // checksum that its own bytes cannot have.
  ASSERT_EQ(site.mkdir("/Self", "bob", "grpa").exitCode, 0);
  for (size_t i = 0; i < 2; ++i) {
    ASSERT_EQ(site.upload(site.local(names[i]), "/Self", "bob", "grpa").exitCode, 0);
  }
  std::string::size_type third = listing.find("\n" + names[2] + " ");
  ASSERT_NE(third, std::string::npos);
  testing_support::writeFile(site.local("self.sfv"),
                             listing.substr(0, third + 1) + "SELF.SFV 00000000\n");
  RunResult run = site.upload(site.local("self.sfv"), "/Self", "alice", "grpb");
  SCOPED_TRACE(run.output);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.says("crc check of 01-a.mp3: passed"));
  EXPECT_TRUE(run.says("crc check of 02-b.mp3: passed"));
  EXPECT_EQ(run.output.find("crc check of self.sfv"), std::string::npos);
  EXPECT_FALSE(run.ran("tallysour"));
  EXPECT_TRUE(run.says("release complete"));
  EXPECT_EQ(run.hookExit("tallyfull"), 0);
  EXPECT_TRUE(site.has("/Self/self.sfv"));
  EXPECT_FALSE(site.has("/Self/self.sfv.bad"));
  // The hooks see the same whole release.
  EXPECT_EQ(site.staleMarkers("/Self"), std::vector<std::string>{});
  EXPECT_EQ(site.completedMarkers("/Self").size(), 1u);
}

// A name as long as a file system takes is stored, over an older copy too:
// the stand-in's temporary name does not grow with it, and none is left.
TEST(Standin, LongNamesAreStored) {
  Site site;
  const std::string name = std::string(246, 'n') + ".mp3";
  ASSERT_EQ(name.size(), 250u);
  site.localCopy("mpeg1_cbr_joint.mp3", name);
  const std::string sfv = site.localSfv("long.sfv", {name});
  ASSERT_EQ(site.mkdir("/Long", "bob", "grpa").exitCode, 0);
  ASSERT_EQ(site.upload(sfv, "/Long", "bob", "grpa").exitCode, 0);
  for (int round = 0; round < 2; ++round) {
    RunResult run = site.upload(site.local(name), "/Long", "bob", "grpa");
    SCOPED_TRACE(run.output);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.says("stored " + name + " (5978 bytes)"));
    EXPECT_TRUE(run.says("crc check of " + name + ": passed"));
    EXPECT_EQ(run.says("release complete"), round == 0);
    EXPECT_EQ(run.hookExit("landfall"), 0);
  }
  EXPECT_EQ(readFile(site.physical("/Long/" + name)), readFile(site.local(name)));
  EXPECT_TRUE(site.namesStartingWith("/Long", ".ftpd-").empty());
}

// Eight uploaders finish one release at once: every upload is stored and
// checked, and exactly one of them completes the release.
TEST(Standin, ConcurrentUploadersCompleteTheReleaseOnce) {
  Site site;
  constexpr int kFiles = 8;
  std::vector<std::string> names;
  for (int i = 0; i < kFiles; ++i) {
    names.push_back("0" + std::to_string(i + 1) + "-track.mp3");
    site.localCopy(i % 2 ? "mpeg1_cbr_stereo.mp3" : "mpeg1_cbr_joint.mp3", names.back());
  }
  std::string sfv = site.localSfv("race.sfv", names);
  ASSERT_EQ(site.mkdir("/Race", "u0", "g0").exitCode, 0);
  ASSERT_EQ(site.upload(sfv, "/Race", "u0", "g0").exitCode, 0);

  std::vector<RunResult> runs(kFiles);
  std::vector<std::thread> uploaders;
  for (int i = 0; i < kFiles; ++i) {
    uploaders.emplace_back([&, i] {
      runs[i] = site.upload(site.local(names[i]), "/Race", "u" + std::to_string(i % 3),
                            "g" + std::to_string(i % 2));
    });
  }
  for (std::thread& t : uploaders) t.join();

  int completions = 0;
  for (int i = 0; i < kFiles; ++i) {
    EXPECT_EQ(runs[i].exitCode, 0) << runs[i].output << runs[i].errors;
    EXPECT_TRUE(runs[i].says("crc check of " + names[i] + ": passed")) << runs[i].output;
    EXPECT_EQ(runs[i].hookExit("landfall"), 0);
    if (runs[i].says("release complete")) ++completions;
  }
  EXPECT_EQ(completions, 1);
  std::vector<std::string> inRelease = site.list("/Race");
  for (const std::string& name : names) {
    EXPECT_TRUE(contains(inRelease, name));
    EXPECT_FALSE(contains(inRelease, name + ".bad"));
  }
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
}

}  // namespace
}  // namespace e2e
