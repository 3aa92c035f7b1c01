#include "settings/gconfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/test_support.h"

namespace {

using testing_support::items;

using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::string golden(const std::string& name) {
  return std::string(BRINDLE_SOURCE_DIR) + "/settings/testdata/" + name;
}

// The values of the independent writer's non-default files: a text is
// "g<item>-text", a number 100000 + item, a list "g<item>-b" then "g<item>-a"
// after the load reversed it, a switch the opposite of its default.
XString text(int item) { return XString("g" + std::to_string(item) + "-text"); }
unsigned int number(int item) { return 100000u + item; }
std::vector<std::string> reversedList(int item) {
  return {"g" + std::to_string(item) + "-b", "g" + std::to_string(item) + "-a"};
}

// The fields both layouts hold.
void expectCommonValues(const GConfig& g) {
  GConfig d;
  d.setDefaults(0);
  EXPECT_EQ(g.version, 956u);
  EXPECT_EQ(g.userfile, text(3));
  EXPECT_EQ(g.vfsfile, text(4));
  EXPECT_EQ(g.vfsbackup, text(5));
  EXPECT_EQ(g.raidenftpd, text(6));
  EXPECT_EQ(g.vfs_maxentrys, number(7));
  EXPECT_EQ(items(g.mcd_list), reversedList(8));
  EXPECT_EQ(items(g.deny_list), reversedList(9));
  EXPECT_EQ(g.ndl.en, !d.ndl.en);
  EXPECT_EQ(g.ndl.cutun, !d.ndl.cutun);
  EXPECT_EQ(g.ndl.cuttxt, !d.ndl.cuttxt);
  EXPECT_EQ(g.ndl.maxentrys, number(14));
  EXPECT_EQ(g.ndl.lineformat, text(15));
  EXPECT_EQ(g.ndl.head, text(16));
  EXPECT_EQ(g.ndl.tail, text(17));
  EXPECT_EQ(g.ndl.file, text(18));
  EXPECT_EQ(g.ndl.unlen, number(19));
  EXPECT_EQ(g.ndl.tlen, number(20));
  EXPECT_EQ(g.ndl.messageifdis, !d.ndl.messageifdis);
  EXPECT_EQ(g.mb.en, !d.mb.en);
  EXPECT_EQ(g.mb.maxmode, !d.mb.maxmode);
  EXPECT_EQ(g.mb.cutun, !d.mb.cutun);
  EXPECT_EQ(g.mb.unlen, number(39));
  EXPECT_EQ(g.mb.cuttxt, !d.mb.cuttxt);
  EXPECT_EQ(g.mb.tlen, number(41));
  EXPECT_EQ(g.mb.maxentrys, number(42));
  EXPECT_EQ(g.mb.delm, 0);
  EXPECT_EQ(g.mb.file, text(45));
  EXPECT_EQ(g.mb.messageifdis, !d.mb.messageifdis);
  EXPECT_EQ(g.mb.lineformat, text(47));
  EXPECT_EQ(g.mb.head, text(48));
  EXPECT_EQ(g.mb.tail, text(49));
  EXPECT_EQ(g.rb.en, !d.rb.en);
  EXPECT_EQ(g.rb.maxmode, !d.rb.maxmode);
  EXPECT_EQ(g.rb.cutun, !d.rb.cutun);
  EXPECT_EQ(g.rb.unlen, number(53));
  EXPECT_EQ(g.rb.cuttxt, !d.rb.cuttxt);
  EXPECT_EQ(g.rb.tlen, number(55));
  EXPECT_EQ(g.rb.maxentrys, number(56));
  EXPECT_EQ(g.rb.delr, 2);
  EXPECT_EQ(g.rb.file, text(59));
  EXPECT_EQ(g.rb.messageifdis, !d.rb.messageifdis);
  EXPECT_EQ(g.rb.lineformat, text(61));
  EXPECT_EQ(g.rb.head, text(62));
  EXPECT_EQ(g.rb.tail, text(63));
  EXPECT_EQ(g.rb.preqpath, text(64));
  EXPECT_EQ(g.rb.postfilled, !d.rb.postfilled);
  EXPECT_EQ(g.nd.en, !d.nd.en);
  EXPECT_EQ(g.nd.today, !d.nd.today);
  EXPECT_EQ(g.nd.yesterday, !d.nd.yesterday);
  EXPECT_EQ(g.nd.path, text(70));
  EXPECT_EQ(g.nd.format, text(71));
  EXPECT_EQ(g.nd.todaylink, text(72));
  EXPECT_EQ(g.nd.yesterdaylink, text(73));
  EXPECT_EQ(g.tod.username, text(74));
  EXPECT_EQ(g.tod.group, text(75));
  EXPECT_EQ(g.tod.allow, text(76));
  EXPECT_EQ(g.past.username, text(77));
  EXPECT_EQ(g.past.group, text(78));
  EXPECT_EQ(g.past.allow, text(79));

  // Stored head first as Alice, bob; loaded reversed.
  ASSERT_EQ(g.al.count, 2u);
  const User& bob = g.al.head->user;
  const User& alice = g.al.head->next->user;
  EXPECT_EQ(bob.user, "bob\xe9");
  EXPECT_EQ(bob.when, 2);
  EXPECT_EQ(bob.mode, 2);
  EXPECT_EQ(bob.number, -7);
  EXPECT_TRUE(bob.fillless);
  EXPECT_EQ(alice.user, "Alice");
  EXPECT_EQ(alice.when, 0);
  EXPECT_EQ(alice.mode, 1);
  EXPECT_EQ(alice.number, 250);
  EXPECT_FALSE(alice.fillless);
  EXPECT_TRUE(alice.group.empty() && alice.credit.empty());
}

// What only the current layout holds.
void expectCurrentOnlyValues(const GConfig& g) {
  GConfig d;
  d.setDefaults(0);
  EXPECT_EQ(g.ndl.cutname, !d.ndl.cutname);
  EXPECT_EQ(g.ndl.namelen, number(21));
  EXPECT_EQ(g.ndlspecial.en, !d.ndlspecial.en);
  EXPECT_EQ(g.ndlspecial.cutun, !d.ndlspecial.cutun);
  EXPECT_EQ(g.ndlspecial.cuttxt, !d.ndlspecial.cuttxt);
  EXPECT_EQ(g.ndlspecial.cutname, !d.ndlspecial.cutname);
  EXPECT_EQ(g.ndlspecial.maxentrys, number(27));
  EXPECT_EQ(g.ndlspecial.lineformat, text(28));
  EXPECT_EQ(g.ndlspecial.head, text(29));
  EXPECT_EQ(g.ndlspecial.tail, text(30));
  EXPECT_EQ(g.ndlspecial.unlen, number(31));
  EXPECT_EQ(g.ndlspecial.tlen, number(32));
  EXPECT_EQ(g.ndlspecial.namelen, number(33));
  EXPECT_EQ(g.ndlspecial.messageifdis, !d.ndlspecial.messageifdis);
  EXPECT_EQ(items(g.ndl_exlist), reversedList(35));
  EXPECT_EQ(g.mb.postm, 2);
  EXPECT_EQ(g.rb.postr, 1);
  EXPECT_EQ(g.rb.makedir, !d.rb.makedir);
}

// The whole stored state of a record, to see whether a load changed it.
std::string stored(GConfig& g, const ScopedTempDir& temp) {
  std::string path = temp.at("stored.bcc");
  EXPECT_TRUE(g.save(path.c_str()));
  return readFile(path);
}

TEST(GConfigTest, ConstructionValues) {
  GConfig g;
  EXPECT_EQ(g.version, 956u);
  EXPECT_EQ(g.mb.type, 1);
  EXPECT_EQ(g.rb.type, 2);
  EXPECT_EQ(g.ndl.type, 3);
  EXPECT_EQ(g.ndlspecial.type, 3);
  EXPECT_TRUE(g.ndl.maxmode);
  EXPECT_TRUE(g.ndlspecial.maxmode);
  EXPECT_FALSE(g.mb.maxmode);
  EXPECT_FALSE(g.rb.maxmode);
  EXPECT_EQ(g.mb.postm, 0);
  EXPECT_EQ(g.vfs_maxentrys, 0u);
  EXPECT_TRUE(g.nd.format.empty());
  EXPECT_EQ(g.mcd_list.count, 0u);
  EXPECT_EQ(g.al.count, 0u);
}

TEST(GConfigTest, DefaultsSaveAsTheIndependentWriterDoes) {
  ScopedTempDir temp;
  GConfig g;
  g.setDefaults(0);
  std::string path = temp.at("BCconfig.bcc");
  ASSERT_TRUE(g.save(path.c_str()));
  EXPECT_EQ(readFile(path), readFile(golden("gconfig-956-defaults.bcc")));

  // Every frame line is 74 characters, joined by CR LF, the last one bare.
  for (const XString* frame : {&g.mb.head, &g.mb.tail, &g.rb.head, &g.rb.tail, &g.ndl.head,
                               &g.ndl.tail, &g.ndlspecial.head, &g.ndlspecial.tail}) {
    std::string s = frame->str();
    EXPECT_EQ(s.size() % 76, 74u);
    for (size_t at = 74; at < s.size(); at += 76) EXPECT_EQ(s.substr(at, 2), "\r\n");
  }
}

TEST(GConfigTest, SetDefaultsLeavesSomeFieldsAndAddsAtTheHead) {
  GConfig g;
  g.mcd_list.add("old");
  g.ndlspecial.file = "keep.txt";
  g.ndl_exlist.add("/x/");
  g.al.add(User("u", "", ""));
  g.setDefaults(0);
  EXPECT_EQ(items(g.mcd_list), (std::vector<std::string>{"CD*", "old"}));
  EXPECT_EQ(g.ndlspecial.file, "keep.txt");
  EXPECT_EQ(g.ndl_exlist.count, 1u);
  EXPECT_EQ(g.al.count, 1u);
  EXPECT_EQ(g.mb.postm, 3);

  GConfig other;
  other.version = 12;
  other.setDefaults(1);  // only the version
  EXPECT_EQ(other.version, 956u);
  EXPECT_EQ(other.vfs_maxentrys, 0u);
  EXPECT_EQ(other.mcd_list.count, 0u);
}

TEST(GConfigTest, LoadsEveryCurrentVersion) {
  for (const char* name :
       {"gconfig-956-values.bcc", "gconfig-955-values.bcc", "gconfig-954-values.bcc"}) {
    SCOPED_TRACE(name);
    GConfig g;
    ASSERT_TRUE(g.load(golden(name).c_str()));
    expectCommonValues(g);
    expectCurrentOnlyValues(g);
    EXPECT_TRUE(g.ndlspecial.file.empty());  // never stored
    EXPECT_EQ(g.mb.type, 1);
    EXPECT_TRUE(g.ndl.maxmode);
  }
}

TEST(GConfigTest, LoadsTheOldLayoutKeepingWhatItLacks) {
  ScopedTempDir temp;
  for (const char* name : {"gconfig-97-values.bcc", "gconfig-96-values.bcc"}) {
    SCOPED_TRACE(name);
    GConfig withDefaults;
    withDefaults.setDefaults(0);
    ASSERT_TRUE(withDefaults.load(golden(name).c_str()));
    expectCommonValues(withDefaults);
    GConfig d;
    d.setDefaults(0);
    EXPECT_EQ(withDefaults.mb.postm, 3);
    EXPECT_EQ(withDefaults.rb.postr, 3);
    EXPECT_TRUE(withDefaults.rb.makedir);
    EXPECT_EQ(withDefaults.ndl.namelen, 50u);
    EXPECT_EQ(withDefaults.ndlspecial.tlen, 50u);
    EXPECT_EQ(withDefaults.ndlspecial.head, d.ndlspecial.head);
    EXPECT_EQ(withDefaults.ndl_exlist.count, 0u);

    GConfig built;
    ASSERT_TRUE(built.load(golden(name).c_str()));
    EXPECT_EQ(built.mb.postm, 0);
    EXPECT_FALSE(built.ndlspecial.en);

    // Saved again it is a current file that loads the same.
    std::string path = temp.at("upgraded.bcc");
    ASSERT_TRUE(withDefaults.save(path.c_str()));
    std::string bytes = readFile(path);
    EXPECT_EQ(bytes.substr(41, 4), std::string("\xbc\x03\0\0", 4));
    GConfig again;
    ASSERT_TRUE(again.load(path.c_str()));
    EXPECT_EQ(again.mb.postm, 3);
    EXPECT_EQ(again.userfile, text(3));
  }
}

TEST(GConfigTest, RoundTripReversesListsOnEachLoad) {
  ScopedTempDir temp;
  std::string once = temp.at("once.bcc"), twice = temp.at("twice.bcc");
  GConfig a;
  ASSERT_TRUE(a.load(golden("gconfig-956-values.bcc").c_str()));
  ASSERT_TRUE(a.save(once.c_str()));
  EXPECT_NE(readFile(once), readFile(golden("gconfig-956-values.bcc")));
  GConfig b;
  ASSERT_TRUE(b.load(once.c_str()));
  EXPECT_EQ(items(b.mcd_list), (std::vector<std::string>{"g8-a", "g8-b"}));
  ASSERT_TRUE(b.save(twice.c_str()));
  // The same bytes, but for the separator the new-day folder gets.
  std::string expected = readFile(golden("gconfig-956-values.bcc"));
  const std::string folder = std::string("\x08\0\0\0g70-text", 12);
  ASSERT_NE(expected.find(folder), std::string::npos);
  expected.replace(expected.find(folder), folder.size(),
                   std::string("\x09\0\0\0g70-text", 12) + platform::kPathSep);
  EXPECT_EQ(readFile(twice), expected);

  // With lists of at most one entry save, load, save gives the same bytes.
  GConfig c;
  c.setDefaults(0);
  c.al.add(User("solo", "", ""));
  c.nd.path = XString(std::string("days") + platform::kPathSep);
  ASSERT_TRUE(c.save(once.c_str()));
  GConfig e;
  ASSERT_TRUE(e.load(once.c_str()));
  ASSERT_TRUE(e.save(twice.c_str()));
  EXPECT_EQ(readFile(once), readFile(twice));
}

TEST(GConfigTest, NewDayFolderGetsItsSeparator) {
  ScopedTempDir temp;
  std::string path = temp.at("BCconfig.bcc");
  const std::string sep(1, platform::kPathSep);
  for (const auto& [given, saved] : std::vector<std::pair<std::string, std::string>>{
           {"days", "days" + sep}, {"", ""}, {"days" + sep, "days" + sep}}) {
    GConfig g;
    g.nd.path = XString(given);
    ASSERT_TRUE(g.save(path.c_str()));
    EXPECT_EQ(g.nd.path, XString(saved));
    GConfig loaded;
    ASSERT_TRUE(loaded.load(path.c_str()));
    EXPECT_EQ(loaded.nd.path, XString(saved));
  }
}

TEST(GConfigTest, RefusedFilesChangeNothing) {
  ScopedTempDir temp;
  GConfig g;
  g.setDefaults(0);
  g.al.add(User("kept", "", ""));
  const std::string before = stored(g, temp);
  std::string path = temp.at("bad.bcc");

  EXPECT_FALSE(g.load(temp.at("missing.bcc").c_str()));
  writeFile(path, "");
  EXPECT_FALSE(g.load(path.c_str()));
  writeFile(path, std::string("\x25\0\0\0Brindlecast global", 22));
  EXPECT_FALSE(g.load(path.c_str()));
  std::string good = readFile(golden("gconfig-956-values.bcc"));
  std::string wrongHeader = good;
  wrongHeader[4] = 'b';
  writeFile(path, wrongHeader);
  EXPECT_FALSE(g.load(path.c_str()));
  EXPECT_EQ(stored(g, temp), before);

  // An unknown version is kept in `version`; nothing else changes.
  for (unsigned int v : {953u, 957u, 95u, 98u}) {
    std::string other = good;
    other[41] = static_cast<char>(v & 0xff);
    other[42] = static_cast<char>(v >> 8);
    writeFile(path, other);
    EXPECT_FALSE(g.load(path.c_str()));
    EXPECT_EQ(g.version, v);
    g.version = 956;
    EXPECT_EQ(stored(g, temp), before);
  }
}

// A file cut at any byte is refused and the record stays as it was.
TEST(GConfigTest, TruncatedAtEveryOffset) {
  ScopedTempDir temp;
  GConfig g;
  g.setDefaults(0);
  g.al.add(User("kept", "", ""));
  const std::string before = stored(g, temp);
  std::string path = temp.at("cut.bcc");
  for (const char* name :
       {"gconfig-956-values.bcc", "gconfig-96-values.bcc", "gconfig-956-defaults.bcc"}) {
    SCOPED_TRACE(name);
    std::string whole = readFile(golden(name));
    for (size_t n = 0; n < whole.size(); ++n) {
      writeFile(path, whole.substr(0, n));
      ASSERT_FALSE(g.load(path.c_str())) << "cut at " << n;
    }
    EXPECT_EQ(stored(g, temp), before);
  }
}

TEST(GConfigTest, ImpossibleLengthsAndCountsAreRefused) {
  ScopedTempDir temp;
  GConfig g;
  std::string path = temp.at("bad.bcc");
  std::string good = readFile(golden("gconfig-956-defaults.bcc"));
  // userfile's length, then mcd_list's count, set to 0xffffffff.
  for (size_t at : {45u, 65u}) {
    std::string bad = good;
    bad.replace(at, 4, "\xff\xff\xff\xff");
    writeFile(path, bad);
    EXPECT_FALSE(g.load(path.c_str())) << at;
  }
  // The allotment count at the end.
  std::string bad = good;
  bad.replace(bad.size() - 4, 4, "\xff\xff\xff\x7f");
  writeFile(path, bad);
  EXPECT_FALSE(g.load(path.c_str()));
  EXPECT_EQ(g.al.count, 0u);
  EXPECT_EQ(g.vfs_maxentrys, 0u);
}

TEST(GConfigTest, LoadAppendsTheAllotments) {
  GConfig g;
  g.al.add(User("zed", "", ""));
  ASSERT_TRUE(g.load(golden("gconfig-956-values.bcc").c_str()));
  ASSERT_EQ(g.al.count, 3u);
  EXPECT_EQ(g.al.head->user.user, "bob\xe9");
  EXPECT_EQ(g.al.head->next->next->user.user, "zed");
}

TEST(GConfigTest, FailedSaveLeavesWhatWasThere) {
  ScopedTempDir temp;
  GConfig g;
  g.setDefaults(0);
  // The target is a folder.
  makeDirs(temp.at("BCconfig.bcc"));
  EXPECT_FALSE(g.save(temp.at("BCconfig.bcc").c_str()));
  EXPECT_TRUE(testing_support::isDir(temp.at("BCconfig.bcc")));
  EXPECT_EQ(listNames(temp.path()), (std::vector<std::string>{"BCconfig.bcc"}));
  // The folder is a file.
  writeFile(temp.at("file"), "x");
  EXPECT_FALSE(g.save(temp.at("file/BCconfig.bcc").c_str()));
  EXPECT_EQ(readFile(temp.at("file")), "x");
  // A closed file is not written.
  XFile closed;
  EXPECT_FALSE(g.write(closed));
}

}  // namespace
