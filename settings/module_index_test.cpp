#include "settings/module_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::items;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

using Index = ModuleIndex<MConfig>;

std::string golden(const std::string& name) {
  return std::string(BRINDLE_SOURCE_DIR) + "/settings/testdata/" + name;
}

Index emptyIndex() {
  return Index("default.bcm", "/", "default", "This module applies when no other does.", 0);
}

std::vector<std::string> sections(const Index& index) {
  std::vector<std::string> out;
  for (int i = 0; i < index.count; ++i) out.push_back(index.modules[i]->sectionName.str());
  EXPECT_EQ(index.modules[index.count], nullptr);
  return out;
}

TEST(ModuleIndexTest, LoadsAndSavesTheStoredForm) {
  ScopedTempDir temp;
  Index index(golden("ModuleIndex.idx").c_str());
  ASSERT_EQ(index.count, 3);
  const Module<MConfig>* m = index.modules[1];
  EXPECT_EQ(m->filename, "mods/mp3.bcm");
  EXPECT_EQ(m->path, "/mp3/");
  EXPECT_EQ(m->sectionName, "mp3");
  EXPECT_EQ(m->description, "Music \xe9t\xe9");
  EXPECT_FALSE(m->isDefault);
  EXPECT_FALSE(m->configLoaded());
  EXPECT_TRUE(index.modules[0]->isDefault);
  EXPECT_EQ(index.modules[0]->path, "/");
  // Paths are taken as stored.
  EXPECT_EQ(index.modules[2]->path, "");
  EXPECT_EQ(index.modules[3], nullptr);

  std::string path = temp.at("ModuleIndex.idx");
  ASSERT_TRUE(index.save(path.c_str()));
  EXPECT_EQ(readFile(path), readFile(golden("ModuleIndex.idx")));
}

TEST(ModuleIndexTest, TheTwoConstructors) {
  ScopedTempDir temp;
  // The hooks' form adds no default module, even with no file.
  Index hook(temp.at("missing.idx").c_str());
  EXPECT_EQ(hook.count, 0);
  EXPECT_EQ(hook.modules[0], nullptr);
  EXPECT_FALSE(hook.hasDefault());
  EXPECT_EQ(hook.findDefault(), -1);
  EXPECT_EQ(hook.defaultFilename, "default.bcm");
  EXPECT_EQ(hook.defaultDescription, "This module applies when no other does.");

  Index utility("d.bcm", "root", "main", "desc", 0);
  EXPECT_EQ(utility.count, 0);
  utility.ensureDefault();
  utility.ensureDefault();
  ASSERT_EQ(utility.count, 1);
  const Module<MConfig>* m = utility.modules[0];
  EXPECT_TRUE(m->isDefault);
  EXPECT_EQ(m->filename, "d.bcm");
  EXPECT_EQ(m->path, "/root/");
  EXPECT_EQ(m->sectionName, "main");
  EXPECT_TRUE(utility.hasDefault());
  EXPECT_EQ(utility.at(0), m);
  EXPECT_EQ(utility.at(1), nullptr);
  EXPECT_EQ(utility.at(-1), nullptr);
}

TEST(ModuleIndexTest, ChoiceByLongestPathPrefix) {
  Index index = emptyIndex();
  index.add("a.bcm", "/mp3/", "mp3", "", 0);
  index.add("b.bcm", "mp3/new", "new", "", 0);  // slashes are added
  index.add("c.bcm", "/MP3/", "same", "", 0);   // same path, later
  EXPECT_EQ(index.modules[1]->path, "/mp3/new/");

  struct Case {
    const char* dir;
    int module;
  };
  for (const Case& c : std::vector<Case>{{"/MP3/New/cd1", 1},
                                         {"/mp3/new", 1},
                                         {"/mp3/other", 0},
                                         {"/mp3", 0},
                                         {"/mp3/", 0},
                                         {"/mp3x/a", -1},
                                         {"/", -1},
                                         {"", -1},
                                         {"/other/mp3/", -1}}) {
    EXPECT_EQ(index.findByPath(c.dir), c.module) << c.dir;
  }
  EXPECT_EQ(index.findDefault(), -1);

  // The root module applies everywhere else; an empty stored path never.
  Index loaded(golden("ModuleIndex.idx").c_str());
  EXPECT_EQ(loaded.findByPath("/mp3x/a"), 0);
  EXPECT_EQ(loaded.findByPath("/mp3/a"), 1);
  EXPECT_EQ(loaded.findByPath(""), 0);
  EXPECT_EQ(loaded.findDefault(), 0);
}

TEST(ModuleIndexTest, FindBySectionIsCaseSensitive) {
  Index index = emptyIndex();
  index.add("a.bcm", "/a/", "Music", "", 0);
  index.add("b.bcm", "/b/", "music", "", 0);
  EXPECT_EQ(index.findBySection("music"), 1);
  EXPECT_EQ(index.findBySection("Music"), 0);
  EXPECT_EQ(index.findBySection("MUSIC"), -1);
}

TEST(ModuleIndexTest, DuplicateGivesFreeNames) {
  Index index = emptyIndex();
  index.ensureDefault();
  index.add("mods/x.bcm", "/x/", "x", "the x", 7);
  index.add("plain", "/p/", "p", "", 0);

  int d = index.duplicate(0);
  ASSERT_EQ(d, 3);
  const Module<MConfig>* m = index.modules[d];
  EXPECT_FALSE(m->isDefault);
  EXPECT_EQ(m->filename, "dupe of default.bcm");
  EXPECT_EQ(m->sectionName, "default_dupe");
  EXPECT_EQ(m->description, "Is duplicate of This module applies when no other does.");
  EXPECT_EQ(m->path, "/");

  // The prefix goes before the file name part only; a second copy is
  // numbered.
  int x1 = index.duplicate(1);
  int x2 = index.duplicate(1);
  int x3 = index.duplicate(1);
  EXPECT_EQ(index.modules[x1]->filename, "mods/dupe of x.bcm");
  EXPECT_EQ(index.modules[x1]->sectionName, "x_dupe");
  EXPECT_EQ(index.modules[x1]->value, 7);
  EXPECT_EQ(index.modules[x1]->path, "/x/");
  EXPECT_EQ(index.modules[x2]->filename, "mods/dupe of x2.bcm");
  EXPECT_EQ(index.modules[x2]->sectionName, "x_dupe2");
  EXPECT_EQ(index.modules[x3]->filename, "mods/dupe of x3.bcm");
  EXPECT_EQ(index.modules[x3]->sectionName, "x_dupe3");
  int p = index.duplicate(2);
  int p2 = index.duplicate(2);
  EXPECT_EQ(index.modules[p]->filename, "dupe of plain");
  EXPECT_EQ(index.modules[p2]->filename, "dupe of plain2");

  // A name another module holds in other capitals counts as taken.
  index.add("mods/Dupe of Y.bcm", "/y/", "Y_DUPE", "", 0);
  index.add("mods/y.bcm", "/y/", "y", "", 0);
  int y = index.duplicate(index.count - 1);
  EXPECT_EQ(index.modules[y]->filename, "mods/dupe of y2.bcm");
  EXPECT_EQ(index.modules[y]->sectionName, "y_dupe2");

  EXPECT_EQ(index.duplicate(-1), -1);
  EXPECT_EQ(index.duplicate(index.count), -1);

  // The copy without the duplicate flag keeps the texts and the flag.
  Module<MConfig> copy(*index.modules[0], false);
  EXPECT_TRUE(copy.isDefault);
  EXPECT_EQ(copy.filename, "default.bcm");
  EXPECT_FALSE(copy.configLoaded());
}

TEST(ModuleIndexTest, Remove) {
  Index index = emptyIndex();
  index.add("a", "/a/", "a", "", 0);
  index.add("b", "/b/", "b", "", 0);
  index.add("c", "/c/", "c", "", 0);
  EXPECT_FALSE(index.remove(3));
  EXPECT_FALSE(index.remove(-1));
  EXPECT_TRUE(index.remove(1));
  EXPECT_EQ(sections(index), (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(index.remove(1));
  EXPECT_TRUE(index.remove(0));
  EXPECT_EQ(index.count, 0);
  EXPECT_EQ(index.modules[0], nullptr);
}

TEST(ModuleIndexTest, SaveAndLoadKeepTheOrder) {
  ScopedTempDir temp;
  std::string path = temp.at("ModuleIndex.idx");
  Index index = emptyIndex();
  for (const char* s : {"c", "a", "b"}) index.add(std::string(s) + ".bcm", s, s, "", 0);
  index.ensureDefault();
  ASSERT_TRUE(index.save(path.c_str()));
  Index loaded(path.c_str());
  EXPECT_EQ(sections(loaded), (std::vector<std::string>{"c", "a", "b", "default"}));
  EXPECT_TRUE(loaded.modules[3]->isDefault);
  // Nothing was opened, so no settings file was written.
  EXPECT_FALSE(exists(temp.at("a.bcm")));
}

TEST(ModuleIndexTest, ConfigLoadsOnFirstUseAndFallsBackToDefaults) {
  ScopedTempDir temp;
  std::string file = temp.at("m.bcm");
  Index index = emptyIndex();
  index.add(file, "/m/", "m", "", 0);
  Module<MConfig>* m = index.modules[0];

  // Missing file: the defaults.
  EXPECT_TRUE(m->saveConfig());  // not opened: nothing written
  EXPECT_FALSE(exists(file));
  MConfig* c = m->config();
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(m->configLoaded());
  EXPECT_EQ(c->chmod.allow, "764");
  EXPECT_EQ(m->config(), c);  // loaded once

  // A stored file is read.
  c->chmod.allow = "700";
  ASSERT_TRUE(m->saveConfig());
  EXPECT_TRUE(m->loadConfig());
  EXPECT_EQ(m->config()->chmod.allow, "700");

  // A refused version gives the defaults, and a save writes them as 956.
  std::string bytes = readFile(file);
  bytes[41] = static_cast<char>(0xbd);
  writeFile(file, bytes);
  EXPECT_FALSE(m->loadConfig());
  EXPECT_EQ(m->config()->chmod.allow, "764");
  EXPECT_EQ(m->config()->version, 956u);
  ASSERT_TRUE(m->saveConfig());
  EXPECT_EQ(readFile(file).substr(41, 4), std::string("\xbc\x03\0\0", 4));

  // A truncated file also gives the defaults.
  writeFile(file, bytes.substr(0, bytes.size() - 1));
  EXPECT_FALSE(m->loadConfig());
  EXPECT_EQ(m->config()->racer.sbarlen, 52u);
}

TEST(ModuleIndexTest, SaveWritesOpenedSettingsAndReportsFailures) {
  ScopedTempDir temp;
  std::string path = temp.at("ModuleIndex.idx");
  Index index = emptyIndex();
  index.add(temp.at("one.bcm"), "/1/", "one", "", 0);
  index.add(temp.at("two.bcm"), "/2/", "two", "", 0);
  index.add(temp.at("nofolder/three.bcm"), "/3/", "three", "", 0);
  index.modules[0]->config()->badf = 0;
  ASSERT_TRUE(index.save(path.c_str()));
  EXPECT_TRUE(exists(temp.at("one.bcm")));
  EXPECT_FALSE(exists(temp.at("two.bcm")));
  MConfig check;
  ASSERT_TRUE(check.load(temp.at("one.bcm").c_str()));
  EXPECT_EQ(check.badf, 0);

  // A module whose settings cannot be written makes the save report false;
  // the index itself is still written.
  index.modules[2]->config();
  index.remove(1);
  XStringList unwritten;
  EXPECT_FALSE(index.save(path.c_str(), &unwritten));
  EXPECT_EQ(items(unwritten), (std::vector<std::string>{temp.at("nofolder/three.bcm")}));
  Index loaded(path.c_str());
  EXPECT_EQ(sections(loaded), (std::vector<std::string>{"one", "three"}));

  // An index that cannot be written leaves the old one, and is named.
  std::string before = readFile(path);
  makeDirs(temp.at("folder.idx"));
  unwritten.clear();
  EXPECT_FALSE(index.save(temp.at("folder.idx").c_str(), &unwritten));
  EXPECT_EQ(items(unwritten),
            (std::vector<std::string>{temp.at("folder.idx"), temp.at("nofolder/three.bcm")}));
  EXPECT_FALSE(index.save(temp.at("one.bcm/ModuleIndex.idx").c_str()));
  EXPECT_EQ(readFile(path), before);
}

TEST(ModuleIndexTest, DamagedFilesLeaveTheIndexAsItWas) {
  ScopedTempDir temp;
  std::string path = temp.at("bad.idx");
  Index index = emptyIndex();
  index.add("kept.bcm", "/k/", "kept", "", 0);
  auto count = [](int n) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(static_cast<unsigned int>(n) >> (8 * i));
    return s;
  };
  std::string whole = readFile(golden("ModuleIndex.idx"));
  std::vector<std::string> damaged = {count(-1), count(-2147483647 - 1), count(2147483647),
                                      count(4) + whole.substr(4)};
  for (size_t n = 0; n < whole.size(); ++n) damaged.push_back(whole.substr(0, n));
  for (const std::string& bytes : damaged) {
    writeFile(path, bytes);
    ASSERT_FALSE(index.load(path.c_str())) << bytes.size();
    ASSERT_EQ(sections(index), (std::vector<std::string>{"kept"}));
  }
  // A count of 0 is a valid, empty index.
  writeFile(path, count(0));
  EXPECT_TRUE(index.load(path.c_str()));
  EXPECT_EQ(index.count, 0);
}

}  // namespace
