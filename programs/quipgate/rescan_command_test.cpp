// "rescan": the reply's lines in order and the markers they stand for, in a
// folder without an SFV, an incomplete one and a complete one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/quipgate/quipgate_test_site.h"

namespace {

using quipgate_test::Answer;
using quipgate_test::QuipSite;
using testing_support::exists;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::writeFile;

struct RescanSite : QuipSite {
  RescanSite() : rel(release("Rel")) {}
  std::string rescan() {
    Answer a = run("rescan", "bob", "2", rel, "/Rel");
    EXPECT_EQ(a.code, 0);
    EXPECT_EQ(a.name, "site-rescan");
    return a.text;
  }
  std::vector<std::string> startingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& name : listNames(folder)) {
      if (name.compare(0, prefix.size(), prefix) == 0) out.push_back(name);
    }
    return out;
  }
  bool chmodded(const std::string& path) const {
    for (const std::string& line : box.chmodLog()) {
      if (line == "764 bob grp " + path) return true;
    }
    return false;
  }
  std::string rel;
};

TEST(QuipgateRescanTest, NoSfv) {
  RescanSite site;
  EXPECT_EQ(site.rescan(), "no sfv found\n...sfv missing created\n");
  const std::string marker = joinPath(site.box.site(), "Rel - SFV missing");
  EXPECT_TRUE(exists(marker));
  EXPECT_TRUE(site.chmodded(marker));
  // At the top of the site there is nothing beside the folder to mark.
  site.box.clearChmodLog();
  Answer a = site.run("rescan", "bob", "2", site.box.site(), "/");
  EXPECT_EQ(a.text, "no sfv found\n...sfv missing created\n");
  EXPECT_TRUE(site.box.chmodLog().empty());
}

// The SFV lists five names: two unsafe ones count as listed and are never
// present, and get no marker; of the three plain ones one is there.
TEST(QuipgateRescanTest, IncompleteFolder) {
  RescanSite site;
  const std::string& rel = site.rel;
  writeFile(joinPath(rel, "rel.sfv"), "a.mp3 1\nb.mp3 2\nc.rar 3\n../evil 4\nsub/x 5\n");
  writeFile(joinPath(rel, "A.MP3"), "not really audio");
  writeFile(joinPath(rel, "a.mp3-missing"), "");  // stale: a is there
  writeFile(joinPath(rel, "[%%%%------------] - 040% - 2 of 5 files uploaded"), "");  // an old bar
  writeFile(joinPath(site.box.site(), "Rel - SFV missing"), "");
  const std::string reply = "sfv found: " + joinPath(rel, "rel.sfv") +
                            "\n...missing files repaired\n"
                            "...sfv missing removed\n"
                            "...sfv incomplete created\n"
                            "...old progress bars removed\n"
                            "...progress bar created\n"
                            "...tag info created\n";
  EXPECT_EQ(site.rescan(), reply);
  EXPECT_EQ(site.startingWith(rel, "["),
            std::vector<std::string>{"[%%----------------] - 020% - 1 of 5 files uploaded"});
  EXPECT_FALSE(exists(joinPath(rel, "a.mp3-missing")));
  EXPECT_TRUE(exists(joinPath(rel, "b.mp3-missing")));
  EXPECT_TRUE(exists(joinPath(rel, "c.rar-missing")));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "evil-missing")));
  EXPECT_FALSE(exists(joinPath(rel, "sub")));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV missing")));
  EXPECT_TRUE(exists(joinPath(site.box.site(), "Rel - SFV incomplete")));
  std::vector<std::string> tags = site.startingWith(rel, "TAG");
  ASSERT_EQ(tags.size(), 1u);
  EXPECT_TRUE(isDir(joinPath(rel, tags[0])));  // the default kind: a folder
  // The markers made go to the chmod program (the missing ones through one
  // wildcard, which the chmod program expands).
  EXPECT_TRUE(site.chmodded(joinPath(rel, "b.mp3-missing")));
  EXPECT_TRUE(site.chmodded(joinPath(rel, "c.rar-missing")));
  EXPECT_TRUE(site.chmodded(joinPath(site.box.site(), "Rel - SFV incomplete")));
  EXPECT_TRUE(site.chmodded(joinPath(rel, tags[0])));

  // Again: the same lines; the markers in line stay as they are and go to
  // the chmod program no more; only what was missing is made.
  const std::vector<std::string> before = listNames(rel);
  site.box.clearChmodLog();
  EXPECT_EQ(site.rescan(), reply);
  EXPECT_EQ(listNames(rel), before);
  EXPECT_EQ(site.box.chmodLog(), std::vector<std::string>{});
  testing_support::removeFileForTest(joinPath(rel, "c.rar-missing"));
  EXPECT_EQ(site.rescan(), reply);
  EXPECT_EQ(listNames(rel), before);
  EXPECT_TRUE(site.chmodded(joinPath(rel, "c.rar-missing")));
}

TEST(QuipgateRescanTest, CompleteFolder) {
  RescanSite site;
  const std::string& rel = site.rel;
  writeFile(joinPath(rel, "rel.sfv"), "a.mp3 1\nb.mp3 2\n");
  writeFile(joinPath(rel, "a.mp3"), "x");
  writeFile(joinPath(rel, "b.mp3"), "x");
  writeFile(joinPath(rel, "b.mp3-missing"), "");
  writeFile(joinPath(rel, "[%%%%%----------] - 050% - 1 of 2 files uploaded"), "");
  writeFile(joinPath(site.box.site(), "Rel - SFV incomplete"), "");
  const std::string head = "sfv found: " + joinPath(rel, "rel.sfv") +
                           "\n...missing files repaired\n"
                           "...sfv missing removed\n"
                           "...sfv incomplete removed\n"
                           "...old progress bars removed\n";
  EXPECT_EQ(site.rescan(), head + "...completed taginfo created\n");
  EXPECT_FALSE(exists(joinPath(rel, "b.mp3-missing")));
  EXPECT_FALSE(exists(joinPath(site.box.site(), "Rel - SFV incomplete")));
  std::vector<std::string> completed = site.startingWith(rel, "[");
  ASSERT_EQ(completed.size(), 1u);
  EXPECT_EQ(completed[0].compare(0, 25, "[COMPLETED] - 0.00 in 2 f"), 0) << completed[0];

  // Without merging: the complete bar, and the tag of the first MP3.
  site.config.tinfo.merge = false;
  site.save();
  EXPECT_EQ(site.rescan(), head + "...progress bar created\n...tag info created\n");
  EXPECT_TRUE(exists(joinPath(rel, "[COMPLETED] - 0.00MB in 2 files")));

  // A folder the SFV rules leave out gets the bar, and no tag at all.
  makeDirs(joinPath(rel, "../Other"));
  site.config.tinfo.merge = true;
  site.config.sfv_dirlist.add(XString(testing_support::nativePath("*/Rel/")));
  site.save();
  EXPECT_EQ(site.rescan(), head + "...progress bar created\n");
}

// Markers that stand in another letter case than the SFV spells the name
// (left by an SFV that spelled it so) are found as a Windows file system
// finds them: a present file's marker goes, and an absent file's marker
// counts as there, so no second one is made beside it.
TEST(QuipgateRescanTest, MarkersInAnotherCase) {
  RescanSite site;
  const std::string& rel = site.rel;
  writeFile(joinPath(rel, "rel.sfv"), "03-Long_Day.mp3 1\n05-Gone.mp3 2\n");
  writeFile(joinPath(rel, "03-LONG_DAY.MP3"), "x");
  writeFile(joinPath(rel, "03-long_day.mp3-missing"), "");
  writeFile(joinPath(rel, "05-GONE.mp3-missing"), "");
  writeFile(joinPath(site.box.site(), "REL - SFV incomplete"), "");
  site.rescan();
  EXPECT_EQ(site.startingWith(rel, "0"),
            (std::vector<std::string>{"03-LONG_DAY.MP3", "05-GONE.mp3-missing"}));
  EXPECT_EQ(site.startingWith(site.box.site(), "R"),
            (std::vector<std::string>{"REL - SFV incomplete", "Rel"}));

#ifndef _WIN32  // no Windows folder holds two names that differ in case only
  // Beside a CD folder spelled like this one in another case, the markers
  // and bars named from the CD folder in another case are that folder's:
  // they stay, and this folder gets its own.
  site.config.pb.mcd = true;
  site.save();
  const std::string multi = site.release("Multi");
  const std::string cd = joinPath(multi, "CD1");
  makeDirs(cd);
  makeDirs(joinPath(multi, "cd1"));
  writeFile(joinPath(cd, "cd1.sfv"), "a.mp3 1\nb.mp3 2\n");
  writeFile(joinPath(cd, "a.mp3"), "x");
  const std::string bar = "[%%%%%----------] - 050% - 1 of 2 files uploaded in ";
  const std::string empty = "[--------------------] - 000% - 0 of 2 files uploaded in cd1";
  writeFile(joinPath(multi, bar + "cd1"), "");
  writeFile(joinPath(multi, empty), "");
  writeFile(joinPath(site.box.site(), "Multi-cd1 - SFV missing"), "");
  writeFile(joinPath(site.box.site(), "Multi-cd1 - SFV incomplete"), "");
  EXPECT_EQ(site.run("rescan", "bob", "2", cd, "/Multi/CD1").code, 0);
  EXPECT_EQ(site.startingWith(multi, "["),
            (std::vector<std::string>{bar + "CD1", bar + "cd1", empty}));
  EXPECT_EQ(site.startingWith(site.box.site(), "Multi"),
            (std::vector<std::string>{"Multi", "Multi-CD1 - SFV incomplete",
                                      "Multi-cd1 - SFV incomplete", "Multi-cd1 - SFV missing"}));
#endif
}

}  // namespace
