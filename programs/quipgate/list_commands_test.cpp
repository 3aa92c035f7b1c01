// The new-directory lists with every word form, and the playlist command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/quipgate/quipgate_test_site.h"
#include "stores/board.h"

namespace {

using quipgate_test::Answer;
using quipgate_test::QuipSite;
using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

void plainLayout(BoardSettings& list, const char* head) {
  list.head = head;
  list.tail = "T";
  list.lineformat = "%r|%t";
  list.tlen = 0;
}

// A list of `n` folders "/<prefix>1" .. "/<prefix>n", the newest first.
void storeList(const NewDirListSettings& settings, const std::string& file,
               const std::string& prefix, int n) {
  Board list(settings);
  for (int i = 1; i <= n; ++i) {
    ASSERT_GT(list.prepend(XString("/" + prefix + std::to_string(i)), XString("bob")), 0);
  }
  ASSERT_EQ(list.save(file.c_str()), 1);
}

// The rendering of a list: head, rows "NN|/<prefix>i" from the newest, tail.
std::string shown(const char* head, const std::string& prefix, int newest, int rows) {
  std::string text = std::string(head) + "\n";
  for (int i = 0; i < rows; ++i) {
    text += (i < 9 ? "0" : "") + std::to_string(i + 1) + "|/" + prefix +
            std::to_string(newest - i) + "\n";
  }
  return text + "T\n";
}

struct ListSite : QuipSite {
  ListSite() {
    plainLayout(global.ndl, "H");
    plainLayout(global.ndlspecial, "S");
    save();
    storeList(global.ndl, Board::kNewDirListFile, "d", 10);
    storeList(global.ndlspecial, "foo.ndl", "f", 3);
  }
};

TEST(QuipgateListTest, WordFormsPickTheListAndItsRows) {
  ListSite site;
  EXPECT_EQ(site.reply("new"), shown("H", "d", 10, 10));
  EXPECT_EQ(site.reply("ndl 0"), "H\nT\n");
  EXPECT_EQ(site.reply("newdir 3"), shown("H", "d", 10, 3));
  EXPECT_EQ(site.reply("new  7"), shown("H", "d", 10, 7));  // word1 empty, word2 7
  EXPECT_EQ(site.reply("new 1.5"), shown("H", "d", 10, 1));
  EXPECT_EQ(site.reply("new ,"), "H\nT\n");
  EXPECT_EQ(site.reply("new 99999999999999999999"), shown("H", "d", 10, 10));
  EXPECT_EQ(site.reply("new  words"), shown("H", "d", 10, 10));  // word1 empty, word2 no number

  EXPECT_EQ(site.reply("new 2 foo"), shown("S", "f", 3, 2));
  EXPECT_EQ(site.reply("new foo 2 and more"), shown("S", "f", 3, 2));
  EXPECT_EQ(site.reply("new foo bar"), shown("S", "f", 3, 3));
  EXPECT_EQ(site.reply("new FOO"), shown("S", "f", 3, 3));  // found whatever its case
  EXPECT_EQ(site.reply("new 5 6"), "Invalid new dir list name: 6.\n");
  storeList(site.global.ndlspecial, "6.ndl", "s", 8);
  EXPECT_EQ(site.reply("new 5 6"), shown("S", "s", 8, 5));

  // The main list includes special lists through its head.
  site.global.ndl.head = "H\n%X<foo> rest of the line\n%dropped";
  site.save();
  EXPECT_EQ(site.reply("new 1"), "H\n01|/f3\n01|/d10\nT\n");
}

TEST(QuipgateListTest, ListNamesReachNothingOutsideTheDataFolder) {
  ListSite site;
  storeList(site.global.ndlspecial, joinPath(site.box.root(), "outside.ndl"), "o", 2);
  makeDirs(joinPath(site.box.data(), "folder.ndl"));
  // What "c:outside" would read: on Windows that drive's current folder,
  // here the data folder itself; elsewhere a file of that name.
#ifdef _WIN32
  storeList(site.global.ndlspecial, joinPath(site.box.data(), "outside.ndl"), "c", 2);
#else
  storeList(site.global.ndlspecial, joinPath(site.box.data(), "c:outside.ndl"), "c", 2);
#endif
  // (".." is a number word: a row count of 0.)
  for (const char* name :
       {"../outside", "a/b", "a\\b", "c:outside", "..foo", "folder", "missing"}) {
    EXPECT_EQ(site.reply(std::string("new ") + name),
              std::string("Invalid new dir list name: ") + name + ".\n");
  }
  // The main list off: no list at all, special ones neither.
  site.global.ndl.en = false;
  site.save();
  EXPECT_EQ(site.reply("new foo"), "The new dir list is disabled.\n");
  site.global.ndl.messageifdis = false;
  site.save();
  for (const char* text : {"new", "new foo"}) {
    Answer a = site.run(text);
    EXPECT_EQ(a.code, 0);
    EXPECT_FALSE(a.replied()) << text;
  }
}

TEST(QuipgateListTest, Playlist) {
  QuipSite site;
  const std::string rel = site.release("Some-Release");
  Answer a = site.run("playlist", "bob", "2", rel);
  EXPECT_EQ(a.name, "site-playlist");
  EXPECT_EQ(a.text, "Playlist not created: no mp3 present.");

  writeFile(joinPath(rel, "Rel.sfv"), "b.mp3 00000000\n");
  writeFile(joinPath(rel, "B.MP3"), "x");
  writeFile(joinPath(rel, "a.mp3"), "x");
  site.box.clearChmodLog();
  a = site.run("MakeM3u", "bob", "2", rel);
  EXPECT_EQ(a.text, "Playlist created.\n");
  EXPECT_EQ(readFile(joinPath(rel, "Rel.m3u")), testing_support::textBytes("a.mp3\nb.mp3\n"));
  EXPECT_EQ(site.box.chmodLog(),
            std::vector<std::string>{"764 bob grp " + joinPath(rel, "Rel.m3u")});
  // Rebuilt every time.
  writeFile(joinPath(rel, "c.mp3"), "x");
  EXPECT_EQ(site.run("makeplaylist", "bob", "2", rel).text, "Playlist created.\n");
  EXPECT_EQ(readFile(joinPath(rel, "Rel.m3u")),
            testing_support::textBytes("a.mp3\nb.mp3\nc.mp3\n"));

  testing_support::removeFileForTest(joinPath(rel, "Rel.m3u"));
  makeDirs(joinPath(rel, "Rel.m3u"));
  EXPECT_EQ(site.run("playlist", "bob", "2", rel).text, "Cannot create playlist.\n");
}

}  // namespace
