#include "race/racer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::items;

using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::vector<std::string> names(const RacerList& list) {
  std::vector<std::string> out;
  for (RacerListEntry* e = list.head; e != nullptr; e = e->next) out.push_back(e->name.str());
  return out;
}

std::vector<unsigned int> values(const Vector<unsigned int>& v) {
  std::vector<unsigned int> out;
  for (auto* item = v.head; item != nullptr; item = item->next) out.push_back(item->value);
  return out;
}

struct RaceFolder {
  RaceFolder() : path(temp.at("Rel")) {
    makeDirs(path);
    writeFile(joinPath(path, "a.mp3"), std::string(2048, 'a'));
    writeFile(joinPath(path, "b.mp3"), std::string(5000, 'b'));
    writeFile(joinPath(path, "rel.sfv"), "; 10240 announced\na.mp3 1\nb.mp3 2\nc.mp3 3\n");
  }
  std::string file(const char* name) const { return joinPath(path, name); }
  ScopedTempDir temp;
  std::string path;
};

TEST(RacerTest, TheSfvFixesTheFiguresOnce) {
  RaceFolder rel;
  RacerSettings settings;
  Racer race(&settings);
  race.addUpload(XString(rel.file("rel.sfv")), XString("/Rel/rel.sfv"), XString("bob"),
                 XString("grp"), 0, 10.0f);
  EXPECT_EQ(race.allFiles, 0u);
  EXPECT_EQ(race.allKb, 0u);
  EXPECT_EQ(race.sfvListedFiles, 3u);
  EXPECT_EQ(race.sfvListedKb, 10u);
  EXPECT_EQ(race.sfvUploadedFiles, 2u);
  EXPECT_EQ(race.sfvUploadedKb, 2u + 4u);
  ASSERT_EQ(race.users.count, 1u);
  EXPECT_EQ(race.users.head->filesCount, 0u);
  EXPECT_EQ(race.groups.head->name, "grp");
  EXPECT_EQ(items(race.groups.head->racers), (std::vector<std::string>{"bob"}));

  writeFile(rel.file("other.sfv"), "x.mp3 1\n");
  race.addUpload(XString(rel.file("other.sfv")), XString("/Rel/other.sfv"), XString("eve"),
                 XString("two"), 0, 1.0f);
  EXPECT_EQ(race.sfvListedFiles, 3u);  // unchanged by a second SFV
  EXPECT_EQ(race.mySfv, rel.file("rel.sfv").c_str());
  EXPECT_EQ(race.users.count, 2u);
}

TEST(RacerTest, UploadsUsersAndGroups) {
  RaceFolder rel;
  RacerSettings settings;
  Racer race(&settings);
  race.addUpload(XString(rel.file("a.mp3")), XString("/Rel/a.mp3"), XString("Bob"), XString("grp"),
                 2, 100.0f);
  race.addUpload(XString(rel.file("b.mp3")), XString("/Rel/b.mp3"), XString("bob"),
                 XString("other"), 4, 50.0f);
  EXPECT_EQ(race.allFiles, 2u);
  EXPECT_EQ(race.allKb, 6u);
  ASSERT_EQ(race.users.count, 1u);  // "Bob" and "bob" are one racer
  RacerListEntry* bob = race.users.head;
  EXPECT_EQ(bob->name, "Bob");
  EXPECT_EQ(bob->group, "grp");  // the group of the first upload stays
  EXPECT_EQ(bob->filesCount, 2u);
  EXPECT_FLOAT_EQ(bob->averageSpeed(), 75.0f);
  EXPECT_EQ(items(bob->files), (std::vector<std::string>{"b.mp3", "a.mp3"}));
  EXPECT_EQ(values(bob->sizes), (std::vector<unsigned int>{4, 2}));
  EXPECT_EQ(names(race.groups), (std::vector<std::string>{"other", "grp"}));

  // Files uploaded before the SFV are counted in the sfv figures at its
  // upload.
  race.addUpload(XString(rel.file("rel.sfv")), XString("/Rel/rel.sfv"), XString("bob"),
                 XString("grp"), 0, 0.0f);
  EXPECT_EQ(bob->sfvFiles, 2u);
  EXPECT_EQ(bob->sfvKb, 6u);
  EXPECT_EQ(race.groups.find(XString("GRP"))->sfvFiles, 1u);

  race.addCheckedFile(7, XString("carol"), XString("grp"));
  EXPECT_EQ(race.sfvUploadedFiles, 3u);
  EXPECT_EQ(race.sfvUploadedKb, 6u + 7u);
  EXPECT_EQ(race.allFiles, 2u);
  RacerListEntry* carol = race.users.find(XString("carol"));
  ASSERT_NE(carol, nullptr);
  EXPECT_EQ(carol->sfvKb, 7u);
  EXPECT_EQ(carol->filesCount, 0u);
  EXPECT_EQ(race.groups.find(XString("grp"))->racers.count, 2u);
}

TEST(RacerTest, SaveAndLoadReverseEveryList) {
  RaceFolder rel;
  RacerSettings settings;
  Racer race(&settings);
  race.addUpload(XString(rel.file("a.mp3")), XString("/Rel/a.mp3"), XString("u1"), XString("g"), 2,
                 1.5f);
  race.addUpload(XString(rel.file("b.mp3")), XString("/Rel/b.mp3"), XString("u1"), XString("g"), 4,
                 2.5f);
  race.addUpload(XString(rel.file("c.mp3")), XString("/Rel/c.mp3"), XString("u2"), XString("g"), 8,
                 3.0f);
  std::string path = rel.file("racer.sav");
  ASSERT_TRUE(race.save(XString(path)));

  Racer back(&settings);
  ASSERT_TRUE(back.load(XString(path)));
  EXPECT_EQ(back.allFiles, 3u);
  EXPECT_EQ(back.allKb, 14u);
  EXPECT_EQ(names(back.users), (std::vector<std::string>{"u1", "u2"}));
  RacerListEntry* u1 = back.users.head;
  EXPECT_EQ(items(u1->files), (std::vector<std::string>{"a.mp3", "b.mp3"}));
  EXPECT_EQ(values(u1->sizes), (std::vector<unsigned int>{2, 4}));  // still paired
  EXPECT_FLOAT_EQ(u1->speedSum, 4.0f);
  EXPECT_EQ(items(back.groups.head->racers), (std::vector<std::string>{"u1", "u2"}));

  // Saving what was loaded stores it reversed again: a second load gives the
  // first order.
  ASSERT_TRUE(back.save(XString(path)));
  Racer third(&settings);
  ASSERT_TRUE(third.load(XString(path)));
  EXPECT_EQ(names(third.users), (std::vector<std::string>{"u2", "u1"}));
  EXPECT_EQ(items(third.users.at(1)->files), (std::vector<std::string>{"b.mp3", "a.mp3"}));
}

void put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

std::string fileWithMagic(uint32_t magic) {
  std::string out;
  for (int i = 0; i < 6; ++i) put32(out, 0);
  put32(out, 0);  // mySfv empty
  put32(out, magic);
  put32(out, 1);
  // one entry: name, group, racers, files, sizes, four counters, speed
  put32(out, 3);
  out += "ann";
  put32(out, 1);
  out += "g";
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (int i = 0; i < 5; ++i) put32(out, i == 1 ? 1 : 0);
  put32(out, 954);
  put32(out, 0);
  return out;
}

TEST(RacerTest, ListMagicAndHostileFiles) {
  ScopedTempDir temp;
  std::string path = temp.at("racer.sav");
  RacerSettings settings;

  writeFile(path, fileWithMagic(953));
  Racer old(&settings);
  ASSERT_TRUE(old.load(XString(path)));
  EXPECT_EQ(names(old.users), (std::vector<std::string>{"ann"}));
  EXPECT_EQ(old.users.head->filesCount, 1u);

  writeFile(path, fileWithMagic(955));
  Racer unknown(&settings);
  EXPECT_TRUE(unknown.load(XString(path)));
  EXPECT_EQ(unknown.users.count, 0u);

  // Cut anywhere, a race file is no race data, and nothing is half-loaded.
  std::string good = fileWithMagic(954);
  for (size_t cut = 0; cut < good.size(); ++cut) {
    writeFile(path, good.substr(0, cut));
    Racer race(&settings);
    race.allFiles = 9;
    EXPECT_FALSE(race.load(XString(path))) << cut;
    EXPECT_EQ(race.users.count, 0u) << cut;
    EXPECT_EQ(race.allFiles, 0u) << cut;
  }
  std::string huge;
  for (int i = 0; i < 7; ++i) put32(huge, 0);
  put32(huge, 954);
  put32(huge, 0xFFFFFFFFu);
  writeFile(path, huge);
  Racer bounded(&settings);
  EXPECT_FALSE(bounded.load(XString(path)));

  // Lists at the cap load; one entry more, and the file is no race data.
  Racer full(&settings);
  for (unsigned int i = 0; i < kMaxRacerEntries; ++i) {
    full.users.add(XString("u"), XString("g"));
    full.groups.add(XString("g"), XString("g"));
  }
  ASSERT_TRUE(full.save(XString(path)));
  Racer atCap(&settings);
  EXPECT_TRUE(atCap.load(XString(path)));
  EXPECT_EQ(atCap.users.count, kMaxRacerEntries);
  EXPECT_EQ(atCap.groups.count, kMaxRacerEntries);
  full.groups.add(XString("g"), XString("g"));
  ASSERT_TRUE(full.save(XString(path)));
  Racer overCap(&settings);
  EXPECT_FALSE(overCap.load(XString(path)));
  EXPECT_EQ(overCap.users.count, 0u);
  Racer missing(&settings);
  EXPECT_FALSE(missing.load(XString(temp.at("none.sav"))));
}

RacerListEntry* entry(RacerList& list, const char* name, unsigned int files, unsigned int kb,
                      float speedSum) {
  RacerListEntry* e = list.add(XString(name), XString("g"));
  e->filesCount = files;
  e->kb = kb;
  e->speedSum = speedSum;
  return e;
}

// The head's key is the pivot, entries go in at the head of their part, and
// the result is greater, equal, less: equal keys come out reversed.
TEST(RacerListTest, HeadPivotSorts) {
  RacerList list;
  entry(list, "B", 2, 0, 0);
  entry(list, "C", 3, 0, 0);
  entry(list, "D", 1, 0, 0);
  entry(list, "A", 3, 0, 0);  // head: A(3), D(1), C(3), B(2)
  list.sortByFiles();
  EXPECT_EQ(names(list), (std::vector<std::string>{"C", "A", "B", "D"}));
  list.sortByFiles();  // sorting again swaps the equal keys back
  EXPECT_EQ(names(list), (std::vector<std::string>{"A", "C", "B", "D"}));
  EXPECT_EQ(list.count, 4u);
  // The sorted list knows its end: another list goes after "D".
  RacerList more;
  entry(more, "F", 0, 0, 0);
  entry(more, "E", 0, 0, 0);
  list.appendList(more);
  EXPECT_EQ(names(list), (std::vector<std::string>{"A", "C", "B", "D", "E", "F"}));
  EXPECT_EQ(list.count, 6u);
  EXPECT_EQ(more.head, nullptr);
  EXPECT_EQ(more.count, 0u);
  // Emptied from the head and filled again, it still appends at its end.
  while (RacerListEntry* e = list.popFront()) delete e;
  entry(more, "G", 0, 0, 0);
  list.appendList(more);
  entry(more, "H", 0, 0, 0);
  list.appendList(more);
  EXPECT_EQ(names(list), (std::vector<std::string>{"G", "H"}));

  RacerList bySize;
  entry(bySize, "small", 0, 1, 0);
  entry(bySize, "big", 0, 900, 0);
  entry(bySize, "mid", 0, 50, 0);
  bySize.sortBySize();
  EXPECT_EQ(names(bySize), (std::vector<std::string>{"big", "mid", "small"}));

  RacerList bySpeed;
  entry(bySpeed, "sfv-only", 0, 0, 0);
  entry(bySpeed, "slow", 2, 0, 10.0f);
  entry(bySpeed, "fast", 1, 0, 80.0f);
  bySpeed.sortBySpeed();
  EXPECT_EQ(names(bySpeed), (std::vector<std::string>{"fast", "slow", "sfv-only"}));

  // A long list of distinct keys in order sorts without exhausting the stack.
  RacerList longList;
  for (unsigned int i = 0; i < 20000; ++i) entry(longList, "x", i, 0, 0);
  longList.sortByFiles();
  EXPECT_EQ(longList.head->filesCount, 19999u);
  EXPECT_EQ(longList.at(19999)->filesCount, 0u);
  EXPECT_EQ(longList.count, 20000u);
}

}  // namespace
