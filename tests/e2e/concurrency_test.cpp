// Eight uploaders at once into one release, through the server stand-in: a
// race without an SFV, where only the upload hook counts, and the whole
// cycle with half the files in before the SFV and half after. Nothing here
// depends on timing: every figure is checked after all uploads ended.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/site.h"

namespace e2e {
namespace {

constexpr int kUploaders = 8;

const char* const kFixtures[] = {"mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3",
                                 "mpeg1_vbr_mono.mp3", "mpeg1_id3v2.mp3", "mpeg1_notag.mp3"};

std::string trackName(int i) {
  std::string number = std::to_string(i + 1);
  return std::string(3 - number.size(), '0') + number + "-crowd_track.mp3";
}
std::string userOf(int i) { return "racer" + std::to_string(i % kUploaders); }
std::string groupOf(int i) { return "grp" + std::to_string(i % kUploaders % 3); }

// Files `first` to `last` (exclusive) of the release into `folder`, by eight
// uploaders at once; uploader u takes the files whose number modulo eight
// is u, one after the other. The runs by file number.
std::map<int, RunResult> uploadAtOnce(const Site& site, const std::string& folder, int first,
                                      int last) {
  std::vector<std::map<int, RunResult>> perUploader(kUploaders);
  std::vector<std::thread> uploaders;
  for (int u = 0; u < kUploaders; ++u) {
    uploaders.emplace_back([&, u] {
      for (int i = first; i < last; ++i) {
        if (i % kUploaders != u) continue;
        perUploader[u][i] = site.upload(site.local(trackName(i)), folder, userOf(i), groupOf(i));
      }
    });
  }
  for (std::thread& t : uploaders) t.join();
  std::map<int, RunResult> runs;
  for (auto& part : perUploader) runs.insert(part.begin(), part.end());
  return runs;
}

// The local copies and what the race should count of them.
struct Crowd {
  Crowd(const Site& site, int files) {
    for (int i = 0; i < files; ++i) {
      std::string path = site.localCopy(kFixtures[i % 5], trackName(i));
      names.push_back(trackName(i));
      uint64_t size = testing_support::readFile(path).size();
      kb += static_cast<unsigned int>(size / 1024);
      userFiles[userOf(i)] += 1;
      groupFiles[groupOf(i)] += 1;
      userKb[userOf(i)] += static_cast<unsigned int>(size / 1024);
    }
  }
  std::vector<std::string> names;
  unsigned int kb = 0;
  std::map<std::string, int> userFiles;
  std::map<std::string, int> groupFiles;
  std::map<std::string, unsigned int> userKb;
};

TEST(Concurrency, EveryUploadIsCountedInARaceWithoutSfv) {
  Site site;
  constexpr int kFiles = 48;
  Crowd crowd(site, kFiles);
  const std::string rel = "/Crowd-No_Sfv-2024";
  ASSERT_EQ(site.mkdir(rel, "racer0", "grp0").exitCode, 0);

  std::map<int, RunResult> runs = uploadAtOnce(site, rel, 0, kFiles);
  ASSERT_EQ(runs.size(), static_cast<size_t>(kFiles));
  for (const auto& entry : runs) {
    const RunResult& run = entry.second;
    EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_TRUE(run.says("crc check: no sfv")) << run.output;
    EXPECT_EQ(run.hookExit("landfall"), 0) << run.output;
    EXPECT_FALSE(run.says("release complete"));
  }

  std::unique_ptr<Racer> racer = site.racer(rel);
  ASSERT_NE(racer, nullptr);
  EXPECT_EQ(racer->allFiles, static_cast<unsigned int>(kFiles));
  EXPECT_EQ(racer->allKb, crowd.kb);
  std::map<std::string, int> userFiles;
  std::map<std::string, unsigned int> userKb;
  for (RacerListEntry* e = racer->users.head; e != nullptr; e = e->next) {
    userFiles[e->name.str()] += static_cast<int>(e->filesCount);
    userKb[e->name.str()] += e->kb;
    EXPECT_EQ(e->files.count, e->filesCount) << e->name.str();
  }
  std::map<std::string, int> groupFiles;
  unsigned int groupKb = 0;
  for (RacerListEntry* e = racer->groups.head; e != nullptr; e = e->next) {
    groupFiles[e->name.str()] += static_cast<int>(e->filesCount);
    groupKb += e->kb;
  }
  EXPECT_EQ(userFiles, crowd.userFiles);
  EXPECT_EQ(userKb, crowd.userKb);
  EXPECT_EQ(groupFiles, crowd.groupFiles);
  EXPECT_EQ(groupKb, crowd.kb);

  std::vector<std::string> names = site.list(rel);
  for (const std::string& name : crowd.names) {
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
  }
  EXPECT_TRUE(site.has("/Crowd-No_Sfv-2024 - SFV missing"));
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
}

TEST(Concurrency, FullCycleWithHalfTheFilesBeforeTheSfv) {
  Site site;
  ASSERT_TRUE(site.registered("tallyglad"));
  ASSERT_TRUE(site.registered("tallyfull"));
  constexpr int kFiles = 64;
  constexpr int kBeforeSfv = 32;
  Crowd crowd(site, kFiles);
  const std::string sfv = site.localSfv("00-crowd-full_cycle-2024.sfv", crowd.names);
  const std::string rel = "/Crowd-Full_Cycle-2024";
  ASSERT_EQ(site.mkdir(rel, "racer0", "grp0").exitCode, 0);

  std::map<int, RunResult> runs = uploadAtOnce(site, rel, 0, kBeforeSfv);
  RunResult sfvRun = site.upload(sfv, rel, "racer0", "grp0");
  ASSERT_EQ(sfvRun.exitCode, 0) << sfvRun.output;
  EXPECT_FALSE(sfvRun.says("release complete"));
  std::map<int, RunResult> after = uploadAtOnce(site, rel, kBeforeSfv, kFiles);
  runs.insert(after.begin(), after.end());
  ASSERT_EQ(runs.size(), static_cast<size_t>(kFiles));

  int completing = -1;
  int completions = 0;
  for (const auto& entry : runs) {
    const int i = entry.first;
    const RunResult& run = entry.second;
    SCOPED_TRACE(trackName(i) + "\n" + run.output + run.errors);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.hookExit("landfall"), 0);
    if (i >= kBeforeSfv) {
      EXPECT_TRUE(run.says("crc check of " + trackName(i) + ": passed"));
      EXPECT_EQ(run.hookExit("tallyglad"), 0);
    }
    if (run.says("release complete")) {
      ++completions;
      completing = i;
      EXPECT_EQ(run.hookExit("tallyfull"), 0);
    } else {
      EXPECT_FALSE(run.ran("tallyfull"));
    }
  }
  ASSERT_EQ(completions, 1);
  ASSERT_GE(completing, kBeforeSfv);
  const RunResult& last = runs[completing];
  SCOPED_TRACE("completed by " + trackName(completing) + "\n" + last.output);

  // The completing upload's reply and the last ".message": every upload in,
  // every checked file counted for its racer and group.
  for (const RaceText& race :
       {parseRaceText(last.reply("landfall")), parseRaceText(site.message(rel))}) {
    EXPECT_TRUE(race.found);
    EXPECT_EQ(race.file, trackName(completing));
    EXPECT_EQ(race.uploaded, kFiles);
    EXPECT_EQ(race.listed, kFiles);
    EXPECT_EQ(race.userFiles, crowd.userFiles);
    EXPECT_EQ(race.groupFiles, crowd.groupFiles);
    EXPECT_EQ(race.totalKb, static_cast<int>(crowd.kb));
  }

  // The memo: the completing file in slots 0, 3 and 4, a file of the
  // release in slot 1, slot 2 as it was made.
  std::vector<MemoSlot> memo = site.memo();
  ASSERT_EQ(memo.size(), 5u);
  const std::string folder = site.physical(rel);
  const std::string completingPath = folder + "/" + trackName(completing);
  EXPECT_EQ(memo[0].path, completingPath);
  EXPECT_FALSE(memo[0].flag);
  EXPECT_EQ(memo[3].path, completingPath);
  EXPECT_FALSE(memo[3].flag);
  EXPECT_EQ(memo[4].path, completingPath);
  EXPECT_TRUE(memo[4].flag);
  ASSERT_GT(memo[1].path.size(), folder.size() + 1);
  EXPECT_EQ(memo[1].path.compare(0, folder.size() + 1, folder + "/"), 0) << memo[1].path;
  const std::string checkedName = memo[1].path.substr(folder.size() + 1);
  EXPECT_TRUE(std::find(crowd.names.begin(), crowd.names.end(), checkedName) != crowd.names.end())
      << checkedName;
  EXPECT_FALSE(memo[1].flag);
  EXPECT_EQ(memo[2].path, "");
  EXPECT_TRUE(memo[2].flag);

  // The race is over: only the markers of a complete release are left.
  EXPECT_EQ(site.staleMarkers(rel), std::vector<std::string>{});
  // Every upload hook that finds the release whole names the completed tag
  // from the release's first MP3, so exactly one is left.
  std::vector<std::string> completed = site.completedMarkers(rel);
  ASSERT_EQ(completed.size(), 1u);
  EXPECT_NE(completed[0].find(" in " + std::to_string(kFiles) + " files using "), std::string::npos)
      << completed[0];
  EXPECT_EQ(site.racerBytes(rel), "");
  std::vector<std::string> names = site.list(rel);
  for (const std::string& name : crowd.names) {
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
    EXPECT_TRUE(std::find(names.begin(), names.end(), name + ".bad") == names.end()) << name;
  }
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
  EXPECT_FALSE(testing_support::exists(site.folder() + "/server/uploads-in-flight"));
}

// Waits until `ready` says so, a minute at most; the figures are checked
// afterwards, so how long this takes never decides a pass.
template <class Ready>
bool waitUntil(Ready ready) {
  const auto start = std::chrono::steady_clock::now();
  while (!ready()) {
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

size_t lineAt(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// The upload that completes a release starts tallyfull and landfall only
// after the upload stored before it has ended its hooks: here the earlier
// upload's tallyglad is held at a gate until the completing upload's own
// tallyglad has ended. Every hook is started through a wrapper that logs
// its start and end.
TEST(Concurrency, CompletionWaitsForTheHooksOfEarlierUploads) {
  Site site;
  ASSERT_TRUE(site.registered("tallyglad"));
  ASSERT_TRUE(site.registered("tallyfull"));
  const std::string install = site.install();
  const std::string wrapper =
      "#!/bin/sh\n"
      "here=$(dirname \"$0\")\n"
      "name=$(basename \"$0\")\n"
      "case \"$1\" in *01-first.mp3*) file=01 ;; *02-last.mp3*) file=02 ;; *) file=sfv ;; esac\n"
      "echo \"start $name $file\" >>\"$here/hooks.log\"\n"
      "if [ \"$name\" = tallyglad ] && [ \"$file\" = 01 ]; then\n"
      "  : >\"$here/held\"\n"
      "  n=0\n"
      "  while [ ! -e \"$here/go\" ] && [ $n -lt 6000 ]; do sleep 0.01; n=$((n+1)); done\n"
      "fi\n"
      "\"$here/$name.real\" \"$1\"\n"
      "code=$?\n"
      "echo \"end $name $file\" >>\"$here/hooks.log\"\n"
      "exit $code\n";
  for (const char* hook : {"landguard", "tallyglad", "tallyfull", "landfall"}) {
    const std::string path = install + "/" + hook;
    ASSERT_EQ(std::rename(path.c_str(), (path + ".real").c_str()), 0) << path;
    testing_support::writeFile(path, wrapper);
    ASSERT_EQ(chmod(path.c_str(), 0755), 0);
  }
  site.localCopy("mpeg1_cbr_joint.mp3", "01-first.mp3");
  site.localCopy("mpeg1_cbr_stereo.mp3", "02-last.mp3");
  const std::string sfv = site.localSfv("gate.sfv", {"01-first.mp3", "02-last.mp3"});
  const std::string rel = "/Gate";
  ASSERT_EQ(site.mkdir(rel, "first", "grpa").exitCode, 0);
  ASSERT_EQ(site.upload(sfv, rel, "first", "grpa").exitCode, 0);

  auto logLines = [&] {
    std::string path = install + "/hooks.log";
    std::vector<std::string> out;
    if (!testing_support::exists(path)) return out;
    std::string text = testing_support::readFile(path);
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos;) {
      out.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return out;
  };
  RunResult first;
  RunResult last;
  std::thread earlier(
      [&] { first = site.upload(site.local("01-first.mp3"), rel, "first", "grpa"); });
  ASSERT_TRUE(waitUntil([&] { return testing_support::exists(install + "/held"); }));
  std::thread completing(
      [&] { last = site.upload(site.local("02-last.mp3"), rel, "last", "grpb"); });
  const bool lastChecked = waitUntil([&] {
    std::vector<std::string> log = logLines();
    return lineAt(log, "end tallyglad 02") < log.size();
  });
  testing_support::writeFile(install + "/go", "");
  earlier.join();
  completing.join();
  ASSERT_TRUE(lastChecked) << last.output;

  SCOPED_TRACE(first.output + last.output);
  EXPECT_TRUE(last.says("release complete"));
  EXPECT_TRUE(last.says("waiting for 1 earlier uploads of the release"));
  std::vector<std::string> log = logLines();
  SCOPED_TRACE(::testing::PrintToString(log));
  const size_t firstDone = lineAt(log, "end landfall 01");
  const size_t completion = lineAt(log, "start tallyfull 02");
  ASSERT_LT(firstDone, log.size());
  ASSERT_LT(completion, log.size());
  EXPECT_LT(firstDone, completion);
  EXPECT_LT(lineAt(log, "end tallyfull 02"), lineAt(log, "start landfall 02"));
  // Both uploads are in the race that the completing upload answers with.
  RaceText race = parseRaceText(last.reply("landfall"));
  EXPECT_EQ(race.uploaded, 2);
  EXPECT_EQ(race.listed, 2);
  EXPECT_EQ(race.userFiles, (std::map<std::string, int>{{"first", 1}, {"last", 1}}));
  // The earlier upload, let go after the last file's check, still found the
  // race running and answered with both checks.
  EXPECT_EQ(parseRaceText(first.reply("landfall")).uploaded, 2);
  EXPECT_EQ(site.racerBytes(rel), "");
  EXPECT_EQ(site.staleMarkers(rel), std::vector<std::string>{});
}

}  // namespace
}  // namespace e2e
