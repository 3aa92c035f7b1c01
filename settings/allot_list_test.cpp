#include "settings/allot_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::vector<std::string> names(const AllotList& list) {
  std::vector<std::string> out;
  for (AllotListEntry* e = list.head; e != nullptr; e = e->next) out.push_back(e->user.user.str());
  return out;
}

TEST(AllotListTest, FindIgnoresOnlyAsciiCase) {
  AllotList list;
  list.add(User("caf\xe9", "g", "1.00"));
  list.add(User("alice", "g", "1.00"));
  list.add(User("ALICE", "other", "2.00"));  // nearer the head
  ASSERT_NE(list.find("Alice"), nullptr);
  EXPECT_EQ(list.find("Alice")->group, "other");
  EXPECT_NE(list.find("CAF\xe9"), nullptr);
  EXPECT_EQ(list.find("caf\xc9"), nullptr);  // accented letters match byte for byte
  EXPECT_EQ(list.find("bob"), nullptr);
  EXPECT_EQ(list.count, 3u);
}

TEST(AllotListTest, NewUserDefaults) {
  User u("x", "grp", "12.50");
  EXPECT_TRUE(u.fillless);
  EXPECT_EQ(u.when, 1);
  EXPECT_EQ(u.mode, 0);
  EXPECT_EQ(u.number, 0);
  EXPECT_EQ(u.credit, "12.50");
}

TEST(AllotListTest, StoredFormReadAppendsAndReverses) {
  ScopedTempDir temp;
  std::string path = temp.at("al.bin");
  {
    AllotList empty;
    XFile f(path.c_str(), "wb", false);
    empty.write(f);
  }
  EXPECT_EQ(readFile(path), std::string(4, '\0'));

  AllotList list;
  User a("first", "g1", "1.00");
  a.when = 2;
  a.mode = 2;
  a.number = -3;
  a.fillless = false;
  list.add(a);
  list.add(User("second", "g2", "2.00"));
  {
    XFile f(path.c_str(), "wb", false);
    list.write(f);
  }
  const std::string expected = std::string("\x02\0\0\0", 4) + std::string("\x06\0\0\0", 4) +
                               "second" + std::string("\x01\x00\x00\x00\x00\x00\x01", 7) +
                               std::string("\x05\0\0\0", 4) + "first" +
                               std::string("\x02\x02\xfd\xff\xff\xff\x00", 7);
  EXPECT_EQ(readFile(path), expected);

  AllotList loaded;
  loaded.add(User("kept", "", ""));
  XFile f(path.c_str(), "rb", false);
  loaded.read(f);
  EXPECT_FALSE(f.failed());
  EXPECT_EQ(names(loaded), (std::vector<std::string>{"first", "second", "kept"}));
  EXPECT_EQ(loaded.count, 3u);
  const User* first = loaded.find("first");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->when, 2);
  EXPECT_EQ(first->mode, 2);
  EXPECT_EQ(first->number, -3);
  EXPECT_FALSE(first->fillless);
  EXPECT_TRUE(first->group.empty());
  EXPECT_TRUE(first->credit.empty());
}

TEST(AllotListTest, DamagedCountsFailTheFile) {
  ScopedTempDir temp;
  std::string path = temp.at("al.bin");
  const std::string entry("\x01\0\0\0x\x00\x01\x05\0\0\0\x01", 12);
  // A count of four thousand million with one whole entry behind it.
  writeFile(path, std::string("\xff\xff\xff\xff", 4) + entry);
  {
    AllotList list;
    XFile f(path.c_str(), "rb", false);
    list.read(f);
    EXPECT_TRUE(f.failed());
    EXPECT_EQ(list.count, 0u);
  }
  // Two entries announced, the second cut short: the first stays.
  writeFile(path, std::string("\x02\0\0\0", 4) + entry + std::string("\x64\0\0\0abcdefg", 11));
  {
    AllotList list;
    XFile f(path.c_str(), "rb", false);
    list.read(f);
    EXPECT_TRUE(f.failed());
    EXPECT_EQ(names(list), (std::vector<std::string>{"x"}));
  }
}

TEST(AllotListTest, TakeAndSplice) {
  AllotList a, b;
  a.add(User("a2", "", ""));
  a.add(User("a1", "", ""));
  b.add(User("b2", "", ""));
  b.add(User("b1", "", ""));
  a.splice(b);
  EXPECT_EQ(names(a), (std::vector<std::string>{"b1", "b2", "a1", "a2"}));
  EXPECT_EQ(a.count, 4u);
  EXPECT_EQ(b.head, nullptr);
  EXPECT_EQ(b.count, 0u);
  b.take(a);
  EXPECT_EQ(b.count, 4u);
  EXPECT_EQ(a.head, nullptr);
  EXPECT_EQ(a.count, 0u);
  b.freeEntries();
  EXPECT_EQ(b.head, nullptr);
  EXPECT_EQ(b.count, 0u);
}

}  // namespace
