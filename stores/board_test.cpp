#include "stores/board.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;
using Texts = std::vector<std::string>;

const DateTime kWhen{{24, 3, 1, 2003}, {9, 5, 7}};

Texts texts(const Board& board) {
  Texts out;
  for (Entry* e = board.head(); e != nullptr; e = e->next) out.push_back(e->text.str());
  return out;
}

std::string le32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

// A stored entry with the date 1 January 2001, a Monday, at 00:00:00.
std::string storedEntry(const std::string& user, const std::string& text) {
  return le32(static_cast<uint32_t>(user.size())) + user +
         le32(static_cast<uint32_t>(text.size())) + text +
         std::string("\x01\x01\x01\xD1\x07\x00\x00\x00\x00\x00", 10);
}

// Two entries, written out byte by byte from the store's table.
const std::string kGoldenStore(
    "\x02\x00\x00\x00"
    "\x03\x00\x00\x00"
    "bob"
    "\x05\x00\x00\x00"
    "hello"
    "\x18\x01\x03\xD3\x07\x00\x00"  // day 24, Monday, March, 2003
    "\x07\x05\x09"                  // 07:05:09
    "\x02\x00\x00\x00"
    "al"
    "\x00\x00\x00\x00"              // an empty text
    "\x01\x01\x01\xD1\x07\x00\x00"  // Monday 1 January 2001
    "\x17\x3B\x3A",                 // 23:59:58
    50);

BoardSettings limits(int type, unsigned int maxentrys, bool maxmode) {
  BoardSettings s;
  s.type = type;
  s.maxentrys = maxentrys;
  s.maxmode = maxmode;
  return s;
}

NewDirListSettings listLimit(unsigned int maxentrys) {
  NewDirListSettings s;
  static_cast<BoardSettings&>(s) = limits(3, maxentrys, true);
  return s;
}

TEST(BoardTest, AddPrependRemoveAndTheirLimits) {
  BoardSettings dropping = limits(1, 3, true);
  Board board(dropping);
  for (const char* t : {"a", "b", "c"}) ASSERT_GT(board.add(t, "u", &kWhen), 0);
  EXPECT_EQ(board.add("d", "u", &kWhen), 3);  // the oldest makes room
  EXPECT_EQ(texts(board), (Texts{"b", "c", "d"}));
  EXPECT_EQ(board.entryAt(3), nullptr);
  // Removing the last entry, then adding, links the new one after the new
  // last; indexes at or past the count change nothing.
  EXPECT_FALSE(board.remove(3));
  EXPECT_FALSE(board.remove(0xFFFFFFFFu));
  EXPECT_TRUE(board.remove(2));
  EXPECT_EQ(board.add("e", "u", &kWhen), 3);
  EXPECT_TRUE(board.remove(1));
  EXPECT_TRUE(board.remove(0));
  EXPECT_TRUE(board.remove(0));
  EXPECT_EQ(board.add("f", "u", &kWhen), 1);
  EXPECT_EQ(texts(board), (Texts{"f"}));

  BoardSettings refusing = limits(1, 2, false);
  Board full(refusing);
  ASSERT_EQ(full.add("a", "u", &kWhen), 1);
  ASSERT_EQ(full.add("b", "u", &kWhen), 2);
  EXPECT_EQ(full.add("c", "u", &kWhen), -1);
  EXPECT_EQ(full.prepend("c", "u", &kWhen), -1);
  EXPECT_EQ(texts(full), (Texts{"a", "b"}));

  // A limit of 0 holds nothing, whether or not it may drop.
  BoardSettings none = limits(1, 0, true);
  Board empty(none);
  EXPECT_EQ(empty.add("a", "u", &kWhen), -1);
  EXPECT_EQ(empty.prepend("a", "u", &kWhen), -1);

  // Newest first: prepend makes room at the tail.
  NewDirListSettings ndl = listLimit(3);
  Board list(ndl);
  for (const char* t : {"/1", "/2", "/3", "/4"}) ASSERT_GT(list.prepend(t, "u", &kWhen), 0);
  EXPECT_EQ(texts(list), (Texts{"/4", "/3", "/2"}));
  EXPECT_TRUE(list.remove(2));
  EXPECT_EQ(list.add("/0", "u", &kWhen), 3);
  EXPECT_EQ(texts(list), (Texts{"/4", "/3", "/0"}));

  // Posted control bytes never reach a list; a null date takes the clock.
  EXPECT_EQ(board.add(XString("a\tb\x1b[2J\x7f", 8), XString("u\n"), nullptr), 2);
  EXPECT_EQ(board.entryAt(1)->text, "a?b?[2J?");
  EXPECT_EQ(board.entryAt(1)->user, "u?");
  EXPECT_GE(board.entryAt(1)->date.month, 1);
  XString withNul("x\0y", 3);
  maskControlBytes(withNul);
  EXPECT_EQ(withNul, "x?y");
}

TEST(BoardStoreTest, GoldenFileRoundTripAndLimits) {
  ScopedTempDir temp;
  BoardSettings settings = limits(1, 20, true);
  Board board(settings);
  DateTime second{{1, 1, 1, 2001}, {58, 59, 23}};
  ASSERT_EQ(board.add("hello", "bob", &kWhen), 1);
  ASSERT_EQ(board.add("", "al", &second), 2);
  ASSERT_EQ(board.save(temp.at("golden.sav").c_str()), 1);
  EXPECT_EQ(readFile(temp.at("golden.sav")), kGoldenStore);

  // Board and list alike load it and save the same bytes.
  NewDirListSettings ndl = listLimit(20);
  Board asBoard(settings);
  Board asList(ndl);
  for (Board* back : {&asBoard, &asList}) {
    ASSERT_EQ(back->load(temp.at("golden.sav").c_str()), 1);
    ASSERT_EQ(back->count(), 2u);
    Entry* e = back->entryAt(0);
    EXPECT_TRUE(e->user == "bob" && e->text == "hello" && e->date.day == 24 &&
                e->date.weekday == 1 && e->date.month == 3 && e->time.hour == 7);
    ASSERT_EQ(back->save(temp.at("again.sav").c_str()), 1);
    EXPECT_EQ(readFile(temp.at("again.sav")), kGoldenStore);
    // A missing store leaves the list as it was.
    EXPECT_EQ(back->load(temp.at("missing.sav").c_str()), 0);
    EXPECT_EQ(back->count(), 2u);
  }
  // A store that cannot be written leaves nothing behind.
  testing_support::makeDirs(temp.at("dir.sav"));
  EXPECT_EQ(board.save(temp.at("dir.sav").c_str()), 0);
  EXPECT_EQ(board.save(temp.at("no/such/folder.sav").c_str()), 0);
  EXPECT_EQ(testing_support::listNames(temp.path()), (Texts{"again.sav", "dir.sav", "golden.sav"}));

  // Eight stored entries and a limit of 5: a dropping board keeps the
  // newest, a refusing one the first; a newest-first list keeps its head,
  // and a new folder pushes out the oldest kept.
  std::string path = temp.at("eight.sav");
  std::string bytes = le32(8);
  for (int i = 1; i <= 8; ++i) bytes += storedEntry("u", "e" + std::to_string(i));
  writeFile(path, bytes);
  BoardSettings dropping = limits(1, 5, true);
  BoardSettings refusing = limits(1, 5, false);
  NewDirListSettings five = listLimit(5);
  Board newest(dropping), first(refusing), list(five);
  ASSERT_EQ(newest.load(path.c_str()) + first.load(path.c_str()) + list.load(path.c_str()), 3);
  EXPECT_EQ(texts(newest), (Texts{"e4", "e5", "e6", "e7", "e8"}));
  EXPECT_EQ(texts(first), (Texts{"e1", "e2", "e3", "e4", "e5"}));
  EXPECT_EQ(texts(list), (Texts{"e1", "e2", "e3", "e4", "e5"}));
  EXPECT_EQ(list.prepend("e0", "u"), 5);
  ASSERT_EQ(list.save(path.c_str()), 1);
  ASSERT_EQ(list.load(path.c_str()), 1);
  EXPECT_EQ(texts(list), (Texts{"e0", "e1", "e2", "e3", "e4"}));
}

TEST(BoardStoreTest, HostileStoresLoadWhatDecodes) {
  ScopedTempDir temp;
  std::string path = temp.at("hostile.sav");
  BoardSettings settings = limits(1, 1000, true);
  NewDirListSettings ndl = listLimit(1000);

  // Cut at every offset: the whole entries before the cut, nothing more.
  for (size_t cut = 0; cut <= kGoldenStore.size(); ++cut) {
    writeFile(path, kGoldenStore.substr(0, cut));
    Board board(settings);
    Board list(ndl);
    ASSERT_EQ(board.load(path.c_str()) + list.load(path.c_str()), 2) << cut;
    unsigned int whole = (cut >= 30 ? 1 : 0) + (cut >= 50 ? 1 : 0);
    EXPECT_EQ(board.count(), whole) << cut;
    EXPECT_EQ(list.count(), whole) << cut;
  }

  const std::string entry = storedEntry("u", "t");
  const struct {
    const char* what;
    std::string bytes;
    unsigned int count;
  } cases[] = {
      {"count far beyond the entries", le32(0x7FFFFFFF) + entry + entry, 2},
      {"count of every bit", le32(0xFFFFFFFF) + entry, 0},
      {"huge user length", le32(1) + le32(0xFFFFFFF0) + std::string(40, 'x'), 0},
      {"text length past the end", le32(2) + entry + le32(1) + "u" + le32(1000) + "t", 1},
      {"trailing garbage", le32(1) + entry + "garbage", 1},
      {"empty file", "", 0},
  };
  for (const auto& c : cases) {
    writeFile(path, c.bytes);
    Board board(settings);
    ASSERT_EQ(board.load(path.c_str()), 1) << c.what;
    EXPECT_EQ(board.count(), c.count) << c.what;
  }

  // A stored control byte is masked like a posted one.
  writeFile(path, le32(1) + storedEntry("u\x01", "a\nb"));
  Board masked(settings);
  ASSERT_EQ(masked.load(path.c_str()), 1);
  EXPECT_TRUE(masked.entryAt(0)->text == "a?b" && masked.entryAt(0)->user == "u?");
}

}  // namespace
