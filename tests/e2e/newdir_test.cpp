// New folders through the server stand-in: foldbirth's answer, the creator
// marker, the refused name whose folder goes again, and the site's
// new-directory list with its shown text, also with eight makers at once.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs.h"
#include "settings/gconfig.h"
#include "stores/board.h"
#include "tests/e2e/site.h"

namespace e2e {
namespace {

using testing_support::readFile;

// Loads the site's global settings, lets `edit` change them and saves them.
void editGlobal(const Site& site, void (*edit)(GConfig&)) {
  const std::string path = site.data() + "/BCconfig.bcc";
  GConfig global;
  ASSERT_TRUE(global.load(path.c_str()));
  edit(global);
  ASSERT_TRUE(global.save(path.c_str()));
}

// One row of the default layout "|  %r  | %u: %t |": the user padded to 10,
// the folder to 51.
std::string row(const std::string& rank, const std::string& user, const std::string& folder) {
  auto pad = [](std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
  };
  return "|  " + rank + "  | " + pad(user, 10) + ": " + pad(folder, 51) + " |\n";
}

// The shown list: the default head, `rows`, the default tail, each line
// ending in one line end (the default texts hold CR LF).
std::string shownList(const std::string& rows) {
  GConfig defaults;
  defaults.setDefaults(0);
  std::string text = defaults.ndl.head.str() + "\n" + rows + defaults.ndl.tail.str() + "\n";
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

std::string listText(const Site& site) { return readFile(site.data() + "/newdirlist.txt"); }

TEST(NewDirs, ReleaseFoldersByTwoUsersAndARefusedName) {
  Site site;
  ASSERT_TRUE(site.registered("foldbirth"));
  ASSERT_EQ(site.set({"cinfo=1"}).exitCode, 0);

  RunResult run = site.mkdir("/Band-First_Light-2024", "alice", "Couriers");
  EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
  EXPECT_EQ(run.hookExit("foldbirth"), 0);
  EXPECT_EQ(run.reply("foldbirth"), std::vector<std::string>{"1"});
  EXPECT_EQ(site.list("/Band-First_Light-2024"), std::vector<std::string>{"@alice"});
  const std::string one = row("01", "alice", "/Band-First_Light-2024");
  EXPECT_EQ(listText(site), shownList(one));

  // Folders below a release are listed too, by their whole virtual path.
  run = site.mkdir("/Band-First_Light-2024/CD2", "bob", "Racers");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(site.has("/Band-First_Light-2024/CD2/@bob"));
  const std::string two =
      row("01", "bob", "/Band-First_Light-2024/CD2") + row("02", "alice", "/Band-First_Light-2024");
  EXPECT_EQ(listText(site), shownList(two));

  // A denied name: the folder goes again, and neither list nor marker
  // shows it.
  run = site.mkdir("/Band-Second-2024-INCOMPLETE", "bob", "Racers");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.reply("foldbirth"),
            (std::vector<std::string>{
                "0", "upload denied: dirnames matching \"*incomplete*\" not allowed."}));
  EXPECT_TRUE(run.says("refused: folder removed")) << run.output;
  EXPECT_FALSE(site.has("/Band-Second-2024-INCOMPLETE"));
  EXPECT_EQ(listText(site), shownList(two));

  // A folder that is there already is not made again, and foldbirth is
  // not asked.
  run = site.mkdir("/Band-First_Light-2024", "bob", "Racers");
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_FALSE(run.ran("foldbirth"));
  EXPECT_EQ(listText(site), shownList(two));
  EXPECT_TRUE(testing_support::listNames(site.output()).empty());
}

// The chmod calls since the log was last cleared, each split into rights,
// user, group and the path (the rest of the line).
std::vector<std::vector<std::string>> chmodCalls(const Site& site) {
  std::vector<std::vector<std::string>> calls;
  for (const std::string& line : testing_support::lines(readFile(site.install() + "/chmod.log"))) {
    std::vector<std::string> call;
    std::string::size_type at = 0;
    for (int i = 0; i < 3; ++i) {
      std::string::size_type blank = line.find(' ', at);
      if (blank == std::string::npos) break;
      call.push_back(line.substr(at, blank - at));
      at = blank + 1;
    }
    call.push_back(line.substr(at));
    calls.push_back(call);
  }
  testing_support::removeFileForTest(site.install() + "/chmod.log");
  return calls;
}

unsigned int modeOf(const std::string& path) {
  unsigned int mode = 0;
  EXPECT_TRUE(platform::modeBits(path.c_str(), &mode)) << path;
  return mode;
}

// A folder whose name holds quotes and blanks, as if to hand the chmod
// program the folder above the site and an owner of its own: the creator
// marker, a rescan and a playlist in it each ask about their one path
// inside the folder, with the four values whole, and nothing outside the
// site changes.
TEST(NewDirs, AQuotedNameReachesChmodAsOnePath) {
  Site site;
  ASSERT_EQ(site.set({"cinfo=1"}).exitCode, 0);
  const std::string name = "..\" 764 mallory GRP \"x";
  const std::string root = site.physical("/");
  const std::string above = root.substr(0, root.rfind('/'));
  const unsigned int rootMode = modeOf(root);
  const unsigned int aboveMode = modeOf(above);
  (void)chmodCalls(site);

  RunResult run = site.mkdir("/" + name, "alice", "grp");
  ASSERT_EQ(run.hookExit("foldbirth"), 0) << run.output;
  const std::string folder = site.physical("/" + name);
  ASSERT_EQ(folder, root + "/" + name);
  EXPECT_EQ(chmodCalls(site),
            (std::vector<std::vector<std::string>>{{"764", "alice", "grp", folder + "/@alice"}}));

  // No SFV here: the rescan makes the "SFV missing" marker, one path.
  RunResult rescan = site.site("/" + name, "rescan", "carol", "grp");
  EXPECT_EQ(rescan.hookExit("quipgate"), 0) << rescan.output;
  std::vector<std::vector<std::string>> calls = chmodCalls(site);
  ASSERT_EQ(calls.size(), 1u) << rescan.output;
  ASSERT_EQ(calls[0].size(), 4u);
  EXPECT_EQ(calls[0][0] + " " + calls[0][1] + " " + calls[0][2], "764 carol grp");
  EXPECT_EQ(calls[0][3].compare(0, root.size() + 1, root + "/"), 0) << calls[0][3];
  EXPECT_NE(calls[0][3].find(name), std::string::npos) << calls[0][3];
  EXPECT_TRUE(testing_support::exists(calls[0][3])) << calls[0][3];

  testing_support::writeFile(folder + "/01-track.mp3",
                             readFile(mediaFixture("mpeg1_cbr_joint.mp3")));
  RunResult playlist = site.site("/" + name, "makem3u", "carol", "grp");
  EXPECT_EQ(playlist.hookExit("quipgate"), 0) << playlist.output;
  calls = chmodCalls(site);
  ASSERT_EQ(calls.size(), 1u) << playlist.output;
  ASSERT_EQ(calls[0].size(), 4u);
  EXPECT_EQ(calls[0][0] + " " + calls[0][1] + " " + calls[0][2], "764 carol grp");
  EXPECT_EQ(calls[0][3].compare(0, folder.size() + 1, folder + "/"), 0) << calls[0][3];
  EXPECT_EQ(calls[0][3].substr(calls[0][3].size() - 4), ".m3u");
  EXPECT_EQ(readFile(calls[0][3]), "01-track.mp3\n");

  EXPECT_EQ(modeOf(root), rootMode);
  EXPECT_EQ(modeOf(above), aboveMode);
}

// Eight makers, each making its 16 folders one after the other. The list
// keeps the last 100 entries: of each maker a run of its newest folders,
// newest first, each entry whole and its maker's own. The shown text is the
// stored list, row for row.
TEST(NewDirs, EightMakersAtOnceKeepTheNewestWhole) {
  constexpr int kMakers = 8;
  constexpr int kFolders = 16;
  constexpr unsigned int kLimit = 100;
  Site site;
  ASSERT_TRUE(site.registered("foldbirth"));
  editGlobal(site, [](GConfig& g) { g.ndl.maxentrys = kLimit; });

  std::vector<int> failures(kMakers, 0);
  std::vector<std::thread> makers;
  for (int m = 0; m < kMakers; ++m) {
    makers.emplace_back([&, m] {
      for (int k = 0; k < kFolders; ++k) {
        RunResult run = site.mkdir("/m" + std::to_string(m) + "-" + std::to_string(k),
                                   "maker" + std::to_string(m), "grp");
        if (run.exitCode != 0 || run.hookExit("foldbirth") != 0) ++failures[m];
      }
    });
  }
  for (std::thread& t : makers) t.join();
  EXPECT_EQ(failures, std::vector<int>(kMakers, 0));

  GConfig global;
  ASSERT_TRUE(global.load((site.data() + "/BCconfig.bcc").c_str()));
  Board list(global.ndl);
  ASSERT_EQ(list.load((site.data() + "/" + Board::kNewDirListFile).c_str()), 1);
  ASSERT_EQ(list.count(), kLimit);

  std::map<int, std::vector<int>> kept;  // maker -> its folders, as listed
  std::set<std::string> seen;
  std::string rows;
  int rank = 0;
  for (Entry* e = list.head(); e != nullptr; e = e->next) {
    const std::string text = e->text.str();
    const std::string user = e->user.str();
    int m = -1;
    int k = -1;
    char end = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "/m%d-%d%c", &m, &k, &end), 2) << text;
    ASSERT_TRUE(m >= 0 && m < kMakers && k >= 0 && k < kFolders) << text;
    EXPECT_EQ(user, "maker" + std::to_string(m));
    EXPECT_TRUE(seen.insert(text).second) << text << " twice";
    kept[m].push_back(k);
    char number[16];
    std::snprintf(number, sizeof number, "%03d", ++rank);
    rows += row(number, user, text);
  }
  int total = 0;
  for (const auto& maker : kept) {
    const std::vector<int>& folders = maker.second;
    for (size_t i = 0; i < folders.size(); ++i) {
      EXPECT_EQ(folders[i], kFolders - 1 - static_cast<int>(i)) << "maker " << maker.first;
    }
    total += static_cast<int>(folders.size());
  }
  EXPECT_EQ(total, static_cast<int>(kLimit));
  EXPECT_EQ(listText(site), shownList(rows));
}

}  // namespace
}  // namespace e2e
