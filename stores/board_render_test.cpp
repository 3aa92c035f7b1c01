#include <gtest/gtest.h>

#include <string>

#include "stores/board.h"
#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;

DateTime at(int year, int month, int day, int hour, int minute, int second) {
  DateTime when;
  when.date.year = year;
  when.date.month = static_cast<uint8_t>(month);
  when.date.day = static_cast<uint8_t>(day);
  when.time.hour = static_cast<uint8_t>(hour);
  when.time.minute = static_cast<uint8_t>(minute);
  when.time.second = static_cast<uint8_t>(second);
  return when;
}

BoardSettings messageBoard() {
  BoardSettings s;
  s.type = 1;
  s.maxentrys = 20;
  s.maxmode = true;
  s.lineformat = "|  %r  | %u | %t |";
  s.head = "HEAD";
  s.tail = "TAIL";
  s.unlen = 8;
  s.tlen = 10;
  return s;
}

TEST(BoardRenderTest, RowsColumnsAndLimits) {
  BoardSettings settings = messageBoard();
  DateTime when = at(2001, 5, 7, 8, 9, 10);
  Board board(settings);
  for (int i = 1; i <= 21; ++i)
    ASSERT_GT(board.add(("m" + std::to_string(i)).c_str(), "bob", &when), 0);
  board.render(-1, false);
  EXPECT_EQ(board.header(), "HEAD\n");
  EXPECT_EQ(board.footer(), "TAIL\n");
  std::string rows = board.rows().str();
  EXPECT_EQ(rows.substr(0, 33), "|  01  | bob      | m2         |\n");
  EXPECT_NE(rows.find("|  20  | bob      | m21        |\n"), std::string::npos);
  EXPECT_EQ(rows.size(), 20u * 33u);

  // The rendering is kept, not appended again; a change redoes it.
  board.render(-1, false);
  EXPECT_EQ(board.rows().length(), 20u * 33u);
  board.render(3, false);
  EXPECT_EQ(board.rows().str(), rows.substr(0, 3 * 33));
  EXPECT_EQ(board.header(), "HEAD\n");
  board.render(0, false);
  EXPECT_EQ(board.rows(), "");
  EXPECT_TRUE(board.remove(0));
  board.render(3, false);
  EXPECT_EQ(board.rows().str().substr(0, 33), "|  01  | bob      | m3         |\n");

  // Long values overflow their column unless cut; the row number is as
  // wide as the limit's digits.
  settings.lineformat = "[%u][%t][%r]";
  settings.maxentrys = 1000;
  Board wide(settings);
  ASSERT_EQ(wide.add("a text longer than ten", "abcdefghijk", &when), 1);
  wide.render(-1, false);
  EXPECT_EQ(wide.rows(), "[abcdefghijk][a text longer than ten][0001]\n");
  settings.cutun = true;
  settings.cuttxt = true;
  wide.clear();
  ASSERT_EQ(wide.add("a text longer than ten", "abcdefghijk", &when), 1);
  wide.render(-1, false);
  EXPECT_EQ(wide.rows(), "[abcdefgh][a text lon][0001]\n");

  // Date keys; a month no clock gives still shows its entry, with empty
  // names. An empty head is still a line.
  settings.lineformat = "%d.%o.%y %Y %O/%p %h:%m:%s %t";
  settings.head = "";
  Board dated(settings);
  DateTime bad = at(2003, 13, 0, 0, 0, 0);
  ASSERT_EQ(dated.add("ok", "u", &when), 1);
  ASSERT_EQ(dated.add("odd", "u", &bad), 2);
  dated.render(-1, false);
  EXPECT_EQ(dated.header(), "\n");
  EXPECT_EQ(dated.rows(),
            "07.05.01 2001 may/may 08:09:10 ok        \n"
            "00.13.03 2003 / 00:00:00 odd       \n");
}

TEST(BoardRenderTest, NewDirListIncludesModuleLists) {
  ScopedTempDir temp;
  makeDirs(temp.at("data/a"));
  ASSERT_EQ(chdir(temp.at("data").c_str()), 0);
  DateTime when = at(2001, 1, 1, 0, 0, 0);

  NewDirListSettings special;
  special.type = 3;
  special.maxentrys = 20;
  special.maxmode = true;
  special.lineformat = "  %u: %n";
  special.head = "%X<movies>";
  special.tail = "special tail";
  {
    Board movies(special);
    ASSERT_EQ(movies.prepend("/movies/Old.Film", "ann", &when), 1);
    ASSERT_EQ(movies.prepend("/movies/New.Film", "bo", &when), 2);
    ASSERT_EQ(movies.save("movies.ndl"), 1);
    // Lists that only a name reaching out of the folder would find.
    ASSERT_EQ(movies.save("../outside.ndl"), 1);
    ASSERT_EQ(movies.save("a/b.ndl"), 1);
  }

  NewDirListSettings main;
  main.type = 3;
  main.maxentrys = 20;
  main.maxmode = true;
  main.lineformat = "%r %t";
  main.head =
      "Main\n%X<movies> the rest of this line is dropped\n%other\n%X<../outside>\n%X<a/b>\n"
      "%X<none>\n%Xno name\n\nEnd\n";
  main.tail = "%X<movies\nbye";
  Board list(main, &special);
  ASSERT_EQ(list.prepend("/mp3/Some.Release", "cy", &when), 1);
  list.render(-1, false);
  EXPECT_EQ(list.header(), "Main\n  bo: New.Film\n  ann: Old.Film\n\nEnd\n");
  EXPECT_EQ(list.rows(), "01 /mp3/Some.Release\n");
  EXPECT_EQ(list.footer(), "  bo: New.Film\n  ann: Old.Film\nbye\n");
  list.render(1, false);
  EXPECT_EQ(list.header(), "Main\n  bo: New.Film\n\nEnd\n");

  // Shown on its own, a module list has no includes: its head stands as
  // typed. The name column is the last part of the path, padded or cut.
  special.namelen = 10;
  Board alone(special);
  ASSERT_EQ(alone.load("movies.ndl"), 1);
  alone.render(-1, false);
  EXPECT_EQ(alone.header(), "%X<movies>\n");
  EXPECT_EQ(alone.rows(), "  bo: New.Film  \n  ann: Old.Film  \n");
  special.cutname = true;
  special.namelen = 3;
  ASSERT_EQ(alone.add("no-slash", "dy", &when), 3);
  alone.render(-1, false);
  EXPECT_EQ(alone.rows(), "  bo: New\n  ann: Old\n  dy: no-\n");
}

TEST(BoardRenderTest, WriteFilesToEveryName) {
  ScopedTempDir temp;
  BoardSettings settings = messageBoard();
  DateTime when = at(2001, 1, 1, 0, 0, 0);
  Board board(settings);
  ASSERT_EQ(board.add("hi", "al", &when), 1);
  const std::string expected = "HEAD\n|  01  | al       | hi         |\nTAIL\n";

  std::string one = temp.at("one.txt");
  std::string two = temp.at("two.txt");
  EXPECT_TRUE(board.writeFiles((one + "|" + two + "|").c_str(), -1));
  EXPECT_EQ(readFile(one), expected);
  EXPECT_EQ(readFile(two), expected);

  // A folder where a file should go: that name fails, the others are
  // written all the same.
  std::string blocked = temp.at("blocked.txt");
  makeDirs(blocked);
  testing_support::removeFileForTest(two);
  EXPECT_FALSE(board.writeFiles((blocked + "|" + two).c_str(), -1));
  EXPECT_EQ(readFile(two), expected);
  EXPECT_TRUE(testing_support::isDir(blocked));
  EXPECT_TRUE(board.writeFiles("", -1));
}

}  // namespace
