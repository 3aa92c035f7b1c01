#include "settings/lconfig.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/paths.h"
#include "settings/settings_stamp.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::items;
using testing_support::readFile;
using testing_support::removeFileForTest;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// The files of settings/testdata/make_lconfig_golden.py.
std::string golden(const std::string& name) {
  return readFile(std::string(BRINDLE_SOURCE_DIR) + "/settings/testdata/" + name);
}

// A golden file as this platform writes it: the separator that a save adds
// after each of the `folders` is the platform's.
std::string withNativeSeparators(std::string bytes, std::initializer_list<const char*> folders) {
  for (const std::string folder : folders) {
    const size_t at = bytes.find(folder + "/");
    EXPECT_NE(at, std::string::npos) << folder;
    if (at != std::string::npos) bytes[at + folder.size()] = platform::kPathSep;
  }
  return bytes;
}

std::string convertedGolden() {
  return withNativeSeparators(golden("lconfig-converted.bcc"),
                              {"old-artist", "old-genre", "old-group", "old-allinone"});
}

std::string saved(LConfig& c, const ScopedTempDir& temp) {
  std::string path = temp.at("saved.bcc");
  EXPECT_TRUE(c.save(path.c_str()));
  return readFile(path);
}

std::string u32(unsigned int v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  return out;
}

TEST(LConfigTest, DefaultsAndEveryVersionAgainstTheIndependentWriter) {
  ScopedTempDir temp;
  LConfig d;
  d.setDefaults(0);
  EXPECT_EQ(items(d.link_list), (std::vector<std::string>{"19??", "20??"}));
  EXPECT_EQ(saved(d, temp), golden("lconfig-956-defaults.bcc"));
  LConfig untouched;
  untouched.setDefaults(1);
  EXPECT_TRUE(untouched.link_list.count == 0 && !untouched.link_show &&
              untouched.link_owner.username.empty());

  for (const char* version : {"954", "955", "956"}) {
    SCOPED_TRACE(version);
    std::string path = temp.at("in.bcc");
    writeFile(path, golden(std::string("lconfig-") + version + "-values.bcc"));
    LConfig c;
    ASSERT_TRUE(c.load(path.c_str()));
    EXPECT_EQ(c.version, 956u);
    EXPECT_EQ(c.link_artistdir, "l3-text");
    EXPECT_EQ(c.link_dirnamedir, "l7-text");
    EXPECT_EQ(c.link_logfile, "l9-text");
    EXPECT_EQ(items(c.link_list), (std::vector<std::string>{"l10-b", "l10-a"}));
    EXPECT_EQ(items(c.link_pathes), (std::vector<std::string>{"l11-b", "l11-a"}));
    EXPECT_TRUE(c.link_listp && c.link_en && c.link_artisten && c.link_allinoneen);
    EXPECT_EQ(c.link_reserved, 100020u);
    EXPECT_EQ(c.link_owner.allow, "l23-text");
    EXPECT_FALSE(c.link_show);
    EXPECT_TRUE(c.link_makeunknown);
    // Saved: the lists reversed, the six folders (not the log) with their
    // separator, the version current.
    EXPECT_EQ(saved(c, temp), withNativeSeparators(golden("lconfig-values-saved.bcc"),
                                                   {"l3-text", "l4-text", "l5-text", "l6-text",
                                                    "l7-text", "l8-text"}));
    EXPECT_EQ(c.link_artistdir, testing_support::nativePath("l3-text/"));
    EXPECT_EQ(c.link_logfile, "l9-text");
  }
}

TEST(LConfigTest, RefusedFilesLeaveTheRecordAsItWas) {
  ScopedTempDir temp;
  std::string path = temp.at("in.bcc");
  const std::string good = golden("lconfig-956-values.bcc");
  LConfig c;
  c.setDefaults(0);
  c.link_reserved = 7;
  const std::string before = saved(c, temp);

  EXPECT_FALSE(c.load(temp.at("missing.bcc").c_str()));
  for (unsigned int version : {953u, 957u, 96u}) {
    std::string bad = good;
    bad.replace(41, 4, u32(version));
    writeFile(path, bad);
    EXPECT_FALSE(c.load(path.c_str()));
    EXPECT_EQ(c.version, version);
  }
  std::string header = good;
  header[10] = 'X';
  writeFile(path, header);
  EXPECT_FALSE(c.load(path.c_str()));
  // Cut short anywhere, or with a length or count no file could hold.
  for (size_t n = 0; n < good.size(); ++n) {
    writeFile(path, good.substr(0, n));
    ASSERT_FALSE(c.load(path.c_str())) << n;
  }
  std::string huge = good;
  huge.replace(45, 4, u32(0xfffffff0u));
  writeFile(path, huge);
  EXPECT_FALSE(c.load(path.c_str()));
  EXPECT_EQ(saved(c, temp), before);
}

class SettingsStampTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::changeDir(temp_.path().c_str())); }
  ScopedTempDir temp_;
};

TEST_F(SettingsStampTest, WritesTheCurrentStampAndConvertsNothingWithoutAFile) {
  BCconfigSettings stamp(kSettingsStampFile);
  EXPECT_EQ(stamp.version, 956u);
  EXPECT_FALSE(exists(kLinkerConfigFile));
  EXPECT_FALSE(exists(kSettingsStampFile));  // only save() writes it
  ASSERT_TRUE(stamp.save());
  EXPECT_EQ(readFile(kSettingsStampFile), std::string("\xbc\x03\x00\x00", 4));
}

TEST_F(SettingsStampTest, ConvertsTheOldestFormOnlyForOldOrMissingStamps) {
  const std::string oldest = golden("lconfig-oldest.bcc");
  for (unsigned int version : {953u, 954u, 955u, 956u}) {
    writeFile(kSettingsStampFile, u32(version));
    writeFile(kLinkerConfigFile, oldest);
    BCconfigSettings stamp(kSettingsStampFile);
    EXPECT_EQ(readFile(kLinkerConfigFile), oldest) << version;
  }
  // A stamp of 952 or 957, a short one and none at all convert.
  for (const std::string& stampBytes : {u32(952), u32(957), std::string("\x01\x02", 2)}) {
    writeFile(kSettingsStampFile, stampBytes);
    writeFile(kLinkerConfigFile, oldest);
    BCconfigSettings stamp(kSettingsStampFile);
    EXPECT_EQ(stamp.version, 956u);
    EXPECT_EQ(readFile(kLinkerConfigFile), convertedGolden());
  }
  removeFileForTest(kSettingsStampFile);
  writeFile(kLinkerConfigFile, oldest);
  { BCconfigSettings stamp(kSettingsStampFile); }
  ASSERT_EQ(readFile(kLinkerConfigFile), convertedGolden());

  // The converted file loads: current version, the year and directory-name
  // trees off, the window switch on.
  LConfig c;
  ASSERT_TRUE(c.load(kLinkerConfigFile));
  EXPECT_EQ(c.link_artistdir, testing_support::nativePath("old-artist/"));
  EXPECT_EQ(c.link_groupdir, testing_support::nativePath("old-group/"));
  EXPECT_TRUE(c.link_yeardir.empty() && !c.link_yearen && !c.link_dirnameen);
  EXPECT_TRUE(c.link_en && c.link_listp && !c.link_artisten && c.link_groupen);
  EXPECT_EQ(items(c.link_pathes), (std::vector<std::string>{"/srv/mp3", "/srv/more"}));
  EXPECT_EQ(c.link_reserved, 4242u);
  EXPECT_EQ(c.link_owner.username, "olduser");
  EXPECT_TRUE(c.link_show && !c.link_makeunknown);
}

TEST_F(SettingsStampTest, LeavesCurrentAndDamagedFilesAlone) {
  const std::string current = golden("lconfig-955-values.bcc");
  writeFile(kLinkerConfigFile, current);
  { BCconfigSettings stamp(kSettingsStampFile); }
  EXPECT_EQ(readFile(kLinkerConfigFile), current);

  const std::string oldest = golden("lconfig-oldest.bcc");
  for (size_t n : {size_t{0}, size_t{3}, oldest.size() / 2, oldest.size() - 1}) {
    writeFile(kLinkerConfigFile, oldest.substr(0, n));
    { BCconfigSettings stamp(kSettingsStampFile); }
    EXPECT_EQ(readFile(kLinkerConfigFile), oldest.substr(0, n)) << n;
  }
}

}  // namespace
