#include "foundation/xstring_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
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

// The sort as it is described: a head-pivot quicksort on the linked
// entries, texts <= the pivot to the lower part. Its order is well defined
// where no text is the start of another (then <= never holds both ways).
void describedQuicksort(XStringList& list) {
  if (list.count < 2) return;
  XString pivot = list.head->text;
  XStringList lower, pivots, upper;
  pivots.add(pivot);
  for (XStringListEntry* e = list.head->next; e != nullptr; e = e->next) {
    (e->text <= pivot ? lower : upper).add(e->text);
  }
  describedQuicksort(lower);
  describedQuicksort(upper);
  list.clear();
  list.splice(upper);
  list.splice(pivots);
  list.splice(lower);
}

std::vector<std::string> sorted(const std::vector<std::string>& texts) {
  XStringList list;
  for (const std::string& t : texts) list.add(t.data(), static_cast<unsigned int>(t.size()));
  list.sort();
  EXPECT_EQ(list.count, texts.size());
  return items(list);
}

TEST(XStringListTest, Sort) {
  using Texts = std::vector<std::string>;
  const std::string nul("a\0", 2);
  const struct {
    Texts in;  // in the order added (the last one added is the head)
    Texts out;
  } cases[] = {
      {{"b", "a", "ab", "B"}, {"B", "a", "ab", "b"}},
      // Signed bytes: 0x80 and above before 0x00..0x7F, 0x80 first of all.
      {{"A", "\xff", "\x01", "\x80", "\x7f"}, {"\x80", "\xff", "\x01", "A", "\x7f"}},
      {{"x", "\x90", "x", "", "a", "x"}, {"", "\x90", "a", "x", "x", "x"}},
      // A text before its extensions, whatever byte follows: the pairs that
      // operator<= holds both ways, in either order.
      {{"ab", "ab\x80"}, {"ab", "ab\x80"}},
      {{"ab\x80", "ab"}, {"ab", "ab\x80"}},
      {{"ab\xc3", "ab\x80", "ab", "a"}, {"a", "ab", "ab\x80", "ab\xc3"}},
      {{"\x90", ""}, {"", "\x90"}},
      // An embedded NUL is a byte like the others.
      {{"a\x01", nul, "a"}, {"a", nul, "a\x01"}},
      // Equal keys stay, each once.
      {{"k", "k", "\xe9", "\xe9", "k"}, {"\xe9", "\xe9", "k", "k", "k"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(sorted(c.in), c.out);
    // No order of the input changes the result.
    Texts in = c.in;
    std::sort(in.begin(), in.end());
    do {
      EXPECT_EQ(sorted(in), c.out);
    } while (std::next_permutation(in.begin(), in.end()));
  }

  // Texts of one length (none the start of another): the described
  // quicksort's own order, bytes from 0x80 included.
  std::mt19937 random(1103);
  const char bytes[] = {'\x01', 'A', 'a', '\x7f', '\x80', '\xc3', '\xfe', '\xff'};
  for (int round = 0; round < 50; ++round) {
    XStringList list, expected;
    for (int i = 0; i < 12; ++i) {
      char text[3] = {bytes[random() % 8], bytes[random() % 8], bytes[random() % 8]};
      list.add(text, 3);
      expected.add(text, 3);
    }
    list.sort();
    describedQuicksort(expected);
    ASSERT_EQ(items(list), items(expected)) << round;
  }

  // A long list that is already sorted must not exhaust the stack.
  XStringList ordered;
  for (int i = 199999; i >= 0; --i) {
    char name[16];
    std::snprintf(name, sizeof name, "%07d", i);
    ordered.add(name);
  }
  ordered.sort();
  EXPECT_EQ(ordered.at(0), "0000000");
  EXPECT_EQ(ordered.count, 200000u);
  XStringListEntry* e = ordered.head;
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
