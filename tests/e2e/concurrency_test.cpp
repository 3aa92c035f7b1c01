// Eight uploaders at once into one release, through the server stand-in: a
// race without an SFV, where only the upload hook counts, and the whole
// cycle with half the files in before the SFV and half after. Nothing here
// depends on timing: every figure is checked after all uploads ended.
#include <gtest/gtest.h>

#include <algorithm>
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
  constexpr int kFiles = 100;
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
  if (!site.registered("tallyglad") || !site.registered("tallyfull")) {
    GTEST_SKIP() << "the SFV success and completion hooks are not built";
  }
  constexpr int kFiles = 200;
  constexpr int kBeforeSfv = 100;
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
  // The merged completed tag is named after the tag of the file whose
  // upload hook made it, and every upload hook that finds the release whole
  // makes one; an earlier one is not replaced, so files with different tags
  // finishing at once leave one such marker per tag.
  std::vector<std::string> completed = site.completedMarkers(rel);
  EXPECT_FALSE(completed.empty());
  for (const std::string& name : completed) {
    EXPECT_NE(name.find(" in 200 files using "), std::string::npos) << name;
  }
  EXPECT_EQ(site.racerBytes(rel), "");
  std::vector<std::string> names = site.list(rel);
  for (const std::string& name : crowd.names) {
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
    EXPECT_TRUE(std::find(names.begin(), names.end(), name + ".bad") == names.end()) << name;
  }
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
  EXPECT_FALSE(testing_support::exists(site.folder() + "/server/uploads-in-flight"));
}

}  // namespace
}  // namespace e2e
