// The message and request boards through the hook: rights by level, every
// text, the numbers that address entries, and the fill of a request.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "programs/quipgate/quipgate_test_site.h"
#include "stores/board.h"

namespace {

using quipgate_test::Answer;
using quipgate_test::QuipSite;
using testing_support::exists;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

const char kAdded[] = "Your message was added as number ";
const char kNoPost[] = "You don't have permission to post messages.\n";
const char kBadDelete[] = "Cannot delete message: bad argument.\n";
const char kNoDelete[] = "You don't have permission to delete other users message board entrys.\n";

// Boards laid out as "H", one "number|user|text" row per entry, "T".
void plainLayout(BoardSettings& board) {
  board.head = "H";
  board.tail = "T";
  board.lineformat = "%r|%u|%t";
  board.unlen = 0;
  board.tlen = 0;
}

struct BoardSite : QuipSite {
  BoardSite() {
    plainLayout(global.mb);
    plainLayout(global.rb);
    global.mb.file = XString(testing_support::nativePath("../mb1.txt|../mb2.txt"));
    global.rb.en = true;
    global.rb.file = XString(testing_support::nativePath("../rb.txt"));
    save();
  }
  std::string board() { return reply("board"); }
  std::string requests() { return reply("showreq"); }
};

TEST(QuipgateBoardTest, PostShowAndRightsByLevel) {
  BoardSite site;
  EXPECT_EQ(site.board(), "H\nT\n");
  EXPECT_EQ(site.reply("message hello"), kAdded + std::string("1.\n"));
  // A guest may post with the default level 3; a text of blanks is a text.
  EXPECT_EQ(site.reply("message    ", "ann", "3"), kAdded + std::string("2.\n"));
  const std::string shown = "H\n01|bob|hello\n02|ann|   \nT\n";
  EXPECT_EQ(site.board(), shown);
  EXPECT_EQ(site.reply("message"), shown);  // no text: the board
  // Every change rewrites the shown files; a show leaves them.
  EXPECT_EQ(testing_support::readTextFile(joinPath(site.box.root(), "mb1.txt")), shown);
  EXPECT_EQ(testing_support::readTextFile(joinPath(site.box.root(), "mb2.txt")), shown);

  site.global.mb.postm = 2;
  site.save();
  const std::string store = readFile(joinPath(site.box.data(), "mboard.sav"));
  EXPECT_EQ(site.reply("message nope", "ann", "3"), kNoPost);
  // An empty or worded level field is a guest, not root.
  EXPECT_EQ(site.reply("message nope", "ann", ""), kNoPost);
  EXPECT_EQ(site.reply("message nope", "ann", "guest"), kNoPost);
  EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), store);
  EXPECT_EQ(site.reply("message 2abc is a normal user", "cy", "2abc"),
            kAdded + std::string("3.\n"));

  // Control bytes reach no other user's client; bytes from 0x80 stay.
  EXPECT_EQ(site.reply("message a\x01"
                       "b\x7f"
                       "c\xe9"),
            kAdded + std::string("4.\n"));
  EXPECT_NE(site.board().find("04|bob|a?b?c\xe9\n"), std::string::npos);

  // A month that no calendar has shows no month name; the entry still shows.
  Board board(site.global.mb);
  ASSERT_EQ(board.load("mboard.sav"), 1);
  DateTime when;
  when.setNow();
  when.date.month = 13;
  ASSERT_EQ(board.add(XString("odd"), XString("dan"), &when), 5);
  ASSERT_EQ(board.save("mboard.sav"), 1);
  site.global.mb.lineformat = "%t [%p] [%O] %o";
  site.save();
  EXPECT_NE(site.board().find("odd [] [] 13\n"), std::string::npos);
}

TEST(QuipgateBoardTest, DeleteByOwnerOrRightsAndEveryBadNumber) {
  BoardSite site;
  site.global.mb.delm = 1;
  site.save();
  int n = 0;
  for (const char* user : {"bob", "ann", "cy"}) {
    ASSERT_EQ(site.reply(std::string("message by ") + user, user),
              kAdded + std::to_string(++n) + ".\n");
  }
  const std::string store = readFile(joinPath(site.box.data(), "mboard.sav"));
  for (const char* bad : {"delmessage", "delmessage 0", "delmessage x1", "delmessage 4",
                          "delmessage -1", "delmessage 4294967297", "delmessage 4294967296"}) {
    EXPECT_EQ(site.reply(bad), kBadDelete) << bad;
  }
  // Another user, and the owner's name in another case, need the rights.
  EXPECT_EQ(site.reply("delmessage 1", "BOB"), kNoDelete);
  EXPECT_EQ(site.reply("delmessage 1", "ann"), kNoDelete);
  EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), store);

  // Leading blanks and trailing text: entry 2, by its owner.
  EXPECT_EQ(site.reply("deletemessage    2x", "ann"), "Message deleted.\n");
  EXPECT_EQ(site.board(), "H\n01|bob|by bob\n02|cy|by cy\nT\n");
  EXPECT_EQ(testing_support::readTextFile(joinPath(site.box.root(), "mb1.txt")),
            "H\n01|bob|by bob\n02|cy|by cy\nT\n");
  // A super user (1) may delete any entry with delm 1, and so may any
  // negative level.
  EXPECT_EQ(site.reply("delmessage 2", "ann", "1"), "Message deleted.\n");
  EXPECT_EQ(site.reply("delmessage 1", "ann", "-5"), "Message deleted.\n");
  EXPECT_EQ(site.board(), "H\nT\n");
}

// A refused delete or fill changes no file: not the stores, and not the
// shown files, which keep what was planted in them; no folder is made and
// nothing is posted.
TEST(QuipgateBoardTest, RefusedCommandsChangeNoFile) {
  BoardSite site;
  const std::string requests = joinPath(site.box.site(), "requests/");
  makeDirs(requests);
  site.global.rb.preqpath = XString(requests);
  site.global.rb.makedir = true;
  site.global.rb.postfilled = true;
  site.save();
  ASSERT_EQ(site.reply("message by bob"), kAdded + std::string("1.\n"));
  ASSERT_EQ(site.reply("request Album"), "Your request was added as number 1.\n");

  const char kBadRequest[] = "Cannot delete request: bad argument.\n";
  const char kNoRequest[] =
      "You don't have permission to delete other users request board entrys.\n";
  const char kBadFill[] = "Cannot fill request: bad argument.\n";
  struct Refused {
    const char* text;
    const char* user;
    const char* answer;
  } refused[] = {
      {"delmessage 2", "bob", kBadDelete},   {"delmessage 0", "bob", kBadDelete},
      {"delmessage x", "bob", kBadDelete},   {"delmessage 1", "ann", kNoDelete},
      {"delmessage 1", "BOB", kNoDelete},    {"delrequest 2", "bob", kBadRequest},
      {"deleterequest", "bob", kBadRequest}, {"delrequest 1", "ann", kNoRequest},
      {"fillrequest 2", "ann", kBadFill},    {"fillreq 0", "ann", kBadFill},
      {"fillrequest none", "ann", kBadFill},
  };
  const std::vector<std::string> shownFiles = {joinPath(site.box.root(), "mb1.txt"),
                                               joinPath(site.box.root(), "mb2.txt"),
                                               joinPath(site.box.root(), "rb.txt")};
  const std::string messages = readFile(joinPath(site.box.data(), "mboard.sav"));
  const std::string requestStore = readFile(joinPath(site.box.data(), "rboard.sav"));
  for (const std::string& file : shownFiles) writeFile(file, "planted");
  // A second name for each store shows whether it was replaced, even by the
  // same bytes.
  for (const char* store : {"mboard.sav", "rboard.sav"}) {
    std::filesystem::create_hard_link(joinPath(site.box.data(), store),
                                      joinPath(site.box.root(), std::string(store) + ".before"));
  }
  const std::vector<std::string> data = testing_support::listNames(site.box.data());
  const std::vector<std::string> root = testing_support::listNames(site.box.root());

  for (const Refused& r : refused) {
    EXPECT_EQ(site.reply(r.text, r.user), r.answer) << r.text;
    for (const std::string& file : shownFiles) EXPECT_EQ(readFile(file), "planted") << r.text;
    EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), messages) << r.text;
    EXPECT_EQ(readFile(joinPath(site.box.data(), "rboard.sav")), requestStore) << r.text;
    for (const char* store : {"mboard.sav", "rboard.sav"}) {
      EXPECT_TRUE(
          platform::sameFile(joinPath(site.box.data(), store).c_str(),
                             joinPath(site.box.root(), std::string(store) + ".before").c_str()))
          << r.text << " replaced " << store;
    }
    EXPECT_EQ(testing_support::listNames(site.box.data()), data) << r.text;
    EXPECT_EQ(testing_support::listNames(site.box.root()), root) << r.text;
    EXPECT_TRUE(testing_support::listNames(requests).empty()) << r.text;
  }
}

TEST(QuipgateBoardTest, FullBoardsDisabledBoardsAndNoLock) {
  BoardSite site;
  site.global.mb.maxentrys = 3;
  site.save();
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(site.reply("message m" + std::to_string(i)),
              kAdded + std::to_string(i < 3 ? i : 3) + ".\n");
  }
  EXPECT_EQ(site.board(), "H\n1|bob|m2\n2|bob|m3\n3|bob|m4\nT\n");
  site.global.mb.maxmode = false;
  site.save();
  const std::string store = readFile(joinPath(site.box.data(), "mboard.sav"));
  EXPECT_EQ(site.reply("message m5"),
            "Sorry, the message board is full. An old message has to be deleted first.\n");
  EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), store);

  // Without the site's lock nothing is read or written, and there is no
  // reply; a show needs no lock.
  testing_support::removeFileForTest(joinPath(site.box.data(), "brindlecast.lock"));
  makeDirs(joinPath(site.box.data(), "brindlecast.lock"));
  Answer a = site.run("message m6");
  EXPECT_EQ(a.code, kExitNoLock);
  EXPECT_FALSE(a.replied());
  EXPECT_EQ(site.run("delmessage 1").code, kExitNoLock);
  EXPECT_EQ(site.run("fillrequest 1").code, kExitNoLock);
  EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), store);
  EXPECT_EQ(site.board(), "H\n1|bob|m2\n2|bob|m3\n3|bob|m4\nT\n");

  // A board that is off says so, or says nothing at all.
  site.global.mb.en = false;
  site.global.rb.en = false;
  site.save();
  for (const char* text : {"board", "message hi", "delmessage 1"}) {
    EXPECT_EQ(site.reply(text), "The message board is disabled.\n") << text;
  }
  for (const char* text : {"showrequests", "request hi", "fillreq 1", "deleterequest 1"}) {
    EXPECT_EQ(site.reply(text), "The request board is disabled.\n") << text;
  }
  site.global.mb.messageifdis = false;
  site.save();
  for (const char* text : {"board", "message hi", "delmessage 1"}) {
    a = site.run(text);
    EXPECT_EQ(a.code, kExitDone);
    EXPECT_FALSE(a.replied()) << text;
  }
  EXPECT_EQ(readFile(joinPath(site.box.data(), "mboard.sav")), store);
}

TEST(QuipgateBoardTest, RequestsPostDeleteAndTheirTexts) {
  BoardSite site;
  site.global.rb.postr = 2;
  site.global.rb.delr = 1;
  site.save();
  EXPECT_EQ(site.reply("request Album"), "Your request was added as number 1.\n");
  EXPECT_EQ(site.reply("request Other", "ann", "3"),
            "You don't have permission to post request board entrys.\n");
  EXPECT_EQ(site.reply("request", "ann"), "H\n01|bob|Album\nT\n");
  EXPECT_EQ(site.reply("delrequest 1", "ann"),
            "You don't have permission to delete other users request board entrys.\n");
  EXPECT_EQ(site.reply("delrequest 2"), "Cannot delete request: bad argument.\n");
  EXPECT_EQ(site.reply("deleterequest 1"), "Request deleted.\n");
  EXPECT_EQ(site.requests(), "H\nT\n");
  EXPECT_EQ(testing_support::readTextFile(joinPath(site.box.root(), "rb.txt")), "H\nT\n");
}

// A fill tells where to upload, makes the request's folder when the name is
// plain and a request folder is set, takes the request off the board and
// notes the fill on the message board.
TEST(QuipgateBoardTest, FillRequests) {
  BoardSite site;
  const std::string requests = joinPath(site.box.site(), "requests/");
  makeDirs(requests);
  writeFile(joinPath(site.box.root(), "server.vfs"),
            site.box.site() + "|/|o|g|777|r|0|0|0|0|0|0|0|0|\n");
  site.global.vfsfile = XString(joinPath(site.box.root(), "server.vfs"));
  site.global.rb.preqpath = XString(requests);
  site.global.rb.makedir = true;
  site.global.rb.postfilled = true;
  site.save();

  ASSERT_EQ(site.reply("request Album"), "Your request was added as number 1.\n");
  EXPECT_EQ(site.reply("fillreq 2", "cy"), "Cannot fill request: bad argument.\n");
  EXPECT_EQ(site.reply("fillrequest 0", "cy"), "Cannot fill request: bad argument.\n");
  EXPECT_EQ(site.reply("fillrequest 1", "cy"), "Please upload to \"/requests/Album\".\n");
  EXPECT_TRUE(isDir(requests + "Album"));
  EXPECT_EQ(site.requests(), "H\nT\n");
  EXPECT_EQ(site.board(), "H\n01|cy|cy filled request: Album\nT\n");

  // Names that would reach elsewhere, that no Windows name holds, or that
  // the chmod program would expand make no folder; the rest of the fill
  // happens all the same. A control byte is kept as '?' on the board.
  struct Named {
    const char* request;
    const char* shown;
  } names[] = {{"../evil", "../evil"}, {"..", ".."},        {".", "."},         {"a/b", "a/b"},
               {"a\\b", "a\\b"},       {"bell\a", "bell?"}, {"bell?", "bell?"}, {"a*", "a*"},
               {"c:x", "c:x"},         {"a\"b", "a\"b"},    {"a<b", "a<b"},     {"a>b", "a>b"},
               {"a|b", "a|b"}};
  for (const Named& n : names) {
    ASSERT_EQ(site.reply(std::string("request ") + n.request),
              "Your request was added as number 1.\n");
    EXPECT_EQ(site.reply("fillrequest 1"),
              std::string("Please upload to \"/requests/") + n.shown + "\".\n");
    EXPECT_EQ(site.requests(), "H\nT\n") << n.shown;
    EXPECT_NE(site.board().find(std::string("bob filled request: ") + n.shown), std::string::npos)
        << n.shown;
  }
  EXPECT_FALSE(exists(joinPath(site.box.site(), "evil")));
  EXPECT_FALSE(exists(requests + "a"));
  // Dots inside a name are plain.
  ASSERT_EQ(site.reply("request Best..Of"), "Your request was added as number 1.\n");
  EXPECT_EQ(site.reply("fillrequest 1"), "Please upload to \"/requests/Best..Of\".\n");
  EXPECT_EQ(testing_support::listNames(requests), (std::vector<std::string>{"Album", "Best..Of"}));

  // Without a request folder nothing is made, least of all in the data
  // folder; the vfs has no path for it. A full message board that may not
  // drop takes no note, and says nothing of it.
  site.global.rb.preqpath = "";
  site.global.mb.maxentrys = 1;
  site.global.mb.maxmode = false;
  site.save();
  ASSERT_EQ(site.reply("request Plain"), "Your request was added as number 1.\n");
  EXPECT_EQ(site.reply("fillrequest 1"), "Please upload to \"Plain\".\n");
  EXPECT_FALSE(exists(joinPath(site.box.data(), "Plain")));
  EXPECT_EQ(site.requests(), "H\nT\n");
  EXPECT_EQ(site.board(), "H\n1|cy|cy filled request: Album\nT\n");
}

}  // namespace
