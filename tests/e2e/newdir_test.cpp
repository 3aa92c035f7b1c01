// New folders through the server stand-in: foldbirth's answer, the creator
// marker, the refused name whose folder goes again, and the site's
// new-directory list with its shown text, also with eight makers at once.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

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

// Eight makers, each making its 50 folders one after the other. The list
// keeps the last 100 entries: of each maker a run of its newest folders,
// newest first, each entry whole and its maker's own. The shown text is the
// stored list, row for row.
TEST(NewDirs, EightMakersAtOnceKeepTheNewestWhole) {
  constexpr int kMakers = 8;
  constexpr int kFolders = 50;
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
