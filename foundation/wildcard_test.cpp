#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "foundation/xstring_list.h"

namespace {

bool M(const char* name, const char* pattern) { return XString(name).match(XString(pattern)); }

TEST(WildcardTest, Matches) {
  EXPECT_TRUE(M("Release.NFO", "*.nfo"));
  EXPECT_TRUE(M(".nfo", "*.nfo"));
  EXPECT_FALSE(M("a.nfo.txt", "*.nfo"));
  EXPECT_TRUE(M("cd1", "CD*"));
  EXPECT_TRUE(M("CD", "CD*"));
  EXPECT_FALSE(M("xCD1", "CD*"));
  EXPECT_TRUE(M("[ 3 of 10 - INCOMPLETE ]", "*incomplete*"));
  EXPECT_TRUE(M("a", "?"));
  EXPECT_FALSE(M("", "?"));
  EXPECT_FALSE(M("ab", "?"));
  EXPECT_TRUE(M("abc", "a?c"));
  EXPECT_TRUE(M("aXc", "a?c"));
  EXPECT_TRUE(M("anything", ""));
  EXPECT_TRUE(M("", ""));
  EXPECT_TRUE(M("", "***"));
  EXPECT_TRUE(M("whatever", "**"));
  EXPECT_TRUE(M("aXbYc", "a*b*c"));
  EXPECT_TRUE(M("abc", "a*b*c"));
  EXPECT_FALSE(M("acb", "a*b*c"));
  EXPECT_FALSE(M("abcd", "abc"));
  EXPECT_FALSE(M("ab", "abc"));
  EXPECT_TRUE(M("aaab", "*a?b"));
  EXPECT_FALSE(M("ab", "*a?b"));
  EXPECT_TRUE(M("x.sfv", "*?sfv"));
  EXPECT_FALSE(M("\xC4", "\xE4"));  // only A-Z fold
}

// A pattern with many star groups against a long name that almost matches
// must finish at once; trying every split would take astronomically long.
TEST(WildcardTest, NoExponentialBacktracking) {
  std::string name(5000, 'a');
  std::string pattern;
  for (int i = 0; i < 40; ++i) pattern += "*a";
  pattern += "*b";
  EXPECT_FALSE(XString(name).match(XString(pattern)));
  name += "b";
  EXPECT_TRUE(XString(name).match(XString(pattern)));
}

// The greedy matcher against a plain recursive reading of the rules, over
// every short name and pattern from a small alphabet.
bool reference(const char* n, const char* p) {
  if (*p == 0) return *n == 0;
  if (*p == '*') return reference(n, p + 1) || (*n != 0 && reference(n + 1, p));
  if (*n == 0) return false;
  if (*p != '?' && std::tolower(*p) != std::tolower(*n)) return false;
  return reference(n + 1, p + 1);
}

void allTexts(const std::string& alphabet, size_t maxLength, std::vector<std::string>& out) {
  out.push_back("");
  for (size_t start = 0; start < out.size(); ++start) {
    if (out[start].size() == maxLength) continue;
    for (char c : alphabet) out.push_back(out[start] + c);
  }
}

TEST(WildcardTest, AgreesWithRecursiveRules) {
  std::vector<std::string> names, patterns;
  allTexts("aB", 5, names);
  allTexts("ab*?", 4, patterns);
  for (const std::string& p : patterns) {
    for (const std::string& n : names) {
      bool expected = p.empty() || reference(n.c_str(), p.c_str());
      ASSERT_EQ(M(n.c_str(), p.c_str()), expected) << n << " ~ " << p;
    }
  }
}

TEST(WildcardTest, ListLookups) {
  XStringList empty;
  EXPECT_FALSE(empty.matchAny(XString("x")));
  EXPECT_EQ(empty.firstMatch(XString("x")), "");

  XStringList list;
  list.add("*");
  list.add("*.nfo");  // now the head
  EXPECT_TRUE(list.matchAny(XString("a.NFO")));
  EXPECT_EQ(list.firstMatch(XString("a.nfo")), "*.nfo");
  EXPECT_EQ(list.firstMatch(XString("a.rar")), "*");
}

}  // namespace
