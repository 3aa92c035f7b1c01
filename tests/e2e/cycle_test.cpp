// The whole upload cycle through the server stand-in with real MP3 files and
// SFVs made by cksfv: releases completed by their last file or by their SFV,
// failed checks, every pre-upload rule, the SFV's delete, the move of a
// completed release and its playlist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/site.h"

namespace e2e {
namespace {

using testing_support::readFile;
using testing_support::writeFile;

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

const char* const kFixtures[] = {"mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3",
                                 "mpeg1_vbr_mono.mp3", "mpeg1_id3v2.mp3", "mpeg1_notag.mp3"};

struct Upload {
  std::string name;
  std::string user;
  std::string group;
};

// A release of real MP3 files in the scratch folder with its SFV, and the
// release folder on the site.
struct Release {
  Release(Site& onSite, const std::string& releaseFolder, const std::vector<Upload>& files,
          const std::string& sfvFileName = "release.sfv")
      : site(onSite), folder(releaseFolder), uploads(files), sfvName(sfvFileName) {
    std::vector<std::string> names;
    for (size_t i = 0; i < uploads.size(); ++i) {
      site.localCopy(kFixtures[i % 5], uploads[i].name);
      names.push_back(uploads[i].name);
    }
    sfv = site.localSfv(sfvName, names);
    EXPECT_EQ(site.mkdir(folder, uploads[0].user, uploads[0].group).exitCode, 0);
  }
  RunResult upload(size_t i) const {
    return site.upload(site.local(uploads[i].name), folder, uploads[i].user, uploads[i].group);
  }
  RunResult uploadSfv(const std::string& user = "bob", const std::string& group = "grpa") const {
    return site.upload(sfv, folder, user, group);
  }

  Site& site;
  std::string folder;
  std::vector<Upload> uploads;
  std::string sfvName;
  std::string sfv;
};

// What a finished race shows: every file of the SFV in, each racer and
// group with its files.
void expectFinishedRace(const RaceText& race, const std::string& lastFile, int files,
                        const std::map<std::string, int>& users,
                        const std::map<std::string, int>& groups) {
  EXPECT_TRUE(race.found);
  EXPECT_EQ(race.file, lastFile);
  EXPECT_EQ(race.uploaded, files);
  EXPECT_EQ(race.listed, files);
  EXPECT_EQ(race.userFiles, users);
  EXPECT_EQ(race.groupFiles, groups);
  EXPECT_EQ(race.sumUserFiles(), files);
  EXPECT_EQ(race.sumGroupFiles(), files);
}

TEST(Cycle, ReleaseCompletedByItsLastMp3) {
  Site site;
  ASSERT_TRUE(site.registered("tallyglad"));
  ASSERT_TRUE(site.registered("tallyfull"));
  Release rel(site, "/Band-Album-2024",
              {{"01-band-one.mp3", "bob", "grpa"},
               {"02-band-two.mp3", "alice", "grpb"},
               {"03-band-three.mp3", "carol", "grpa"},
               {"04-band-four.mp3", "alice", "grpb"}});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  EXPECT_TRUE(site.has("/Band-Album-2024 - SFV incomplete"));
  int tallyfullRuns = 0;
  RunResult last;
  for (size_t i = 0; i < rel.uploads.size(); ++i) {
    last = rel.upload(i);
    ASSERT_EQ(last.exitCode, 0) << last.output << last.errors;
    EXPECT_EQ(last.hookExit("tallyglad"), 0) << last.output;
    if (last.ran("tallyfull")) ++tallyfullRuns;
    if (i + 1 < rel.uploads.size()) {
      EXPECT_FALSE(site.staleMarkers(rel.folder).empty());
    }
  }
  SCOPED_TRACE(last.output);
  EXPECT_EQ(tallyfullRuns, 1);
  EXPECT_EQ(last.hookExit("tallyfull"), 0);
  EXPECT_TRUE(last.says("release complete"));

  // Only the markers of a complete release: the merged completed tag.
  EXPECT_EQ(site.staleMarkers(rel.folder), std::vector<std::string>{});
  std::vector<std::string> completed = site.completedMarkers(rel.folder);
  ASSERT_EQ(completed.size(), 1u);
  EXPECT_NE(completed[0].find(" in 4 files using "), std::string::npos) << completed[0];
  EXPECT_EQ(site.racerBytes(rel.folder), "");

  // The completing upload's reply and the last ".message" show the whole race.
  const std::map<std::string, int> users = {{"alice", 2}, {"bob", 1}, {"carol", 1}};
  const std::map<std::string, int> groups = {{"grpa", 2}, {"grpb", 2}};
  std::vector<std::string> reply = last.reply("landfall");
  ASSERT_FALSE(reply.empty());
  EXPECT_EQ(reply[0], "0");
  expectFinishedRace(parseRaceText(reply), "04-band-four.mp3", 4, users, groups);
  expectFinishedRace(parseRaceText(site.message(rel.folder)), "04-band-four.mp3", 4, users, groups);

  // The memo names the completing file.
  std::vector<MemoSlot> memo = site.memo();
  ASSERT_EQ(memo.size(), 5u);
  const std::string completing = site.physical(rel.folder + "/04-band-four.mp3");
  for (int slot : {0, 3, 4}) EXPECT_EQ(memo[slot].path, completing) << slot;
  EXPECT_FALSE(memo[0].flag);
  EXPECT_FALSE(memo[3].flag);
  EXPECT_TRUE(memo[4].flag);
}

TEST(Cycle, ReleaseCompletedByItsSfvArrivingLast) {
  Site site;
  ASSERT_TRUE(site.registered("tallyfull"));
  Release rel(site, "/Late-Sfv-2024",
              {{"01-late.mp3", "bob", "grpa"},
               {"02-late.mp3", "alice", "grpb"},
               {"03-late.mp3", "bob", "grpa"}});
  for (size_t i = 0; i < rel.uploads.size(); ++i) {
    RunResult run = rel.upload(i);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.says("crc check: no sfv")) << run.output;
    EXPECT_TRUE(site.has("/Late-Sfv-2024 - SFV missing"));
  }
  std::unique_ptr<Racer> racer = site.racer(rel.folder);
  ASSERT_NE(racer, nullptr);
  EXPECT_EQ(racer->allFiles, 3u);

  RunResult run = rel.uploadSfv("carol", "grpc");
  SCOPED_TRACE(run.output);
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.says("release complete"));
  EXPECT_EQ(run.hookExit("tallyfull"), 0);
  EXPECT_FALSE(run.ran("tallyglad"));
  EXPECT_EQ(site.staleMarkers(rel.folder), std::vector<std::string>{});
  EXPECT_EQ(site.completedMarkers(rel.folder).size(), 1u);
  EXPECT_EQ(site.racerBytes(rel.folder), "");
  // The SFV's own uploader takes part with no file.
  RaceText race = parseRaceText(run.reply("landfall"));
  expectFinishedRace(race, "release.sfv", 3, {{"alice", 1}, {"bob", 2}, {"carol", 0}},
                     {{"grpa", 2}, {"grpb", 1}, {"grpc", 0}});
  EXPECT_EQ(parseRaceText(site.message(rel.folder)).uploaded, 3);
  std::vector<MemoSlot> memo = site.memo();
  ASSERT_EQ(memo.size(), 5u);
  EXPECT_EQ(memo[0].path, site.physical(rel.folder + "/release.sfv"));
}

TEST(Cycle, FailedCheckKeepsTheBadFileAndTheMarkers) {
  Site site;
  ASSERT_TRUE(site.registered("tallysour"));
  Release rel(site, "/Bad-Copy-2024",
              {{"01-good.mp3", "bob", "grpa"},
               {"02-damaged.mp3", "bob", "grpa"},
               {"03-later.mp3", "bob", "grpa"}});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  ASSERT_EQ(rel.upload(0).exitCode, 0);
  // A copy with one byte changed in its audio.
  std::string bytes = readFile(site.local("02-damaged.mp3"));
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5a);
  writeFile(site.local("damaged-copy.mp3"), bytes);

  RunResult run =
      site.upload(site.local("damaged-copy.mp3"), rel.folder, "bob", "grpa", "02-damaged.mp3");
  SCOPED_TRACE(run.output);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.says("crc check of 02-damaged.mp3: failed, kept as 02-damaged.mp3.bad"));
  EXPECT_EQ(run.hookExit("tallysour"), 0);
  EXPECT_FALSE(run.ran("tallyglad"));
  EXPECT_FALSE(run.ran("tallyfull"));
  EXPECT_EQ(run.hookExit("landfall"), 0);
  std::vector<std::string> inRelease = site.list(rel.folder);
  EXPECT_FALSE(contains(inRelease, "02-damaged.mp3"));
  ASSERT_TRUE(contains(inRelease, "02-damaged.mp3.bad"));
  EXPECT_EQ(readFile(site.physical(rel.folder + "/02-damaged.mp3.bad")), "");  // emptied
  // The markers stay as they were: the file is still missing.
  EXPECT_TRUE(contains(inRelease, "02-damaged.mp3-missing"));
  EXPECT_TRUE(contains(inRelease, "03-later.mp3-missing"));
  EXPECT_EQ(site.progressBars(rel.folder),
            std::vector<std::string>{"[%%%--------------] - 033% - 1 of 3 files uploaded"});
  EXPECT_TRUE(site.has("/Bad-Copy-2024 - SFV incomplete"));
  EXPECT_FALSE(site.has("/Bad-Copy-2024 - SFV missing"));
  std::vector<MemoSlot> memo = site.memo();
  ASSERT_EQ(memo.size(), 5u);
  EXPECT_EQ(memo[1].path, site.physical(rel.folder + "/02-damaged.mp3"));
  EXPECT_FALSE(memo[1].flag);

  // The good file uploaded again passes and moves the race on.
  run = rel.upload(1);
  EXPECT_TRUE(run.says("crc check of 02-damaged.mp3: passed")) << run.output;
  EXPECT_FALSE(contains(site.list(rel.folder), "02-damaged.mp3-missing"));
  EXPECT_EQ(site.progressBars(rel.folder).size(), 1u);
  run = rel.upload(2);
  EXPECT_TRUE(run.says("release complete")) << run.output;
  EXPECT_EQ(site.staleMarkers(rel.folder), std::vector<std::string>{});
}

TEST(Cycle, EachPreUploadRuleRefusesWithItsReason) {
  Site site;
  ASSERT_TRUE(site.registered("landguard"));
  Release rel(site, "/Rules", {{"01-rule.mp3", "bob", "grpa"}, {"02-rule.mp3", "bob", "grpa"}});
  auto expectRefused = [&](const RunResult& run, const std::string& name,
                           const std::vector<std::string>& reply) {
    SCOPED_TRACE(name + "\n" + run.output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.reply("landguard"), reply);
    EXPECT_TRUE(run.says("refused: nothing stored"));
    EXPECT_FALSE(run.ran("landfall"));
    EXPECT_FALSE(contains(site.list(rel.folder), name));
  };
  const std::string mp3 = site.local("01-rule.mp3");

  // The global deny list, whatever the module says.
  expectRefused(site.upload(mp3, rel.folder, "bob", "grpa", "01-rule-incomplete.mp3"),
                "01-rule-incomplete.mp3",
                {"0", "upload denied: filenames matching \"*incomplete*\" not allowed."});

  // The SFV first: other files are refused, the SFV and exempt names are not.
  site.editModule([](MConfig& c) { c.sfv_force = true; });
  expectRefused(rel.upload(0), "01-rule.mp3",
                {"0", "upload denied: the SFV must be uploaded first."});
  writeFile(site.local("release.nfo"), "about the release\n");
  RunResult run = site.upload(site.local("release.nfo"), rel.folder, "bob", "grpa");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.reply("landguard"), std::vector<std::string>{"1"});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  EXPECT_EQ(rel.upload(0).exitCode, 0);

  // One SFV per folder; the extension in capitals counts.
  site.editModule([](MConfig& c) { c.sfv_oneonly = true; });
  expectRefused(site.upload(rel.sfv, rel.folder, "bob", "grpa", "second.SFV"), "second.SFV",
                {"0", "upload denied: Only one SFV allowed per folder."});

  // Only files the SFV lists; the name is compared ignoring case.
  site.editModule([](MConfig& c) { c.sfv_insfv = true; });
  expectRefused(site.upload(mp3, rel.folder, "bob", "grpa", "99-not-listed.mp3"),
                "99-not-listed.mp3", {"0", "upload denied: Uploaded files must be in the SFV."});
  run = site.upload(site.local("02-rule.mp3"), rel.folder, "alice", "grpb", "02-RULE.MP3");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(run.says("crc check of 02-RULE.MP3: passed")) << run.output;

  // No uploaded playlists; with the SFV rules too, every reason is named,
  // the last rule's first.
  site.editModule([](MConfig& c) {
    c.m3u_deny = true;
    c.sfv_filelist.clear();
  });
  writeFile(site.local("list.m3u"), "01-rule.mp3\n");
  expectRefused(
      site.upload(site.local("list.m3u"), rel.folder, "bob", "grpa"), "list.m3u",
      {"0", "upload denied due to the following reasons:",
       "   - The playlist is created automatically.", "   - Uploaded files must be in the SFV."});
  ASSERT_EQ(site.mkdir("/Empty", "bob", "grpa").exitCode, 0);
  run = site.upload(site.local("list.m3u"), "/Empty", "bob", "grpa");
  expectRefused(
      run, "list.m3u",
      {"0",
       "upload denied due to the following reasons:", "   - The playlist is created automatically.",
       "   - Uploaded files must be in the SFV.", "   - the SFV must be uploaded first."});
  EXPECT_EQ(site.list("/Empty"), std::vector<std::string>{});
}

TEST(Cycle, DeletingTheSfvSweepsItsMarkers) {
  Site site;
  ASSERT_TRUE(site.registered("sweepguard"));
  Release rel(site, "/Swept",
              {{"01-swept.mp3", "bob", "grpa"},
               {"02-swept.mp3", "bob", "grpa"},
               {"03-swept.mp3", "bob", "grpa"}});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  ASSERT_EQ(rel.upload(0).exitCode, 0);
  ASSERT_EQ(site.progressBars(rel.folder).size(), 1u);
  ASSERT_TRUE(site.has("/Swept - SFV incomplete"));
  ASSERT_TRUE(site.has("/Swept/02-swept.mp3-missing"));

  RunResult run = site.remove("/Swept/release.sfv", "bob", "grpa");
  SCOPED_TRACE(run.output);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.hookExit("sweepguard"), 0);
  EXPECT_FALSE(site.has("/Swept - SFV incomplete"));
  EXPECT_TRUE(site.progressBars(rel.folder).empty());
  EXPECT_FALSE(site.has("/Swept/02-swept.mp3-missing"));
  EXPECT_FALSE(site.has("/Swept/03-swept.mp3-missing"));
  EXPECT_FALSE(site.has("/Swept/release.sfv"));
  EXPECT_TRUE(site.has("/Swept/01-swept.mp3"));

  // Deleting any other file leaves the markers alone.
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  ASSERT_TRUE(site.has("/Swept/02-swept.mp3-missing"));
  EXPECT_EQ(site.remove("/Swept/01-swept.mp3", "bob", "grpa").exitCode, 0);
  EXPECT_TRUE(site.has("/Swept/02-swept.mp3-missing"));
  EXPECT_TRUE(site.has("/Swept - SFV incomplete"));
}

// The stand-in keeps what passed per release: deletes and uploads over a
// checked file change it, so the release is complete exactly when every
// listed file is there and good.
TEST(Cycle, CompletionFollowsDeletesAndUploadsOverCheckedFiles) {
  Site site;
  Release rel(site, "/Again",
              {{"01-again.mp3", "bob", "grpa"},
               {"02-again.mp3", "bob", "grpa"},
               {"03-again.mp3", "bob", "grpa"}});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(rel.upload(i).says("release complete"), i == 2);
  // A good file again over a good one: nothing new is complete.
  EXPECT_FALSE(rel.upload(1).says("release complete"));
  // Deleted and uploaded again: complete once more.
  ASSERT_EQ(site.remove("/Again/02-again.mp3", "bob", "grpa").exitCode, 0);
  EXPECT_FALSE(rel.upload(0).says("release complete"));
  EXPECT_TRUE(rel.upload(1).says("release complete"));
  // A damaged copy over a good file takes it out; the good one puts it back.
  writeFile(site.local("junk.mp3"), "not the file");
  RunResult run = site.upload(site.local("junk.mp3"), rel.folder, "bob", "grpa", "03-again.mp3");
  EXPECT_TRUE(run.says("crc check of 03-again.mp3: failed, kept as 03-again.mp3.bad"))
      << run.output;
  EXPECT_FALSE(rel.upload(0).says("release complete"));
  EXPECT_TRUE(rel.upload(2).says("release complete"));
}

TEST(Cycle, CompletedReleaseMovesUnderTheMoveFolder) {
  Site site;
  ASSERT_TRUE(site.registered("tallyfull"));
  ASSERT_EQ(site.mkdir("/Archive", "bob", "grpa").exitCode, 0);
  const std::string archive = site.physical("/Archive");
  site.editModule([&](MConfig& c) {
    c.move_en = true;
    c.move_dir = XString(archive);
  });
  Release rel(site, "/Moving-Band-2024",
              {{"01-move.mp3", "bob", "grpa"},
               {"02-move.mp3", "alice", "grpb"},
               {"03-move.mp3", "alice", "grpb"}});
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  ASSERT_EQ(rel.upload(0).exitCode, 0);
  ASSERT_EQ(rel.upload(1).exitCode, 0);
  EXPECT_TRUE(site.has(rel.folder));  // not complete yet: it stays
  RunResult run = rel.upload(2);
  SCOPED_TRACE(run.output);
  EXPECT_TRUE(run.says("release complete"));
  EXPECT_EQ(run.hookExit("landfall"), 0);

  EXPECT_FALSE(site.has(rel.folder));
  const std::string moved = "/Archive/Moving-Band-2024";
  std::vector<std::string> names = site.list(moved);
  for (const Upload& u : rel.uploads) EXPECT_TRUE(contains(names, u.name)) << u.name;
  EXPECT_TRUE(contains(names, "release.sfv"));
  EXPECT_FALSE(contains(names, Racer::kFileName));
  EXPECT_EQ(site.completedMarkers(moved).size(), 1u);
  EXPECT_EQ(site.staleMarkers(moved), std::vector<std::string>{});
  EXPECT_FALSE(site.has("/Moving-Band-2024 - SFV incomplete"));
  expectFinishedRace(parseRaceText(site.message(moved)), "03-move.mp3", 3,
                     {{"alice", 2}, {"bob", 1}}, {{"grpa", 1}, {"grpb", 2}});
  expectFinishedRace(parseRaceText(run.reply("landfall")), "03-move.mp3", 3,
                     {{"alice", 2}, {"bob", 1}}, {{"grpa", 1}, {"grpb", 2}});
}

TEST(Cycle, CompletedMp3ReleaseGetsItsPlaylist) {
  Site site;
  ASSERT_TRUE(site.registered("tallyfull"));
  RunResult set = site.set({"m3u_create=1"});
  ASSERT_EQ(set.exitCode, 0) << set.errors;
  EXPECT_EQ(set.output, "set m3u_create=1\n");
  Release rel(site, "/Listed-Band-2024",
              {{"Zeta-Track.mp3", "bob", "grpa"},
               {"alpha-track.MP3", "bob", "grpa"},
               {"01-Opening.mp3", "alice", "grpb"}},
              "00-Listed_Band-2024.SFV");
  ASSERT_EQ(rel.uploadSfv().exitCode, 0);
  ASSERT_EQ(rel.upload(0).exitCode, 0);
  ASSERT_EQ(rel.upload(1).exitCode, 0);
  EXPECT_TRUE(site.namesStartingWith(rel.folder, "00-").size() == 1u);  // only the SFV
  RunResult run = rel.upload(2);
  EXPECT_EQ(run.hookExit("tallyfull"), 0) << run.output;

  // Named like the SFV, in its case; the names lower-cased and sorted.
  ASSERT_TRUE(site.has(rel.folder + "/00-Listed_Band-2024.m3u")) << joined(site.list(rel.folder));
  std::string playlist = readFile(site.physical(rel.folder + "/00-Listed_Band-2024.m3u"));
  std::string plain;
  for (char c : playlist) {
    if (c != '\r') plain += c;
  }
  EXPECT_EQ(plain, "01-opening.mp3\nalpha-track.mp3\nzeta-track.mp3\n");
  EXPECT_EQ(site.staleMarkers(rel.folder), std::vector<std::string>{});
}

TEST(Cycle, SetCommandChangesOnlyValidSwitches) {
  Site site;
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"m3u_create=2"},
                                              {"sfv_force=1", "no_such_key=1"},
                                              {"badf=3"},
                                              {"move_dir=relative"},
                                              {"sfv_force"}}) {
    RunResult run = site.set(bad);
    EXPECT_EQ(run.exitCode, 2) << bad.back();
  }
  MConfig before;
  ASSERT_TRUE(before.load((site.data() + "/default.bcm").c_str()));
  EXPECT_FALSE(before.sfv_force);  // a refused command saved nothing

  ASSERT_EQ(site.mkdir("/Done", "bob", "grpa").exitCode, 0);
  RunResult run = site.set({"sfv_force=1", "sfv_oneonly=1", "sfv_insfv=1", "m3u_deny=1",
                            "m3u_create=1", "m3u_skip=1", "move_en=1", "badf=1", "move_dir=/Done"});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  MConfig after;
  ASSERT_TRUE(after.load((site.data() + "/default.bcm").c_str()));
  EXPECT_TRUE(after.sfv_force && after.sfv_oneonly && after.sfv_insfv && after.m3u_deny &&
              after.m3u_create && after.m3u_skip && after.move_en);
  EXPECT_EQ(after.badf, 1);
  EXPECT_EQ(after.move_dir.str(), site.physical("/Done"));
  // What the command does not name keeps its value.
  EXPECT_EQ(after.mfiles_pat.str(), before.mfiles_pat.str());
}

}  // namespace
}  // namespace e2e
