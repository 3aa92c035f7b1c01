#include "programs/tunelacer/tunelacer.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/lock.h"
#include "settings/lconfig.h"
#include "tests/hook_test_site.h"
#include "tests/mp3_test_bytes.h"

namespace {

using testing_support::exists;
using testing_support::isDir;
using testing_support::lines;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

// A physical path written with '/' here.
std::string P(const std::string& path) { return testing_support::nativePath(path); }

// The folders the busy window was told about, by every window of a test.
std::vector<std::string> windowSaw;

class RecordingWindow : public BusyWindow {
 public:
  void linking(const XString& folder) override { windowSaw.push_back(folder.str()); }
};

std::unique_ptr<BusyWindow> makeRecordingWindow() { return std::make_unique<RecordingWindow>(); }

#ifndef _WIN32
ino_t inodeOf(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}
#endif

void writeMP3(const std::string& path, const std::string& artist, const std::string& year,
              unsigned char genre) {
  writeFile(path, mp3_test::word(mp3_test::kMpeg1Layer3) + std::string(400, '\0') +
                      mp3_test::id3v1("title", artist, "album", year, "", genre));
}

std::string vfsLine(const std::string& real, const std::string& virt,
                    const std::string& owner = "Brindlecast|default|764") {
  return real + "|" + virt + "|" + owner + "|r|0|0|0|0|0|0|0|0|\r\n";
}

// A site with one source folder, "site/music/", the six link roots in
// "site/links/<kind>/" and a backup that maps "site/links" to "/links" and
// the source to "/music". Every kind of link is on.
class LinkSite : public hook_test::HookSite {
 public:
  LinkSite()
      : music(box.site() + P("/music/")),
        linkRoot(box.site() + P("/links")),
        server(box.root() + P("/server")),
        logPath(box.root() + P("/tunelacer.log")),
        backupText(vfsLine(linkRoot, "/links", "site|site|777") +
                   vfsLine(box.site() + P("/music"), "/music", "site|site|777")) {
    makeDirs(music);
    makeDirs(linkRoot);
    makeDirs(server);
    global.vfsfile = server + P("/raidenftpd.vfs");
    global.vfsbackup = server + P("/backup.vfs");
    writeFile(server + P("/backup.vfs"), backupText);
    links.setDefaults(0);
    links.link_en = true;
    links.link_listp = true;  // only the groups of the default list: years
    links.link_artisten = links.link_genreen = links.link_groupen = links.link_yearen = true;
    links.link_dirnameen = links.link_allinoneen = true;
    links.link_artistdir = XString(root("artist"));
    links.link_genredir = XString(root("genre"));
    links.link_groupdir = XString(root("group"));
    links.link_yeardir = XString(root("year"));
    links.link_dirnamedir = XString(root("dirname"));
    links.link_allinonedir = XString(root("allinone"));
    links.link_logfile = XString(logPath);
    links.link_pathes.add(music);
    save();
  }

  void save() {
    HookSite::save();
    ASSERT_TRUE(links.save(kLinkerConfigFile));
  }
  std::string root(const std::string& kind) const { return linkRoot + P("/") + kind + P("/"); }
  int run(BusyWindowMaker window = nullptr) {
    return runLinkBuilder(XString(box.program("tunelacer")), window);
  }
  // The log is written in text mode.
  std::string log() const {
    return exists(logPath) ? testing_support::readTextFile(logPath) : "(no log)";
  }
  std::string live() const {
    return exists(global.vfsfile.str()) ? readFile(global.vfsfile.str()) : "(no file)";
  }

  LConfig links;
  const std::string music;
  const std::string linkRoot;
  const std::string server;
  const std::string logPath;
  const std::string backupText;
};

// Pieces of the log.
std::string scanning(const std::string& folder) { return "|--scanning dir: " + folder + "\n"; }
std::string value(const std::string& kind, const std::string& v) {
  return "|  |--" + kind + ": " + v + "\n";
}
std::string linked(const std::string& virt) { return "|  |  link: /links/" + virt + "/\n"; }
const std::string kSkipping = "|  |  skipping (makeunknown = false)\n";
const std::string kStart =
    "clearing old directories.\ncreating new directories.\n"
    "scanning directorys.\n";

// Every link of a folder `name` whose values all count.
std::string allSix(const std::string& name, const std::string& artist, const std::string& genre,
                   const std::string& group, const std::string& year, const std::string& letter) {
  return value("artist", artist) + linked("artist/" + artist + "/" + name) + value("genre", genre) +
         linked("genre/" + genre + "/" + name) + value("group", group) +
         linked("group/" + group + "/" + name) + value("year", year) +
         linked("year/" + year + "/" + name) + value("dirname", letter) +
         linked("dirname/" + letter + "/" + name) + value("all in one", name) +
         linked("allinone/" + name) + "|\n";
}

// A small tree: releases with and without a group the default filter
// keeps, tag texts that would make extra folder levels or climb out, a
// various-artists release, a lower-case and a digit first letter, a folder
// whose only MP3 file is empty above one that is linked, CD subfolders,
// and a link to a folder, which is not walked.
void plantTree(const LinkSite& site) {
  const std::string& s = site.music;
  makeDirs(s + "2Pac-Greatest-2004");
  writeMP3(s + P("2Pac-Greatest-2004/01.mp3"), "2Pac", "1998", 15);
  makeDirs(s + P("Band-Album-GRP/CD1"));
  writeMP3(s + P("Band-Album-GRP/01.mp3"), "AC/DC", "0000", 62);
  writeMP3(s + P("Band-Album-GRP/CD1/01.mp3"), "..", "2001", 255);
  makeDirs(s + "bond-Spy-1999");
  writeFile(s + P("bond-Spy-1999/a.mp3.txt"), "not audio");
  writeMP3(s + P("bond-Spy-1999/b.mp3"), "Bond", "1999", 17);
  makeDirs(s + P("empty-Only-2005/inner-Deep-2006"));
  writeFile(s + P("empty-Only-2005/00.mp3"), "");
#ifndef _WIN32  // symbolic links: neither is followed
  ASSERT_EQ(symlink((s + P("2Pac-Greatest-2004/01.mp3")).c_str(),
                    (s + P("empty-Only-2005/01.mp3")).c_str()),
            0);
  ASSERT_EQ(symlink((site.box.site() + P("/other")).c_str(), (s + "zlink").c_str()), 0);
#endif
  writeMP3(s + P("empty-Only-2005/inner-Deep-2006/a.mp3"), "Inner", "2006", 0);
  makeDirs(s + "va-Hits-2003");
  writeMP3(s + P("va-Hits-2003/X.MP3"), "Various", "2003", 13);
  makeDirs(site.box.site() + P("/other/Other-Album-2000"));
  writeMP3(site.box.site() + P("/other/Other-Album-2000/o.mp3"), "Other", "2000", 1);
}

TEST(Tunelacer, LogAndVfsLinesOfASmallTree) {
  LinkSite site;
  plantTree(site);
  const std::string& s = site.music;
  windowSaw.clear();
  ASSERT_EQ(site.run(&makeRecordingWindow), kExitDone);

  const std::string band = "Band-Album-GRP";
  const std::string expectedLog =
      kStart + scanning(s) + scanning(s + P("2Pac-Greatest-2004/")) +
      allSix("2Pac-Greatest-2004", "2Pac", "Rap", "2004", "1998", "2") + scanning(s) +
      scanning(s + band + P("/")) + value("artist", "AC_DC") + linked("artist/AC_DC/" + band) +
      value("genre", "Pop_Funk") + linked("genre/Pop_Funk/" + band) +
      "|  |--group: unknown (groupname not in filterlist)\n" + kSkipping + value("year", "n-a") +
      kSkipping + value("dirname", "B") + linked("dirname/B/" + band) + value("all in one", band) +
      linked("allinone/" + band) + "|\n" + scanning(s + band + P("/CD1/")) +
      value("artist", "unknown") + kSkipping + value("genre", "unknown") + kSkipping +
      value("group", "unknown") + kSkipping + value("year", "2001") + linked("year/2001/CD1") +
      value("dirname", "C") + linked("dirname/C/CD1") + value("all in one", "CD1") +
      linked("allinone/CD1") + "|\n" + scanning(s + band + P("/")) + scanning(s) +
      scanning(s + P("bond-Spy-1999/")) +
      allSix("bond-Spy-1999", "Bond", "Rock", "1999", "1999", "B") + scanning(s) +
      scanning(s + P("empty-Only-2005/")) + scanning(s + P("empty-Only-2005/inner-Deep-2006/")) +
      allSix("inner-Deep-2006", "Inner", "Blues", "2006", "2006", "I") +
      scanning(s + P("empty-Only-2005/")) + scanning(s) + scanning(s + P("va-Hits-2003/")) +
      allSix("va-Hits-2003", "Various", "Pop", "2003", "2003", "Various") + scanning(s);
  EXPECT_EQ(site.log(), expectedLog);

  // Every link is one entry from the scanned folder to its link folder; the
  // file holds them newest first, then the backup's lines.
  std::vector<std::string> added;
  for (const std::string& line : lines(site.log())) {
    if (line.compare(0, 10, "|  |  link") != 0) continue;
    std::string virt = line.substr(12);
    virt.pop_back();  // its '/'
    std::string name = virt.substr(virt.rfind('/') + 1);
    std::string folder = name == "CD1"               ? band + P("/CD1")
                         : name == "inner-Deep-2006" ? P("empty-Only-2005/") + name
                                                     : name;
    added.push_back(vfsLine(s + folder, virt));
  }
  ASSERT_EQ(added.size(), 31u);
  std::string expectedVfs;
  for (auto line = added.rbegin(); line != added.rend(); ++line) expectedVfs += *line;
  expectedVfs += vfsLine(site.box.site() + P("/music"), "/music", "site|site|777") +
                 vfsLine(site.linkRoot, "/links", "site|site|777");
  EXPECT_EQ(site.live(), expectedVfs);
  EXPECT_EQ(readFile(site.global.vfsbackup.str()), site.backupText);

  // The folders are there; a tag never makes a level of its own.
  EXPECT_TRUE(isDir(site.root("artist") + P("AC_DC/") + band));
  EXPECT_TRUE(isDir(site.root("genre") + P("Pop_Funk/") + band));
  EXPECT_TRUE(isDir(site.root("dirname") + P("Various/va-Hits-2003")));
  EXPECT_EQ(listNames(site.root("artist")),
            (std::vector<std::string>{"2Pac", "AC_DC", "Bond", "Inner", "Various"}));
  EXPECT_EQ(windowSaw, (std::vector<std::string>{s + P("2Pac-Greatest-2004/"), s + band + P("/"),
                                                 s + band + P("/CD1/"), s + P("bond-Spy-1999/"),
                                                 s + P("empty-Only-2005/inner-Deep-2006/"),
                                                 s + P("va-Hits-2003/")}));

  // Again with a negative filter list and unknown values linked: the last
  // run's links are gone, the file is the backup with this run's links.
  // A link folder made again stays the folder it was, emptied of what is
  // not a link of this run.
  makeDirs(site.root("artist") + P("Stale/Old-Release"));
  const std::string again = site.root("artist") + P("AC_DC/") + band;
  makeDirs(again + P("/junk"));
  writeFile(again + P("/junk.txt"), "");
#ifndef _WIN32
  const ino_t before = inodeOf(again);
#endif
  site.links.link_listp = false;
  site.links.link_list.clear();
  site.links.link_list.add("gr?");
  site.links.link_makeunknown = true;
  site.links.link_show = false;
  site.save();
  const size_t logged = site.log().size();
  windowSaw.clear();
  ASSERT_EQ(site.run(&makeRecordingWindow), kExitDone);
  const std::string second = site.log().substr(logged);
#ifndef _WIN32
  EXPECT_EQ(inodeOf(again), before);
#endif
  EXPECT_TRUE(listNames(again).empty());
  EXPECT_NE(second.find("|  |--group: unknown (groupname in filterlist)\n" +
                        linked("group/unknown/" + band)),
            std::string::npos)
      << second;
  EXPECT_NE(second.find(value("year", "n-a") + linked("year/n-a/" + band)), std::string::npos);
  EXPECT_NE(second.find(value("group", "2004") + linked("group/2004/2Pac-Greatest-2004")),
            std::string::npos);
  EXPECT_EQ(second.find(kSkipping), std::string::npos);
  EXPECT_FALSE(exists(site.root("artist") + "Stale"));
  EXPECT_TRUE(isDir(site.root("artist") + "unknown/CD1"));
  EXPECT_TRUE(windowSaw.empty());  // link_show off
  EXPECT_EQ(lines(site.live()).size(), 2u + 36u);
}

// The vfs file fills up during the genre link of the second release: its
// later links are not made, no "|" line follows, no further folder is
// scanned, and the file is saved with what was added.
TEST(Tunelacer, EntryLimitEndsTheScanMidFolder) {
  LinkSite site;
  plantTree(site);
  site.global.vfs_maxentrys = 2 + 7;
  site.save();
  ASSERT_EQ(site.run(), kExitDone);
  const std::string& s = site.music;
  const std::string band = "Band-Album-GRP";
  EXPECT_EQ(site.log(), kStart + scanning(s) + scanning(s + P("2Pac-Greatest-2004/")) +
                            allSix("2Pac-Greatest-2004", "2Pac", "Rap", "2004", "1998", "2") +
                            scanning(s) + scanning(s + band + P("/")) + value("artist", "AC_DC") +
                            linked("artist/AC_DC/" + band) + value("genre", "Pop_Funk") +
                            "! vfs max entrys reached. Aborting");
  std::vector<std::string> saved = lines(site.live());
  ASSERT_EQ(saved.size(), 9u);
  EXPECT_EQ(saved[0] + "\n", vfsLine(s + band, "/links/artist/AC_DC/" + band));
  EXPECT_TRUE(isDir(site.root("genre") + P("Pop_Funk/") + band));  // made before the entry
  EXPECT_FALSE(exists(site.root("year") + "2001"));
}

// Every way a run ends early, and what it leaves alone then.
TEST(Tunelacer, ExitCodesAndWhatEachLeavesAlone) {
  LinkSite site;
  plantTree(site);
  makeDirs(site.root("artist") + P("Old/Old-Release"));
  const std::string oldLinks = site.root("artist") + P("Old/Old-Release");
  writeFile(site.global.vfsfile.str(), "live|/live|o|g|775|r|0|0|0|0|0|0|0|0|\n");
  const std::string liveBefore = site.live();
  auto untouched = [&](const char* how) {
    EXPECT_TRUE(isDir(oldLinks)) << how;
    EXPECT_EQ(site.live(), liveBefore) << how;
  };

  site.links.link_en = false;
  site.save();
  EXPECT_EQ(site.run(), kExitLinkerOff);
  EXPECT_FALSE(exists(site.logPath));
  untouched("switched off");
  site.links.link_en = true;
  site.save();

  {
    // A second run while one runs: turned away at once.
    platform::RunLock running((site.box.data() + P("/") + kLinkerLockFile).c_str());
    ASSERT_TRUE(running.held());
    EXPECT_EQ(site.run(), kExitBusy);
    EXPECT_FALSE(exists(site.logPath));
    untouched("busy");
  }
  // Its own lock file cannot be made (a read-only data folder; here a
  // folder in its place): no lock could be had, which is not another run.
  const std::string runLock = site.box.data() + P("/") + kLinkerLockFile;
  testing_support::removeFileForTest(runLock);
  makeDirs(runLock);
  EXPECT_EQ(site.run(), kExitNoLock);
  EXPECT_FALSE(exists(site.logPath));
  untouched("no run lock");
  ASSERT_TRUE(platform::removeDir(runLock.c_str()));

  // The backup named as the live file, by its own name or through a link.
  const XString backup = site.global.vfsbackup;
  site.global.vfsbackup = site.global.vfsfile;
  site.save();
  EXPECT_EQ(site.run(), kExitSameVfsFile);
#ifdef _WIN32
  // Another spelling that Windows takes for the same file.
  site.global.vfsbackup = site.server + P("/RAIDENFTPD.VFS");
#else
  ASSERT_EQ(symlink(site.global.vfsfile.c_str(), (site.server + P("/alias.vfs")).c_str()), 0);
  site.global.vfsbackup = site.server + P("/alias.vfs");
#endif
  site.save();
  EXPECT_EQ(site.run(), kExitSameVfsFile);
  EXPECT_FALSE(exists(site.logPath));
  untouched("same file");

  // No backup, an empty one, one with a malformed line after a good one.
  site.global.vfsbackup = site.server + P("/missing.vfs");
  site.save();
  EXPECT_EQ(site.run(), kExitNoBackupEntry);
  site.global.vfsbackup = backup;
  site.save();
  writeFile(backup.str(), "");
  EXPECT_EQ(site.run(), kExitNoBackupEntry);
  writeFile(backup.str(), site.backupText + "a|b|c\r\n");
  EXPECT_EQ(site.run(), kExitBadBackup);
  EXPECT_EQ(site.log(),
            "! vfs backup \"" + backup.str() + "\" holds a malformed line: nothing changed\n");
  untouched("bad backup");
  writeFile(backup.str(), site.backupText);

  // The site-wide lock cannot be had: a folder where its file should be.
  testing_support::removeFileForTest(site.box.data() + P("/") + platform::kLockFileName);
  makeDirs(site.box.data() + P("/") + platform::kLockFileName);
  EXPECT_EQ(site.run(), kExitNoLock);
  untouched("no lock");
  ASSERT_TRUE(platform::removeDir((site.box.data() + P("/") + platform::kLockFileName).c_str()));

  // Every way the save of the live file can fail leaves the old one whole.
  for (platform::FaultStep step : {platform::FaultStep::kTempFile, platform::FaultStep::kFlush,
                                   platform::FaultStep::kRename}) {
    testing_support::PlannedFault fault(step);
    EXPECT_EQ(site.run(), kExitSaveFailed) << static_cast<int>(step);
    EXPECT_TRUE(fault.happened()) << static_cast<int>(step);
    EXPECT_EQ(site.live(), liveBefore) << static_cast<int>(step);
  }
  // A folder that cannot be flushed after the rename undoes nothing: the
  // new file is in place and the run is done.
  {
    testing_support::PlannedFault fault(platform::FaultStep::kFolderFlush);
    EXPECT_EQ(site.run(), kExitDone);
    EXPECT_TRUE(fault.happened());
  }
  EXPECT_EQ(lines(site.live()).size(), 2u + 31u);
  // The live file cannot be written: its folder is a file.
  site.global.vfsfile = site.box.root() + P("/not-a-folder/raidenftpd.vfs");
  site.save();
  writeFile(site.box.root() + P("/not-a-folder"), "");
  EXPECT_EQ(site.run(), kExitSaveFailed);
  EXPECT_NE(site.log().find("! cannot write vfs file \"" + site.global.vfsfile.str() + "\"\n"),
            std::string::npos);
  EXPECT_FALSE(exists(oldLinks));  // the run itself went through

  // The live file's path leads to a folder: neither read nor replaced.
  const std::string live = site.server + P("/live.vfs");
  site.global.vfsfile = XString(live);
  site.save();
  makeDirs(live);
  makeDirs(oldLinks);
  EXPECT_EQ(site.run(), kExitVfsNotAFile);
  EXPECT_NE(site.log().find("! vfs file \"" + live + "\" is not a regular file: nothing changed\n"),
            std::string::npos);
  EXPECT_TRUE(isDir(oldLinks));
  EXPECT_TRUE(listNames(live).empty());
#ifndef _WIN32  // symbolic links
  // Behind the administrator's link it is rewritten where the link leads.
  ASSERT_TRUE(platform::removeDir(live.c_str()));
  writeFile(site.server + P("/real.vfs"), "");
  ASSERT_EQ(symlink((site.server + P("/real.vfs")).c_str(), live.c_str()), 0);
  EXPECT_EQ(site.run(), kExitDone);
  EXPECT_TRUE(platform::isLink(live.c_str()));
  EXPECT_EQ(lines(readFile(site.server + P("/real.vfs"))).size(), 2u + 31u);
#endif
}

// Link roots that would wipe real data are refused, and nothing in a link
// root but link folders is deleted.
TEST(Tunelacer, PlantedDangersInTheLinkRoots) {
  LinkSite site;
  plantTree(site);
  // The group root holds the source folder; the year root is the data folder.
  site.links.link_groupdir = XString(site.box.site() + P("/"));
  site.links.link_yeardir = XString(site.box.data());
  site.links.link_dirnamedir = "";
  site.save();
  // A link to a folder of real files, and a file with bytes, in a link root.
  makeDirs(site.root("artist") + "Old");
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink((site.box.site() + P("/other")).c_str(),
                    (site.root("artist") + P("Old/to-other")).c_str()),
            0);
#endif
  makeDirs(site.root("genre") + "Rock");
  writeFile(site.root("genre") + P("Rock/notes.txt"), "mine");
  makeDirs(site.root("genre") + P("Rock/Old-Release"));

  ASSERT_EQ(site.run(), kExitDone);
  const std::string log = site.log();
  EXPECT_EQ(log.substr(0, log.find("creating new directories.")),
            "clearing old directories.\n"
            "! left in place: \"" +
                site.root("genre") + P("Rock/notes.txt") + "\"\n" + "! refusing link root \"" +
                site.box.site() + P("/") + "\": it is, holds or lies in a source folder\n" +
                "! refusing link root \"" + site.box.data() + P("/") +
                "\": it is or holds the data folder\n" +
                "! refusing link root \"\": no folder is set\n");
  EXPECT_EQ(readFile(site.box.site() + P("/other/Other-Album-2000/o.mp3")).size(), 532u);
  EXPECT_FALSE(exists(site.root("artist") + "Old"));
  EXPECT_EQ(readFile(site.root("genre") + P("Rock/notes.txt")), "mine");
  EXPECT_FALSE(exists(site.root("genre") + P("Rock/Old-Release")));
  EXPECT_TRUE(isDir(site.root("genre") + P("Rock/bond-Spy-1999")));
  // The refused kinds make nothing, anywhere.
  EXPECT_EQ(log.find("|--group:"), std::string::npos);
  EXPECT_EQ(log.find("|--year:"), std::string::npos);
  EXPECT_EQ(log.find("|--dirname:"), std::string::npos);
  EXPECT_TRUE(isDir(site.music + "2Pac-Greatest-2004"));
  EXPECT_FALSE(exists(site.box.site() + P("/2004")));
  EXPECT_FALSE(exists(site.box.data() + P("/1998")));

#ifndef _WIN32  // no Windows name holds a '|'
  // A folder name or tag that cannot stand in a vfs line is skipped.
  makeDirs(site.music + "Bar|Foo-X-2007");
  writeMP3(site.music + "Bar|Foo-X-2007/a.mp3", "A|B", "2007", 1);
  ASSERT_EQ(site.run(), kExitDone);
  EXPECT_NE(site.log().find("! cannot link directory \"" + site.music + "Bar|Foo-X-2007/\" to \"" +
                            site.root("artist") +
                            "A_B/Bar_Foo-X-2007\": '|' or a line break "
                            "cannot stand in the vfs file\n"),
            std::string::npos);
  EXPECT_EQ(site.live().find("Bar|Foo"), std::string::npos);
#endif
}

// The new-day program's today and yesterday links in the live file stay;
// the links of the last run do not.
TEST(Tunelacer, KeepsTheNewDayLinks) {
  LinkSite site;
  plantTree(site);
  site.global.nd.todaylink = site.linkRoot + P("/today");
  site.global.nd.yesterdaylink = site.linkRoot + P("/yesterday");
  // Room for the backup, both new-day links and a single link.
  site.global.vfs_maxentrys = 2 + 2 + 1;
  site.save();
  const std::string today = vfsLine(site.box.site() + P("/days/0309"), "/links/today", "nd|nd|777");
  const std::string yesterday =
      vfsLine(site.box.site() + P("/days/0308"), "/links/yesterday", "nd|nd|755");
  writeFile(
      site.global.vfsfile.str(),
      yesterday + today + vfsLine(site.music + "Old", "/links/allinone/Old") + site.backupText);
  ASSERT_EQ(site.run(), kExitDone);
  EXPECT_EQ(site.live(), yesterday + today +
                             vfsLine(site.music + "2Pac-Greatest-2004",
                                     "/links/artist/2Pac/2Pac-Greatest-2004") +
                             vfsLine(site.box.site() + P("/music"), "/music", "site|site|777") +
                             vfsLine(site.linkRoot, "/links", "site|site|777"));
  EXPECT_NE(site.log().find("! vfs max entrys reached. Aborting"), std::string::npos);
}

}  // namespace
