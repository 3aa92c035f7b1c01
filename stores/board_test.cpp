#include "stores/board.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/xfile.h"
#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::vector<std::string> texts(const Board& board) {
  std::vector<std::string> out;
  for (Entry* e = board.head(); e != nullptr; e = e->next) out.push_back(e->text.str());
  return out;
}

DateTime at(int year, int month, int day, int weekday, int hour, int minute, int second) {
  DateTime when;
  when.date.year = year;
  when.date.month = static_cast<uint8_t>(month);
  when.date.day = static_cast<uint8_t>(day);
  when.date.weekday = static_cast<uint8_t>(weekday);
  when.time.hour = static_cast<uint8_t>(hour);
  when.time.minute = static_cast<uint8_t>(minute);
  when.time.second = static_cast<uint8_t>(second);
  return when;
}

std::string le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

// A store entry from the file's table: user, text, day, weekday, month,
// year, hour, minute, second.
std::string storedEntry(const std::string& user, const std::string& text, int day, int weekday,
                        int month, int year, int hour, int minute, int second) {
  std::string s = le32(static_cast<uint32_t>(user.size())) + user;
  s += le32(static_cast<uint32_t>(text.size())) + text;
  s += static_cast<char>(day);
  s += static_cast<char>(weekday);
  s += static_cast<char>(month);
  s += le32(static_cast<uint32_t>(year));
  s += static_cast<char>(hour);
  s += static_cast<char>(minute);
  s += static_cast<char>(second);
  return s;
}

// Two entries, written out byte by byte from the store's table.
const std::string kGoldenStore(
    "\x02\x00\x00\x00"
    "\x03\x00\x00\x00"
    "bob"
    "\x05\x00\x00\x00"
    "hello"
    "\x18\x01\x03\xD3\x07\x00\x00"  // Monday 24 March 2003
    "\x07\x05\x09"                  // 07:05:09
    "\x02\x00\x00\x00"
    "al"
    "\x00\x00\x00\x00"              // an empty text
    "\x01\x01\x01\xD1\x07\x00\x00"  // Monday 1 January 2001
    "\x17\x3B\x3A",                 // 23:59:58
    50);

BoardSettings boardSettings(unsigned int maxentrys, bool maxmode) {
  BoardSettings s;
  s.type = 1;
  s.maxentrys = maxentrys;
  s.maxmode = maxmode;
  return s;
}

NewDirListSettings listSettings(unsigned int maxentrys) {
  NewDirListSettings s;
  s.type = 3;
  s.maxentrys = maxentrys;
  s.maxmode = true;
  return s;
}

TEST(BoardTest, AddPrependRemoveAndTheirLimits) {
  DateTime when = at(2003, 3, 24, 1, 7, 5, 9);
  BoardSettings dropping = boardSettings(3, true);
  Board board(dropping);
  for (const char* t : {"a", "b", "c"}) EXPECT_GT(board.add(t, "u", &when), 0);
  EXPECT_EQ(board.add("d", "u", &when), 3);  // the oldest makes room
  EXPECT_EQ(texts(board), (std::vector<std::string>{"b", "c", "d"}));
  EXPECT_EQ(board.entryAt(2)->date.year, 2003);
  EXPECT_EQ(board.entryAt(3), nullptr);

  // Removing the last entry, then adding, links the new one after the new
  // last; indexes at or past the count change nothing.
  EXPECT_FALSE(board.remove(3));
  EXPECT_FALSE(board.remove(0xFFFFFFFFu));
  EXPECT_TRUE(board.remove(2));
  EXPECT_EQ(board.add("e", "u", &when), 3);
  EXPECT_TRUE(board.remove(1));
  EXPECT_EQ(texts(board), (std::vector<std::string>{"b", "e"}));
  EXPECT_TRUE(board.remove(0));
  EXPECT_TRUE(board.remove(0));
  EXPECT_EQ(board.count(), 0u);
  EXPECT_EQ(board.add("f", "u", &when), 1);
  EXPECT_EQ(texts(board), (std::vector<std::string>{"f"}));

  BoardSettings refusing = boardSettings(2, false);
  Board full(refusing);
  EXPECT_EQ(full.add("a", "u", &when), 1);
  EXPECT_EQ(full.add("b", "u", &when), 2);
  EXPECT_EQ(full.add("c", "u", &when), -1);
  EXPECT_EQ(full.prepend("c", "u", &when), -1);
  EXPECT_EQ(texts(full), (std::vector<std::string>{"a", "b"}));

  // A limit of 0 holds nothing, whether or not it may drop.
  BoardSettings none = boardSettings(0, true);
  Board empty(none);
  EXPECT_EQ(empty.add("a", "u", &when), -1);
  EXPECT_EQ(empty.prepend("a", "u", &when), -1);
  EXPECT_EQ(empty.count(), 0u);

  // Newest first: prepend makes room at the tail, and a following append
  // still finds the right tail.
  NewDirListSettings ndl = listSettings(3);
  Board list(ndl);
  for (const char* t : {"/1", "/2", "/3", "/4"}) EXPECT_GT(list.prepend(t, "u", &when), 0);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"/4", "/3", "/2"}));
  EXPECT_TRUE(list.remove(2));
  EXPECT_EQ(list.add("/0", "u", &when), 3);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"/4", "/3", "/0"}));

  // Posted control bytes never reach a list; a null date takes the clock.
  Board posted(dropping);
  EXPECT_EQ(posted.add(XString("a\tb\x1b[2J\x7f", 8), XString("u\n"), nullptr), 1);
  EXPECT_EQ(posted.entryAt(0)->text, "a?b?[2J?");
  EXPECT_EQ(posted.entryAt(0)->user, "u?");
  EXPECT_GE(posted.entryAt(0)->date.month, 1);
  std::string zero("x\0y", 3);
  XString withNul(zero.data(), 3);
  maskControlBytes(withNul);
  EXPECT_EQ(withNul, "x?y");
}

TEST(BoardStoreTest, GoldenFileAndRoundTrip) {
  ScopedTempDir temp;
  BoardSettings settings = boardSettings(20, true);
  {
    Board board(settings);
    DateTime first = at(2003, 3, 24, 1, 7, 5, 9);
    DateTime second = at(2001, 1, 1, 1, 23, 59, 58);
    ASSERT_EQ(board.add("hello", "bob", &first), 1);
    ASSERT_EQ(board.add("", "al", &second), 2);
    ASSERT_EQ(board.save(temp.at("golden.sav").c_str()), 1);
  }
  EXPECT_EQ(readFile(temp.at("golden.sav")), kGoldenStore);

  Board back(settings);
  ASSERT_EQ(back.load(temp.at("golden.sav").c_str()), 1);
  ASSERT_EQ(back.count(), 2u);
  Entry* e = back.entryAt(0);
  EXPECT_EQ(e->user, "bob");
  EXPECT_EQ(e->text, "hello");
  EXPECT_EQ(e->date.day, 24);
  EXPECT_EQ(e->date.weekday, 1);
  EXPECT_EQ(e->date.month, 3);
  EXPECT_EQ(e->time.hour, 7);
  EXPECT_EQ(back.entryAt(1)->time.second, 58);
  ASSERT_EQ(back.save(temp.at("again.sav").c_str()), 1);
  EXPECT_EQ(readFile(temp.at("again.sav")), kGoldenStore);

  // A list is stored the same way, head first.
  NewDirListSettings ndl = listSettings(20);
  Board list(ndl);
  ASSERT_EQ(list.load(temp.at("golden.sav").c_str()), 1);
  ASSERT_EQ(list.save(temp.at("list.sav").c_str()), 1);
  EXPECT_EQ(readFile(temp.at("list.sav")), kGoldenStore);

  // A missing store leaves the list as it was; one that cannot be written
  // leaves nothing behind.
  EXPECT_EQ(back.load(temp.at("missing.sav").c_str()), 0);
  EXPECT_EQ(back.count(), 2u);
  testing_support::makeDirs(temp.at("dir.sav"));
  EXPECT_EQ(back.save(temp.at("dir.sav").c_str()), 0);
  EXPECT_EQ(back.save(temp.at("no/such/folder.sav").c_str()), 0);
  EXPECT_EQ(testing_support::listNames(temp.path()),
            (std::vector<std::string>{"again.sav", "dir.sav", "golden.sav", "list.sav"}));
}

TEST(BoardStoreTest, LimitsApplyAgainOnLoad) {
  ScopedTempDir temp;
  std::string path = temp.at("eight.sav");
  std::string bytes = le32(8);
  for (int i = 1; i <= 8; ++i)
    bytes += storedEntry("u", "e" + std::to_string(i), 1, 1, 1, 2001, 0, 0, 0);
  writeFile(path, bytes);

  BoardSettings dropping = boardSettings(5, true);
  Board newest(dropping);
  ASSERT_EQ(newest.load(path.c_str()), 1);
  EXPECT_EQ(texts(newest), (std::vector<std::string>{"e4", "e5", "e6", "e7", "e8"}));

  BoardSettings refusing = boardSettings(5, false);
  Board first(refusing);
  ASSERT_EQ(first.load(path.c_str()), 1);
  EXPECT_EQ(texts(first), (std::vector<std::string>{"e1", "e2", "e3", "e4", "e5"}));

  // A new-directory list is stored newest first: after its limit was
  // lowered it keeps the head, and a new folder pushes out the oldest kept.
  NewDirListSettings ndl = listSettings(5);
  Board list(ndl);
  ASSERT_EQ(list.load(path.c_str()), 1);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"e1", "e2", "e3", "e4", "e5"}));
  EXPECT_EQ(list.prepend("e0", "u"), 5);
  ASSERT_EQ(list.save(path.c_str()), 1);
  Board reloaded(ndl);
  ASSERT_EQ(reloaded.load(path.c_str()), 1);
  EXPECT_EQ(texts(reloaded), (std::vector<std::string>{"e0", "e1", "e2", "e3", "e4"}));
}

TEST(BoardStoreTest, HostileStoresLoadWhatDecodes) {
  ScopedTempDir temp;
  std::string path = temp.at("hostile.sav");
  BoardSettings settings = boardSettings(1000, true);
  NewDirListSettings ndl = listSettings(1000);

  // Cut at every offset: the whole entries before the cut, nothing more.
  for (size_t cut = 0; cut <= kGoldenStore.size(); ++cut) {
    writeFile(path, kGoldenStore.substr(0, cut));
    Board board(settings);
    Board list(ndl);
    ASSERT_EQ(board.load(path.c_str()), 1) << cut;
    ASSERT_EQ(list.load(path.c_str()), 1) << cut;
    unsigned int whole = (cut >= 30 ? 1 : 0) + (cut >= 50 ? 1 : 0);
    EXPECT_EQ(board.count(), whole) << cut;
    EXPECT_EQ(list.count(), whole) << cut;
    if (whole > 0) {
      EXPECT_EQ(board.entryAt(0)->text, "hello");
    }
  }

  struct Case {
    const char* what;
    std::string bytes;
    unsigned int count;
  };
  std::string entry = storedEntry("u", "t", 1, 1, 1, 2001, 0, 0, 0);
  const Case cases[] = {
      {"count far beyond the entries", le32(0x7FFFFFFF) + entry + entry, 2},
      {"count of every bit", le32(0xFFFFFFFF) + entry, 0},
      {"negative count", le32(0x80000000) + entry, 0},
      {"huge user length", le32(1) + le32(0xFFFFFFF0) + std::string(40, 'x'), 0},
      {"text length past the end", le32(2) + entry + le32(1) + "u" + le32(1000) + "t", 1},
      {"trailing garbage", le32(1) + entry + "garbage", 1},
      {"empty file", "", 0},
  };
  for (const Case& c : cases) {
    writeFile(path, c.bytes);
    Board board(settings);
    ASSERT_EQ(board.load(path.c_str()), 1) << c.what;
    EXPECT_EQ(board.count(), c.count) << c.what;
  }

  // A stored control byte is masked like a posted one.
  writeFile(path, le32(1) + storedEntry("u\x01", "a\nb", 1, 1, 1, 2001, 0, 0, 0));
  Board masked(settings);
  ASSERT_EQ(masked.load(path.c_str()), 1);
  EXPECT_EQ(masked.entryAt(0)->text, "a?b");
  EXPECT_EQ(masked.entryAt(0)->user, "u?");
}

}  // namespace
