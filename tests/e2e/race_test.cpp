// An upload race played through the server stand-in with the built hooks
// and the default module settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/site.h"

namespace e2e {
namespace {

bool anyLineHolds(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

struct Upload {
  std::string fixture;
  std::string name;
  std::string user;
  std::string group;
};

// Three MP3 files of one release, uploaded by two users of two groups after
// the SFV; the release's markers, race file and replies are checked after
// every upload.
TEST(Race, ThreeFilesByTwoUsersOfTwoGroupsAfterTheSfv) {
  Site site;
  ASSERT_TRUE(site.registered("tallyglad"));
  ASSERT_TRUE(site.registered("tallyfull"));
  const std::vector<Upload> uploads = {
      {"mpeg1_cbr_joint.mp3", "01-artist-one.mp3", "bob", "grpa"},
      {"mpeg1_cbr_stereo.mp3", "02-artist-two.mp3", "alice", "grpb"},
      {"mpeg1_vbr_mono.mp3", "03-artist-three.mp3", "bob", "grpa"},
  };
  std::vector<std::string> names;
  for (const Upload& u : uploads) {
    site.localCopy(u.fixture, u.name);
    names.push_back(u.name);
  }
  const std::string sfv = site.localSfv("artist-release.sfv", names);
  const std::string rel = "/Artist-Release-2024";
  const std::string incomplete = "Artist-Release-2024 - SFV incomplete";
  const std::string missingSfv = "Artist-Release-2024 - SFV missing";
  const std::vector<std::string> bars = {
      "[--------------------] - 000% - 0 of 3 files uploaded",
      "[%%%--------------] - 033% - 1 of 3 files uploaded",
      "[%%%%%%--------] - 066% - 2 of 3 files uploaded",
  };
  ASSERT_EQ(site.mkdir(rel, "bob", "grpa").exitCode, 0);

  // The state after the SFV and `done` of the MP3 files.
  // A racer's line of the statistics: name, group and files.
  auto racerLine = [](const std::string& user, const std::string& group, int files) {
    auto cell = [](std::string text) { return text + std::string(10 - text.size(), ' '); };
    return "| --   | " + cell(user) + " | " + cell(group) + " |     " + std::to_string(files) +
           " |";
  };
  // Files each uploader has after the SFV and `done` of the MP3 files.
  const std::vector<std::vector<int>> figures = {{0, -1}, {1, -1}, {1, 1}, {2, 1}};

  auto expectState = [&](const RunResult& run, size_t done) {
    SCOPED_TRACE("after " + std::to_string(done) + " of the MP3 files\n" + run.output);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.hookExit("landguard"), 0);
    EXPECT_EQ(run.reply("landguard"), std::vector<std::string>{"1"});
    EXPECT_EQ(run.hookExit("landfall"), 0);
    std::vector<std::string> reply = run.reply("landfall");
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[0], "0");
    // The race figures: files of the SFV uploaded, in ask mode with "%%".
    EXPECT_TRUE(anyLineHolds(reply, "[ " + std::to_string(done) + "/ 3]"));
    EXPECT_TRUE(anyLineHolds(reply, "%%"));
    EXPECT_TRUE(anyLineHolds(reply, racerLine("bob", "grpa", figures[done][0])));
    if (figures[done][1] >= 0) {
      EXPECT_TRUE(anyLineHolds(reply, racerLine("alice", "grpb", figures[done][1])));
    } else {
      EXPECT_FALSE(anyLineHolds(reply, "alice"));
    }

    std::vector<std::string> inRelease = site.list(rel);
    std::vector<std::string> inParent = site.list("/");
    for (size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(contains(inRelease, names[i]), i < done) << names[i];
      EXPECT_EQ(contains(inRelease, names[i] + "-missing"), i >= done) << names[i];
    }
    EXPECT_FALSE(contains(inRelease, missingSfv));
    EXPECT_FALSE(contains(inParent, missingSfv));
    EXPECT_TRUE(contains(inRelease, ".message"));

    std::vector<std::string> barsNow;
    for (const std::string& name : inRelease) {
      if (name.size() > 14 && name.compare(name.size() - 14, 14, "files uploaded") == 0) {
        barsNow.push_back(name);
      }
    }
    std::vector<std::string> tags = site.namesStartingWith(rel, "TAG ");
    std::vector<std::string> merged = site.namesStartingWith(rel, "[COMPLETED] - ");
    if (done < names.size()) {
      EXPECT_EQ(barsNow, std::vector<std::string>{bars[done]});
      EXPECT_EQ(tags.size(), done == 0 ? 0u : 1u);
      EXPECT_TRUE(merged.empty());
      EXPECT_TRUE(contains(inParent, incomplete));
      EXPECT_FALSE(run.ran("tallyfull"));
    } else {
      EXPECT_TRUE(barsNow.empty());
      EXPECT_TRUE(tags.empty());
      EXPECT_EQ(merged.size(), 1u);
      EXPECT_FALSE(contains(inParent, incomplete));
      EXPECT_TRUE(run.says("release complete"));
      EXPECT_EQ(run.hookExit("tallyfull"), 0);
    }
    if (done > 0) {
      EXPECT_TRUE(run.says("crc check of " + names[done - 1] + ": passed"));
      EXPECT_EQ(run.hookExit("tallyglad"), 0);
    }
  };

  RunResult run = site.upload(sfv, rel, "bob", "grpa");
  expectState(run, 0);
  std::unique_ptr<Racer> racer = site.racer(rel);
  ASSERT_NE(racer, nullptr);
  EXPECT_EQ(racer->sfvListedFiles, 3u);
  EXPECT_EQ(racer->allFiles, 0u);
  EXPECT_NE(racer->users.find("bob"), nullptr);

  for (size_t i = 0; i < uploads.size(); ++i) {
    run = site.upload(site.local(uploads[i].name), rel, uploads[i].user, uploads[i].group);
    expectState(run, i + 1);
    if (i + 1 == uploads.size()) break;
    racer = site.racer(rel);
    ASSERT_NE(racer, nullptr);
    EXPECT_EQ(racer->allFiles, i + 1);
    EXPECT_EQ(racer->sfvUploadedFiles, i + 1);
    EXPECT_EQ(racer->users.count, i == 0 ? 1u : 2u);
    EXPECT_EQ(racer->groups.count, i == 0 ? 1u : 2u);
    RacerListEntry* bob = racer->users.find("bob");
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->filesCount, 1u);
  }
  // The completed race drops its file; the statistics stay in ".message".
  EXPECT_EQ(site.racerBytes(rel), "");
  std::string message = testing_support::readFile(site.physical(rel + "/.message"));
  EXPECT_NE(message.find("[ 3/ 3]"), std::string::npos) << message;
  EXPECT_NE(message.find("alice"), std::string::npos);
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
}

}  // namespace
}  // namespace e2e
