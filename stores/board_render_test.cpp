#include <gtest/gtest.h>

#include <string>

#include "platform/fs.h"
#include "stores/board.h"
#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::textBytes;

const DateTime kWhen{{7, 5, 1, 2001}, {10, 9, 8}};

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
  Board board(settings);
  for (int i = 1; i <= 21; ++i)
    ASSERT_GT(board.add(("m" + std::to_string(i)).c_str(), "bob", &kWhen), 0);
  board.render(-1, false);
  EXPECT_EQ(board.header(), "HEAD\n");
  EXPECT_EQ(board.footer(), "TAIL\n");
  const std::string rows = board.rows().str();
  EXPECT_EQ(rows.substr(0, 33), "|  01  | bob      | m2         |\n");
  EXPECT_EQ(rows.substr(19 * 33), "|  20  | bob      | m21        |\n");
  // The rendering is kept, not appended again; a change redoes it.
  board.render(-1, false);
  EXPECT_EQ(board.rows().str(), rows);
  board.render(3, false);
  EXPECT_EQ(board.rows().str(), rows.substr(0, 3 * 33));
  EXPECT_EQ(board.header(), "HEAD\n");
  board.render(0, false);
  EXPECT_EQ(board.rows(), "");
  EXPECT_TRUE(board.remove(0));
  board.render(1, false);
  EXPECT_EQ(board.rows(), "|  01  | bob      | m3         |\n");

  // Long values overflow their column unless cut; the row number is as
  // wide as the limit's digits; a month no clock gives still shows its
  // entry, with empty names; an empty head is still a line.
  settings.lineformat = "[%u][%t][%r] %d.%o.%y %Y %O/%p %h:%m:%s";
  settings.maxentrys = 1000;
  settings.head = "";
  Board wide(settings);
  DateTime odd{{0, 13, 0, 2003}, {}};
  ASSERT_EQ(wide.add("a text longer than ten", "abcdefghijk", &kWhen), 1);
  ASSERT_EQ(wide.add("odd", "u", &odd), 2);
  wide.render(-1, false);
  EXPECT_EQ(wide.header(), "\n");
  EXPECT_EQ(wide.rows(),
            "[abcdefghijk][a text longer than ten][0001] 07.05.01 2001 may/may 08:09:10\n"
            "[u       ][odd       ][0002] 00.13.03 2003 / 00:00:00\n");
  settings.cutun = true;
  settings.cuttxt = true;
  EXPECT_TRUE(wide.remove(1));
  wide.render(-1, false);
  EXPECT_EQ(wide.rows(), "[abcdefgh][a text lon][0001] 07.05.01 2001 may/may 08:09:10\n");
}

TEST(BoardRenderTest, NewDirListIncludesModuleLists) {
  ScopedTempDir temp;
  makeDirs(temp.at("data/a"));
  ASSERT_TRUE(platform::changeDir(temp.at("data").c_str()));

  NewDirListSettings special;
  special.type = 3;
  special.maxentrys = 20;
  special.maxmode = true;
  special.lineformat = "  %u: %n";
  special.head = "%X<movies>";
  {
    Board movies(special);
    ASSERT_EQ(movies.prepend("/movies/Old.Film", "ann", &kWhen), 1);
    ASSERT_EQ(movies.prepend("/movies/New.Film", "bo", &kWhen), 2);
    ASSERT_EQ(movies.save("movies.ndl"), 1);
    // Lists that only a name reaching out of the data folder would find.
    ASSERT_EQ(movies.save("../outside.ndl"), 1);
    ASSERT_EQ(movies.save("a/b.ndl"), 1);
  }

  NewDirListSettings main = special;
  main.lineformat = "%r %t";
  main.head =
      "Main\n%X<movies> the rest of this line is dropped\n%other\n%X<../outside>\n%X<a/b>\n"
      "%X<none>\n%Xno name\n\nEnd\n";
  main.tail = "%X<movies\nbye";
  Board list(main, &special);
  ASSERT_EQ(list.prepend("/mp3/Some.Release", "cy", &kWhen), 1);
  list.render(-1, false);
  EXPECT_EQ(list.header(), "Main\n  bo: New.Film\n  ann: Old.Film\n\nEnd\n");
  EXPECT_EQ(list.rows(), "01 /mp3/Some.Release\n");
  EXPECT_EQ(list.footer(), "  bo: New.Film\n  ann: Old.Film\nbye\n");
  list.render(1, false);
  EXPECT_EQ(list.header(), "Main\n  bo: New.Film\n\nEnd\n");

  // Shown on its own, a module list has no includes: its head stands as
  // typed. The name column is the path's last part, padded or cut.
  special.namelen = 10;
  Board alone(special);
  ASSERT_EQ(alone.load("movies.ndl"), 1);
  alone.render(-1, false);
  EXPECT_EQ(alone.header(), "%X<movies>\n");
  EXPECT_EQ(alone.rows(), "  bo: New.Film  \n  ann: Old.Film  \n");
  special.cutname = true;
  special.namelen = 3;
  ASSERT_EQ(alone.add("no-slash", "dy", &kWhen), 3);
  alone.render(-1, false);
  EXPECT_EQ(alone.rows(), "  bo: New\n  ann: Old\n  dy: no-\n");
}

TEST(BoardRenderTest, WriteFilesToEveryName) {
  ScopedTempDir temp;
  BoardSettings settings = messageBoard();
  settings.head = "HEAD\r\nTOP";  // texts with CR LF, as the defaults hold
  settings.tail = "TAIL\r\n";
  Board board(settings);
  ASSERT_EQ(board.add("hi", "al", &kWhen), 1);
  // Written in text mode, one line end of the platform per line.
  const std::string expected = textBytes("HEAD\nTOP\n|  01  | al       | hi         |\nTAIL\n\n");
  const std::string one = temp.at("one.txt");
  const std::string two = temp.at("two.txt");
  EXPECT_TRUE(board.writeFiles((one + "|" + two + "|").c_str(), -1));
  EXPECT_EQ(readFile(one), expected);
  EXPECT_EQ(readFile(two), expected);

  // A folder where a file should go: that name fails, the others are
  // written all the same.
  const std::string blocked = temp.at("blocked.txt");
  makeDirs(blocked);
  testing_support::removeFileForTest(two);
  EXPECT_FALSE(board.writeFiles((blocked + "|" + two).c_str(), -1));
  EXPECT_EQ(readFile(two), expected);
  EXPECT_TRUE(testing_support::isDir(blocked));
}

}  // namespace
