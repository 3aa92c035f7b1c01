#include "foundation/xstring_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::items;

TEST(XStringListTest, AddAtAndClear) {
  XStringList list;
  list.add("a");
  list.add(XString("b"));
  list.add("c");
  EXPECT_EQ(items(list), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(list.count, 3u);
  EXPECT_EQ(list.at(0), "c");
  EXPECT_EQ(list.at(2), "a");
  EXPECT_EQ(list.at(3), "");
  EXPECT_EQ(list.at(-1), "");
  EXPECT_EQ(&list.at(7), &XStringList::emptyString);
  list.clear();
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.head, nullptr);
}

TEST(XStringListTest, Sort) {
  XStringList list;
  for (const char* s : {"b", "a", "ab", "B"}) list.add(s);
  list.sort();
  EXPECT_EQ(items(list), (std::vector<std::string>{"B", "a", "ab", "b"}));

  XStringList dupes;
  for (const char* s : {"x", "\x90", "x", "", "a", "x"}) dupes.add(s);
  dupes.sort();
  EXPECT_EQ(items(dupes), (std::vector<std::string>{"", "\x90", "a", "x", "x", "x"}));
  EXPECT_EQ(dupes.count, 6u);

  // A long list that is already sorted must not exhaust the stack.
  XStringList sorted;
  for (int i = 199999; i >= 0; --i) {
    char name[16];
    std::snprintf(name, sizeof name, "%07d", i);
    sorted.add(name);
  }
  sorted.sort();
  EXPECT_EQ(sorted.at(0), "0000000");
  EXPECT_EQ(sorted.count, 200000u);
  XStringListEntry* e = sorted.head;
  for (int i = 0; i < 200000; ++i, e = e->next) ASSERT_NE(e, nullptr);
  EXPECT_EQ(e, nullptr);
}

TEST(XStringListTest, SpliceContainsCopy) {
  XStringList list;
  list.add("a");
  XStringList other;
  other.add("y");
  other.add("x");
  list.splice(other);
  EXPECT_EQ(items(list), (std::vector<std::string>{"x", "y", "a"}));
  EXPECT_EQ(list.count, 3u);
  EXPECT_EQ(other.count, 0u);
  EXPECT_EQ(other.head, nullptr);

  XStringList names;
  names.add("nfo");
  EXPECT_TRUE(names.contains(XString("NFO")));
  EXPECT_FALSE(names.contains(XString("NF")));

  XStringList copy(list);
  EXPECT_EQ(items(copy), items(list));
  copy.add("z");
  EXPECT_EQ(list.count, 3u);
}

}  // namespace
