// SITE commands through the server stand-in: a session of several users on
// the boards, the new-directory lists, a playlist, the rescan of a release
// before and after it is complete, and eight users posting at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "settings/gconfig.h"
#include "tests/e2e/site.h"

namespace e2e {
namespace {

using testing_support::exists;
using testing_support::listNames;
using testing_support::readFile;
using testing_support::writeFile;

// The lines of the site command's reply as the stand-in shows them.
std::vector<std::string> siteReply(const RunResult& run) {
  std::vector<std::string> out;
  bool inReply = false;
  for (const std::string& line : testing_support::lines(run.output)) {
    if (line.compare(0, 13, "  reply site-") == 0) {
      inReply = true;
    } else if (inReply && line.compare(0, 4, "  | ") == 0) {
      out.push_back(line.substr(4));
    } else if (inReply) {
      break;
    }
  }
  return out;
}

// One site command that must end as done; its reply's lines.
std::vector<std::string> say(const Site& site, const std::string& text, const std::string& user,
                             const std::string& level = "2", const std::string& folder = "/") {
  RunResult run = site.site(folder, text, user, "grp", level);
  EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
  EXPECT_EQ(run.hookExit("quipgate"), 0) << text << "\n" << run.output;
  return siteReply(run);
}

using Lines = std::vector<std::string>;

void editGlobal(const Site& site, const std::function<void(GConfig&)>& edit) {
  const std::string path = site.data() + "/BCconfig.bcc";
  GConfig global;
  ASSERT_TRUE(global.load(path.c_str()));
  edit(global);
  ASSERT_TRUE(global.save(path.c_str()));
}

// Plain layouts: a head line, "number user text" rows, a tail line.
void plainLayout(BoardSettings& board, const char* head, const char* format) {
  board.head = head;
  board.tail = "end";
  board.lineformat = format;
  board.unlen = 0;
  board.tlen = 0;
}

// A store file written here, independently of the stores' own writer: the
// count, then per entry user, text, day, weekday, month, year, hour,
// minute, second.
std::string storeBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
  auto word = [](uint32_t n) {
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(n >> (8 * i)));
    return out;
  };
  std::string out = word(static_cast<uint32_t>(entries.size()));
  for (const auto& entry : entries) {
    out += word(static_cast<uint32_t>(entry.first.size())) + entry.first;
    out += word(static_cast<uint32_t>(entry.second.size())) + entry.second;
    out += std::string("\x18\x01\x03", 3) + word(2003) + std::string("\x07\x05\x09", 3);
  }
  return out;
}

const char kAdded[] = "Your message was added as number ";

TEST(SiteCommandTest, BoardSessionOfSeveralUsers) {
  Site site;
  ASSERT_TRUE(site.registered("quipgate"));
  editGlobal(site, [](GConfig& g) {
    plainLayout(g.mb, "board", "%r %u %t");
    plainLayout(g.rb, "requests", "%r %u %t");
    g.mb.maxentrys = 3;
  });
  int n = 0;
  for (const char* user : {"alice", "bob", "carol"}) {
    EXPECT_EQ(say(site, std::string("message from ") + user, user),
              Lines{kAdded + std::to_string(++n) + "."});
  }
  // A full board drops its oldest message.
  EXPECT_EQ(say(site, "message from dave", "dave", "3"), Lines{kAdded + std::string("3.")});
  const Lines full = {"board", "1 bob from bob", "2 carol from carol", "3 dave from dave", "end"};
  EXPECT_EQ(say(site, "board", "erin"), full);
  editGlobal(site, [](GConfig& g) { g.mb.maxmode = false; });
  EXPECT_EQ(say(site, "message from erin", "erin"),
            Lines{"Sorry, the message board is full. An old message has to be deleted first."});
  EXPECT_EQ(say(site, "message", "erin"), full);

  // The owner deletes; another normal user may not; a super user may.
  EXPECT_EQ(say(site, "delmessage 2", "carol"), Lines{"Message deleted."});
  const char* refused = "You don't have permission to delete other users message board entrys.";
  EXPECT_EQ(say(site, "delmessage 2", "bob"), Lines{refused});
  EXPECT_EQ(say(site, "delmessage 2", "Dave"), Lines{refused});
  EXPECT_EQ(say(site, "delmessage 2", "bob", "1"), Lines{"Message deleted."});
  EXPECT_EQ(say(site, "delmessage 2", "bob", "1"), Lines{"Cannot delete message: bad argument."});
  EXPECT_EQ(say(site, "board", "erin"), (Lines{"board", "1 bob from bob", "end"}));

  // A request, filled by another user: its folder in /requests, the hint,
  // and the note on the message board.
  EXPECT_EQ(say(site, "request Some Album", "alice"), Lines{"Your request was added as number 1."});
  EXPECT_EQ(say(site, "fillrequest 1", "bob"), Lines{"Please upload to \"/requests/Some Album\"."});
  EXPECT_TRUE(site.has("/requests/Some Album"));
  EXPECT_EQ(say(site, "showreq", "bob"), (Lines{"requests", "end"}));
  EXPECT_EQ(say(site, "board", "erin"),
            (Lines{"board", "1 bob from bob", "2 bob bob filled request: Some Album", "end"}));

  // Hostile request names make no folder anywhere.
  for (const char* name : {"../../../escape", "..", "a/b", "x\\y"}) {
    EXPECT_EQ(say(site, std::string("request ") + name, "mallory"),
              Lines{"Your request was added as number 1."});
    EXPECT_EQ(say(site, "fillreq 1", "mallory"),
              Lines{std::string("Please upload to \"/requests/") + name + "\"."});
  }
  EXPECT_EQ(listNames(site.physical("/requests")), Lines{"Some Album"});
  EXPECT_EQ(listNames(site.folder()), (Lines{"install", "links", "root", "server"}));
  EXPECT_FALSE(exists(site.folder() + "/../escape"));

  // Without a request path no folder is made, and the hint has no folder.
  editGlobal(site, [](GConfig& g) { g.rb.preqpath = ""; });
  EXPECT_EQ(say(site, "request Other", "alice"), Lines{"Your request was added as number 1."});
  EXPECT_EQ(say(site, "fillrequest 1", "bob"), Lines{"Please upload to \"Other\"."});
  EXPECT_FALSE(exists(site.data() + "/Other"));
  EXPECT_EQ(listNames(site.physical("/requests")), Lines{"Some Album"});

  // The help text the site was made with, and the version.
  Lines help = say(site, "?", "bob");
  ASSERT_FALSE(help.empty());
  EXPECT_EQ(help[0], "Site commands:");
  EXPECT_EQ(say(site, "vers", "bob"), Lines{"...::: Brindlecast version 0.95 c :::..."});
}

TEST(SiteCommandTest, NewDirListsInEveryWordForm) {
  Site site;
  editGlobal(site, [](GConfig& g) {
    plainLayout(g.ndl, "newest", "%r %t");
    plainLayout(g.ndlspecial, "mp3", "%r %t");
  });
  writeFile(site.data() + "/newdirlist.sav",
            storeBytes({{"a", "/d3"}, {"b", "/d2"}, {"c", "/d1"}}));
  writeFile(site.data() + "/MP3.ndl", storeBytes({{"a", "/mp3/x2"}, {"b", "/mp3/x1"}}));
  const Lines all = {"newest", "01 /d3", "02 /d2", "03 /d1", "end"};
  EXPECT_EQ(say(site, "new", "bob"), all);
  EXPECT_EQ(say(site, "NDL 2", "bob"), (Lines{"newest", "01 /d3", "02 /d2", "end"}));
  EXPECT_EQ(say(site, "newdir  1", "bob"), (Lines{"newest", "01 /d3", "end"}));
  EXPECT_EQ(say(site, "new 0", "bob"), (Lines{"newest", "end"}));
  EXPECT_EQ(say(site, "new 1 MP3", "bob"), (Lines{"mp3", "01 /mp3/x2", "end"}));
  EXPECT_EQ(say(site, "new MP3 1", "bob"), (Lines{"mp3", "01 /mp3/x2", "end"}));
  EXPECT_EQ(say(site, "new mp3 all", "bob"), (Lines{"mp3", "01 /mp3/x2", "02 /mp3/x1", "end"}));
  EXPECT_EQ(say(site, "new nosuch", "bob"), Lines{"Invalid new dir list name: nosuch."});
  EXPECT_EQ(say(site, "new ../data/MP3", "bob"), Lines{"Invalid new dir list name: ../data/MP3."});
  editGlobal(site, [](GConfig& g) { g.ndl.en = false; });
  EXPECT_EQ(say(site, "new MP3", "bob"), Lines{"The new dir list is disabled."});
}

// A release raced through the stand-in, then its markers spoiled and mended
// by "rescan", before and after its last file; and its playlist.
TEST(SiteCommandTest, PlaylistAndRescanOfARelease) {
  Site site;
  const std::string rel = "/Band-Album-2024";
  const Lines tracks = {"01-band-a.mp3", "02-band-b.mp3", "03-band-c.mp3"};
  site.localCopy("mpeg1_cbr_joint.mp3", tracks[0]);
  site.localCopy("mpeg1_cbr_stereo.mp3", tracks[1]);
  site.localCopy("mpeg1_vbr_mono.mp3", tracks[2]);
  const std::string sfv = site.localSfv("band.sfv", tracks);
  site.mkdir(rel, "alice", "grp");
  ASSERT_TRUE(site.has(rel));
  ASSERT_EQ(site.upload(sfv, rel, "alice", "grp").exitCode, 0);
  ASSERT_EQ(site.upload(site.local(tracks[0]), rel, "alice", "grp").exitCode, 0);
  ASSERT_EQ(site.upload(site.local(tracks[1]), rel, "bob", "grp").exitCode, 0);

  const std::string folder = site.physical(rel);
  ASSERT_TRUE(exists(folder + "/03-band-c.mp3-missing"));
  testing_support::removeFileForTest(folder + "/03-band-c.mp3-missing");
  writeFile(folder + "/01-band-a.mp3-missing", "");
  writeFile(folder + "/[%%%--------------] - 033% - 1 of 3 files uploaded", "");
  const std::string found = "sfv found: " + folder + "/band.sfv";
  EXPECT_EQ(say(site, "rescan", "carol", "2", rel),
            (Lines{found, "...missing files repaired", "...sfv missing removed",
                   "...sfv incomplete created", "...old progress bars removed",
                   "...progress bar created", "...tag info created"}));
  EXPECT_TRUE(exists(folder + "/03-band-c.mp3-missing"));
  EXPECT_FALSE(exists(folder + "/01-band-a.mp3-missing"));
  EXPECT_EQ(site.progressBars(rel).size(), 1u);
  EXPECT_FALSE(site.has(rel + "/[%%%--------------] - 033% - 1 of 3 files uploaded"));

  EXPECT_EQ(say(site, "playlist", "carol", "2", rel), Lines{"Playlist created."});
  EXPECT_EQ(readFile(folder + "/band.m3u"), "01-band-a.mp3\n02-band-b.mp3\n");

  ASSERT_EQ(site.upload(site.local(tracks[2]), rel, "carol", "grp").exitCode, 0);
  EXPECT_TRUE(site.staleMarkers(rel).empty());
  writeFile(folder + "/02-band-b.mp3-missing", "");
  writeFile(site.physical("/") + "/Band-Album-2024 - SFV incomplete", "");
  EXPECT_FALSE(site.staleMarkers(rel).empty());
  EXPECT_EQ(say(site, "rescan", "carol", "2", rel),
            (Lines{found, "...missing files repaired", "...sfv missing removed",
                   "...sfv incomplete removed", "...old progress bars removed",
                   "...completed taginfo created"}));
  EXPECT_TRUE(site.staleMarkers(rel).empty());
  EXPECT_EQ(site.completedMarkers(rel).size(), 1u);
}

// Eight users post 20 messages each at once: the board keeps the newest
// messages up to its limit, each whole and once, each user's in the order
// posted.
TEST(SiteCommandTest, EightUsersPostingAtOnce) {
  constexpr int kUsers = 8;
  constexpr int kPosts = 20;
  constexpr int kLimit = 40;
  Site site;
  editGlobal(site, [](GConfig& g) {
    plainLayout(g.mb, "board", "%u %t");
    g.mb.maxentrys = kLimit;
  });
  std::vector<int> failures(kUsers, 0);
  std::vector<std::thread> users;
  for (int u = 0; u < kUsers; ++u) {
    users.emplace_back([&, u] {
      for (int i = 0; i < kPosts; ++i) {
        const std::string user = "user" + std::to_string(u);
        RunResult run =
            site.site("/", "message " + user + " post " + std::to_string(i), user, "grp");
        if (run.hookExit("quipgate") != 0 || siteReply(run).size() != 1) ++failures[u];
      }
    });
  }
  for (std::thread& t : users) t.join();
  for (int u = 0; u < kUsers; ++u) EXPECT_EQ(failures[u], 0) << u;

  const Lines board = say(site, "board", "bob");
  ASSERT_EQ(board.size(), static_cast<size_t>(kLimit) + 2);
  std::map<std::string, std::vector<int>> kept;
  for (size_t i = 1; i + 1 < board.size(); ++i) {
    const std::string& row = board[i];
    const std::string::size_type blank = row.find(' ');
    ASSERT_NE(blank, std::string::npos) << row;
    const std::string user = row.substr(0, blank);
    const std::string lead = user + " post ";
    ASSERT_EQ(row.compare(blank + 1, lead.size(), lead), 0) << row;  // none torn or mixed
    kept[user].push_back(std::stoi(row.substr(blank + 1 + lead.size())));
  }
  // The board keeps a tail of the order the posts took the lock in: of each
  // user, the last ones posted.
  for (const auto& user : kept) {
    for (size_t i = 0; i < user.second.size(); ++i) {
      EXPECT_EQ(user.second[i], kPosts - static_cast<int>(user.second.size()) + static_cast<int>(i))
          << user.first;
    }
  }
}

}  // namespace
}  // namespace e2e
