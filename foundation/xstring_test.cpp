#include "foundation/xstring.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/version.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "tests/test_support.h"

namespace {

std::string P(const char* withBackslashes) {
  std::string path = withBackslashes;
  for (char& c : path) {
    if (c == '\\') c = platform::kPathSep;
  }
  return path;
}

TEST(XStringTest, ConstructionAndAssignment) {
  XString empty;
  EXPECT_EQ(empty.length(), 0u);
  EXPECT_STREQ(empty.c_str(), "");
  EXPECT_EQ(empty.firstChar(), 0);

  XString a("abc");
  XString b(a);
  b[0] = 'x';
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "xbc");

  XString& same = a;
  a = same;  // self-assignment leaves the text unchanged
  EXPECT_EQ(a, "abc");
  a = static_cast<const char*>(nullptr);
  EXPECT_EQ(a, "");

  XString adopted;
  char* block = static_cast<char*>(std::malloc(4));
  std::memcpy(block, "hey", 4);
  adopted.adopt(block);
  EXPECT_EQ(adopted, "hey");
  EXPECT_EQ(adopted.length(), 3u);
}

TEST(XStringTest, Concatenation) {
  XString a("ab");
  XString c = a + "cd";
  EXPECT_EQ(a, "ab");
  EXPECT_EQ(c, "abcd");
  c += c;  // appending a text to itself
  EXPECT_EQ(c, "abcdabcd");
  c += XString();
  EXPECT_EQ(c.length(), 8u);
}

TEST(XStringTest, Search) {
  XString s("a??-??b??-??c");
  EXPECT_EQ(s.find(""), -1);
  EXPECT_EQ(s.findLast(""), -1);
  EXPECT_EQ(s.findLast("??-??"), 7);
  EXPECT_EQ(s.find("??-??"), 1);
  EXPECT_EQ(s.find("c"), 12);
  EXPECT_EQ(s.find("cx"), -1);  // the text ends inside a partial match
  EXPECT_EQ(s.findLast('?'), 11);
  EXPECT_EQ(s.findLast('z'), -1);
  EXPECT_EQ(s.count('?'), 8u);
  EXPECT_EQ(XString("ab").findLast("abc"), -1);
}

TEST(XStringTest, Splits) {
  XString bar("|abc");
  EXPECT_EQ(bar.splitLast('|'), "abc");
  EXPECT_EQ(bar, "");

  XString none("abc");
  EXPECT_EQ(none.splitLast('|'), "abc");
  EXPECT_EQ(none, "");

  XString first("a||b");
  EXPECT_EQ(first.splitFirst('|'), "a");
  EXPECT_EQ(first, "|b");
  EXPECT_EQ(first.splitFirst('|'), "");
  EXPECT_EQ(first, "b");
  EXPECT_EQ(first.splitFirst('|'), "b");
  EXPECT_EQ(first, "");
  EXPECT_EQ(first.splitFirst('|'), "");

  XString line("prog??-??a??-??b");
  EXPECT_EQ(line.splitLast("??-??"), "b");
  EXPECT_EQ(line.splitLast("??-??"), "a");
  EXPECT_EQ(line.splitLast("??-??"), "prog");
  EXPECT_EQ(line, "");
  EXPECT_EQ(line.splitLast("??-??"), "");
}

TEST(XStringTest, PartsOfAText) {
  XString s("file.mp3");
  EXPECT_EQ(s.substring(0, 3), "file");
  EXPECT_EQ(s.substring(5, 7), "mp3");
  EXPECT_EQ(s.substring(3, 2), "");
  EXPECT_EQ(s.substring(5, 8), "");  // last at the length

  XString ext("file.mp3");
  ext.keepAfterLast('.');
  EXPECT_EQ(ext, "mp3");
  EXPECT_EQ(ext.length(), 3u);
  XString name("name");
  name.keepAfterLast('.');
  EXPECT_EQ(name, "");
  XString empty;
  empty.keepAfterLast('.');
  EXPECT_EQ(empty, "");

  XString last("abcdef");
  last.keepLast(2);
  EXPECT_EQ(last, "ef");
  last.keepLast(5);
  EXPECT_EQ(last, "ef");

  XString cut("abcdef");
  cut.truncate(10);
  EXPECT_EQ(cut, "abcdef");
  cut.truncate(3);
  EXPECT_EQ(cut, "abc");
}

TEST(XStringTest, EditsAtTheEnds) {
  XString s("a//");
  s.dropLast('/');
  EXPECT_EQ(s, "a/");
  XString e;
  e.dropLast('/');
  EXPECT_EQ(e, "");
  XString f("//a");
  f.dropFirst('/');
  EXPECT_EQ(f, "/a");

  XString t("dir");
  EXPECT_TRUE(t.ensureTrailing('/'));
  EXPECT_FALSE(t.ensureTrailing('/'));
  EXPECT_EQ(t, "dir/");
  XString none;
  EXPECT_TRUE(none.ensureTrailing('/'));
  EXPECT_EQ(none, "/");

  XString blanks("  a b \t  ");
  EXPECT_EQ(blanks.trimRight(), 7u);  // a tab stops the trim
  EXPECT_EQ(blanks, "  a b \t");
  blanks.trimLeft();
  EXPECT_EQ(blanks, "a b \t");

  XString line("text\r\n\r\n");
  line.trimLineEnd();
  EXPECT_EQ(line, "text");

  XString seven("7");
  EXPECT_TRUE(seven.padLeft('0', 3));
  EXPECT_EQ(seven, "007");
  XString wide("1234");
  EXPECT_FALSE(wide.padLeft('0', 3));
  EXPECT_EQ(wide, "1234");
  XString right("ab");
  EXPECT_TRUE(right.padRight(' ', 4));
  EXPECT_EQ(right, "ab  ");

  XString huge("x");
  EXPECT_TRUE(huge.padRight(' ', 0xFFFFFFFFu));  // capped, not gigabytes
  EXPECT_EQ(huge.length(), kMaxPadWidth);
}

TEST(XStringTest, CaseAndCharacters) {
  XString s("AbC\xC4z");
  EXPECT_EQ(s.toLower(), 5u);
  EXPECT_EQ(s, "abc\xC4z");
  XString r("a.b.c");
  r.replace('.', '_');
  EXPECT_EQ(r, "a_b_c");
}

TEST(XStringTest, Comparisons) {
  EXPECT_TRUE(XString("ab") <= XString("abc"));
  EXPECT_FALSE(XString("abc") <= XString("ab"));
  EXPECT_TRUE(XString("ab") <= XString("ab"));
  EXPECT_TRUE(XString("\x80") <= XString("A"));  // high bytes sort first
  EXPECT_FALSE(XString("A") <= XString("\x80"));
  EXPECT_TRUE(XString("b") > XString("a"));
  EXPECT_TRUE(XString("") <= XString(""));
  // A longer text whose extra byte is high sorts before its own prefix;
  // nothing past the shorter text is read.
  EXPECT_TRUE(XString("ab\xC0") <= XString("ab"));
  XString withNul("a", 1);
  withNul += '\0';
  EXPECT_FALSE(withNul <= XString("a"));

  EXPECT_TRUE(XString("abc") == XString("abc"));
  EXPECT_TRUE(XString("abc") != XString("abd"));
  EXPECT_TRUE(XString("abc") != "ab");

  EXPECT_TRUE(equalNoCase("ABC", "abc"));
  EXPECT_FALSE(equalNoCase("\xC4", "\xE4"));  // only A-Z fold
  EXPECT_TRUE(equalNoCase(nullptr, nullptr));
  EXPECT_FALSE(equalNoCase(nullptr, "a"));
  EXPECT_FALSE(equalNoCase("abc", "ab"));
  EXPECT_TRUE(equalNoCase("ABcd", "abXX", 2));
  EXPECT_FALSE(equalNoCase("a", "abc", 2));
  EXPECT_TRUE(equalNoCase("", "", 0));

  EXPECT_TRUE(XString("/MP3/").isPrefixOfNoCase(XString("/mp3/new/")));
  EXPECT_TRUE(XString("").isPrefixOfNoCase(XString("anything")));
  EXPECT_FALSE(XString("/mp3/x").isPrefixOfNoCase(XString("/mp3/")));
  EXPECT_TRUE(XString("NFO").equalsNoCase(XString("nfo")));
  EXPECT_TRUE(XString("NFOx").equalsNoCase(XString("nfoy"), 3));
}

TEST(XPathTest, PathEdits) {
  XPath file(P("c:\\a\\b.txt"));
  file.toFileName();
  EXPECT_EQ(file, "b.txt");
  XPath noSep("b.txt");
  noSep.toFileName();
  EXPECT_EQ(noSep, "b.txt");
  XPath dirEnd(P("c:\\a\\"));
  dirEnd.toFileName();
  EXPECT_EQ(dirEnd, "");

  XPath parent(P("c:\\a\\b.txt"));
  EXPECT_EQ(parent.toParent(), static_cast<int>(P("c:\\a\\").size()));
  EXPECT_EQ(parent, P("c:\\a\\"));
  XPath parentOfDir(P("c:\\a\\b\\"));
  parentOfDir.toParent();
  EXPECT_EQ(parentOfDir, P("c:\\a\\"));
  XPath root(P("c:\\"));
  EXPECT_EQ(root.toParent(), -1);
  EXPECT_EQ(root, P("c:\\"));
  XPath oneDown(P("c:\\a"));
  oneDown.toParent();
  EXPECT_EQ(oneDown, P("c:\\"));
  XPath shortPath("x");
  EXPECT_EQ(shortPath.toParent(), 1);

  for (const char* form : {"dir", "/dir", "dir/"}) {
    XPath p(form);
    EXPECT_TRUE(p.encloseSlashes()) << form;
    EXPECT_EQ(p, "/dir/") << form;
  }
  XPath done("/dir/");
  EXPECT_FALSE(done.encloseSlashes());
  XPath slash("/");
  EXPECT_FALSE(slash.encloseSlashes());
  EXPECT_EQ(slash, "/");
  XPath empty;
  EXPECT_TRUE(empty.encloseSlashes());
  EXPECT_EQ(empty, "//");
}

TEST(XPathTest, CurrentDirHasNoLengthLimit) {
  // POSIX has no limit, so the path passes a fixed buffer of 512 bytes;
  // Windows keeps a current folder (and makes a folder) only below MAX_PATH.
#ifdef _WIN32
  const size_t longest = 240;
#else
  const size_t longest = 1200;
#endif
  const std::string part =
      platform::kPathSepText + std::string("a-long-folder-name-to-pass-five-hundred-and-eleven");
  testing_support::ScopedTempDir temp;
  std::string deep = temp.path();
  while (deep.size() + part.size() <= longest) {
    deep += part;
    testing_support::makeDirs(deep);
  }
  ASSERT_TRUE(platform::changeDir(deep.c_str()));
  XPath here;
  here.setToCurrentDir();
  std::string real;
  ASSERT_TRUE(platform::currentDir(real));
  EXPECT_EQ(here, real);
  EXPECT_GT(here.length(), longest - part.size());
}

TEST(XStringBufferTest, CapacityStaysTrue) {
  XStringBuffer b(10);
  EXPECT_EQ(b.capacity(), 10u);
  b << "abc" << XString("def");
  EXPECT_EQ(b, "abcdef");
  EXPECT_EQ(b.capacity(), 10u);
  b << "ghijk";  // 11 > 10: a new exact block
  EXPECT_EQ(b, "abcdefghijk");
  EXPECT_EQ(b.capacity(), 11u);

  b = "xy";  // fits: the block is reused
  EXPECT_EQ(b, "xy");
  EXPECT_EQ(b.capacity(), 11u);
  b = XString("0123456789abcdef");
  EXPECT_EQ(b.capacity(), 16u);

  // Operations through the XString side that take a new block keep the
  // capacity true, so a later in-place append stays inside the block.
  XStringBuffer split(64);
  split = "head|tail";
  XString head = split.splitFirst('|');
  EXPECT_EQ(head, "head");
  EXPECT_EQ(split, "tail");
  EXPECT_GE(split.capacity(), split.length());
  split << "0123456789012345678901234567890123456789";
  EXPECT_EQ(split, "tail0123456789012345678901234567890123456789");

  XStringBuffer none;
  EXPECT_EQ(none.capacity(), 0u);
  none.reset(5);
  EXPECT_EQ(none, "");
  EXPECT_EQ(none.capacity(), 5u);
}

TEST(VersionTest, Text) { EXPECT_EQ(versionString, "Brindlecast version 0.95 c"); }

}  // namespace
