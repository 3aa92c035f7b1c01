#include "programs/foldbirth/foldbirth.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "settings/module_index.h"
#include "stores/board.h"
#include "tests/hook_test_site.h"

namespace {

using testing_support::exists;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::removeFileForTest;
using testing_support::writeFile;

// 9 March 2024, 21:05:07 (a Saturday), for every entry of these tests.
class PinnedClock : public testing_support::PinnedClock {
 public:
  PinnedClock() : testing_support::PinnedClock(2024, 3, 9, 6, 21, 5, 7) {}
};

// A site whose lists are shown in short rows: "<rank> <text> <user> <day>"
// between a head and a tail line, the site's list in "ndl.txt", the
// module's own in "own.txt".
class NewDirSite : public hook_test::HookSite {
 public:
  NewDirSite() {
    setList(global.ndl, "main head", "main tail");
    setList(global.ndlspecial, "own head", "own tail");
    global.ndl.file = "ndl.txt";
    config.ndlspecial_file = "own.txt";
    save();
  }

  // Makes site/<relative> and asks foldbirth about it as `user`; the exit
  // code. The reply is kept in `reply` (removed, so each run has its own).
  int make(const std::string& relative, const std::string& user = "bob") {
    std::string path = release(relative);
    std::string text = line("foldbirth", {"7", path, "/" + relative, "grp", user});
    int code = runNewDirHook(XString(text));
    std::string file = joinPath(box.output(), "ask-foldbirth.7");
    reply = exists(file) ? testing_support::readTextFile(file) : "(none)";
    if (exists(file)) removeFileForTest(file);
    return code;
  }

  // A shown list, written in text mode.
  std::string shown(const char* name) const {
    return testing_support::readTextFile(joinPath(box.data(), name));
  }

  std::string reply;

 private:
  static void setList(NewDirListSettings& s, const char* head, const char* tail) {
    s.lineformat = "%r %t %u %d%o%y";
    s.unlen = 0;  // no padding
    s.tlen = 0;
    s.head = head;
    s.tail = tail;
  }
};

// The rows a list of `count` entries shows, newest first, for folders
// "/<prefix><n>" numbered `newest` downwards, all by bob on the pinned day.
std::string rows(int newest, int count, int rankDigits, const std::string& prefix = "f") {
  std::string out;
  for (int i = 0; i < count; ++i) {
    std::string rank = std::to_string(i + 1);
    rank.insert(0, static_cast<size_t>(rankDigits) - rank.size(), '0');
    out += rank + " /" + prefix + std::to_string(newest - i) + " bob 090324\n";
  }
  return out;
}

TEST(FoldbirthTest, DenyListRefusesTheNameAndMakesNothing) {
  PinnedClock clock;
  NewDirSite site;
  site.config.cinfo = 1;
  site.global.deny_list.add("*.tmp");
  site.save();

  EXPECT_EQ(site.make("Band-Album-INCOMPLETE-2024"), kExitDone);
  EXPECT_EQ(site.reply, "0\nupload denied: dirnames matching \"*incomplete*\" not allowed.\n");
  EXPECT_EQ(site.make("work.TMP"), kExitDone);
  EXPECT_EQ(site.reply, "0\nupload denied: dirnames matching \"*.tmp\" not allowed.\n");
  EXPECT_TRUE(listNames(joinPath(site.box.site(), "work.TMP")).empty());
  EXPECT_FALSE(exists(joinPath(site.box.data(), "newdirlist.sav")));
  EXPECT_FALSE(exists(joinPath(site.box.data(), "ndl.txt")));
  EXPECT_TRUE(site.box.chmodLog().empty());

  // Only the new folder's own name counts, not the folders above it.
  EXPECT_EQ(site.make("incomplete/Fine"), kExitDone);
  EXPECT_EQ(site.reply, "1\n");
  EXPECT_EQ(listNames(joinPath(site.box.site(), "incomplete/Fine")),
            std::vector<std::string>{"@bob"});
}

TEST(FoldbirthTest, CreatorMarkerByKind) {
  PinnedClock clock;
  NewDirSite site;
  EXPECT_EQ(site.make("None"), kExitDone);
  EXPECT_TRUE(listNames(joinPath(site.box.site(), "None")).empty());

  site.config.cinfo = 1;
  site.save();
  EXPECT_EQ(site.make("File", "alice"), kExitDone);
  std::string marker = joinPath(site.box.site(), "File/@alice");
  EXPECT_EQ(listNames(joinPath(site.box.site(), "File")), std::vector<std::string>{"@alice"});
  EXPECT_EQ(readFile(marker), "");
  const Chmod& chmod = site.config.chmod;
  std::string owner = chmod.touser ? "alice grp" : chmod.username.str() + " " + chmod.group.str();
  EXPECT_EQ(site.box.chmodLog(),
            std::vector<std::string>{chmod.allow.str() + " " + owner + " " + marker});

  site.config.cinfo = 2;
  site.save();
  site.box.clearChmodLog();
  EXPECT_EQ(site.make("Folder", "alice"), kExitDone);
  EXPECT_TRUE(isDir(joinPath(site.box.site(), "Folder/@alice")));
  EXPECT_EQ(site.box.chmodLog().size(), 1u);
  EXPECT_EQ(site.reply, "1\n");

  // A kind the hook does not know makes nothing, and the folder is still
  // allowed and listed.
  site.config.cinfo = 7;
  site.save();
  EXPECT_EQ(site.make("Odd"), kExitDone);
  EXPECT_TRUE(listNames(joinPath(site.box.site(), "Odd")).empty());
  EXPECT_EQ(site.shown("ndl.txt"),
            "main head\n01 /Odd bob 090324\n02 /Folder alice 090324\n03 /File alice 090324\n"
            "04 /None bob 090324\nmain tail\n");
}

TEST(FoldbirthTest, FullListDropsItsOldestAndExcludedFoldersStayOut) {
  PinnedClock clock;
  NewDirSite site;
  for (int i = 1; i <= 21; ++i) ASSERT_EQ(site.make("f" + std::to_string(i)), kExitDone);
  EXPECT_EQ(site.reply, "1\n");
  // Twenty rows (the default limit), the newest first; "/f1" is gone.
  const std::string full = "main head\n" + rows(21, 20, 2) + "main tail\n";
  EXPECT_EQ(site.shown("ndl.txt"), full);
  Board stored(site.global.ndl);
  ASSERT_EQ(stored.load(Board::kNewDirListFile), 1);
  EXPECT_EQ(stored.count(), 20u);
  EXPECT_EQ(stored.head()->text, "/f21");
  EXPECT_EQ(stored.entryAt(19)->text, "/f2");

  // A folder whose path matches `ndl_exlist` is marked but not listed.
  site.config.cinfo = 1;
  site.global.ndl_exlist.add(XString(testing_support::nativePath("*/private/*")));
  site.save();
  const std::string store = site.shown(Board::kNewDirListFile);
  EXPECT_EQ(site.make("private"), kExitDone);  // ".../private/" itself
  EXPECT_EQ(site.make("private/Hidden"), kExitDone);
  EXPECT_TRUE(exists(joinPath(site.box.site(), "private/Hidden/@bob")));
  EXPECT_EQ(site.shown(Board::kNewDirListFile), store);
  EXPECT_EQ(site.shown("ndl.txt"), full);

  // A limit raised in the settings lets the list grow again; with the list
  // switched off nothing is entered.
  site.global.ndl.maxentrys = 100;
  site.save();
  EXPECT_EQ(site.make("f22"), kExitDone);
  EXPECT_EQ(site.shown("ndl.txt"), "main head\n" + rows(22, 21, 3) + "main tail\n");
  site.global.ndl.en = false;
  site.save();
  EXPECT_EQ(site.make("f23"), kExitDone);
  EXPECT_EQ(site.shown("ndl.txt"), "main head\n" + rows(22, 21, 3) + "main tail\n");
  EXPECT_TRUE(exists(joinPath(site.box.site(), "f23/@bob")));
}

TEST(FoldbirthTest, ModuleListWithAndWithoutTheSiteList) {
  PinnedClock clock;
  NewDirSite site;
  // The site's list shows the module's own between its head lines.
  site.global.ndl.head = "main head\n%X<m0>\n%ignored";
  site.save();
  ASSERT_EQ(site.make("a1"), kExitDone);
  const std::string store = site.shown(Board::kNewDirListFile);
  EXPECT_FALSE(exists(joinPath(site.box.data(), "m0.ndl")));

  // Its own list only: the site's store is left as it was, but its shown
  // file is rewritten with the module's rows in it.
  site.config.specialndl = true;
  site.save();
  ASSERT_EQ(site.make("m1"), kExitDone);
  ASSERT_EQ(site.make("m2"), kExitDone);
  EXPECT_EQ(site.shown(Board::kNewDirListFile), store);
  EXPECT_TRUE(exists(joinPath(site.box.data(), "m0.ndl")));
  EXPECT_EQ(site.shown("own.txt"), "own head\n" + rows(2, 2, 2, "m") + "own tail\n");
  EXPECT_EQ(site.shown("ndl.txt"),
            "main head\n" + rows(2, 2, 2, "m") + "01 /a1 bob 090324\nmain tail\n");

  // With `ndlspecial_addmain` both lists take it.
  site.config.ndlspecial_addmain = true;
  site.save();
  ASSERT_EQ(site.make("m3"), kExitDone);
  EXPECT_EQ(site.shown("own.txt"), "own head\n" + rows(3, 3, 2, "m") + "own tail\n");
  EXPECT_EQ(site.shown("ndl.txt"), "main head\n" + rows(3, 3, 2, "m") +
                                       "01 /m3 bob 090324\n02 /a1 bob 090324\nmain tail\n");

  // A section name that would reach outside the data folder keeps no list
  // of its own: nothing is read or written for it, the site's list still
  // takes the folder.
  ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"), XString("d"),
                             0);
  index.append(new Module<MConfig>(XString("m0.bcm"), XString("/"), XString("../evil"), XString(""),
                                   0, true));
  ASSERT_TRUE(index.save("ModuleIndex.idx"));
  writeFile(joinPath(site.box.root(), "evil.ndl"), "planted");
  const std::string own = site.shown("own.txt");
  ASSERT_EQ(site.make("m4"), kExitDone);
  EXPECT_EQ(readFile(joinPath(site.box.root(), "evil.ndl")), "planted");
  EXPECT_EQ(site.shown("own.txt"), own);
  Board main(site.global.ndl);
  ASSERT_EQ(main.load(Board::kNewDirListFile), 1);
  EXPECT_EQ(main.head()->text, "/m4");
}

TEST(FoldbirthTest, NoModuleNoFieldsNoLock) {
  NewDirSite site;
  site.config.cinfo = 1;
  site.modulePath = "/mp3/";
  site.moduleIsDefault = false;
  site.save();
  // No module: the folder is allowed, nothing is made.
  EXPECT_EQ(site.make("Other"), kExitNoModule);
  EXPECT_EQ(site.reply, "1\n");
  EXPECT_TRUE(listNames(joinPath(site.box.site(), "Other")).empty());
  EXPECT_FALSE(exists(joinPath(site.box.data(), "newdirlist.sav")));

  // A field too many or too few: no reply at all.
  std::string path = site.release("mp3/Rel");
  for (const std::string& text :
       {site.line("foldbirth", {"x", "7", path, "/mp3/Rel", "grp", "bob"}),
        site.line("foldbirth", {path, "/mp3/Rel", "grp", "bob"})}) {
    EXPECT_EQ(runNewDirHook(XString(text)), kExitFieldCount);
  }
  EXPECT_TRUE(listNames(site.box.output()).empty());

  // Without the site's lock the folder is allowed but neither marked nor
  // listed; a refusal needs no lock, and neither does a site without lists.
  makeDirs(joinPath(site.box.data(), "brindlecast.lock"));
  EXPECT_EQ(site.make("mp3/Locked"), kExitNoLock);
  EXPECT_EQ(site.reply, "1\n");
  EXPECT_TRUE(listNames(joinPath(site.box.site(), "mp3/Locked")).empty());
  EXPECT_FALSE(exists(joinPath(site.box.data(), "newdirlist.sav")));
  EXPECT_EQ(site.make("mp3/incomplete"), kExitDone);
  EXPECT_EQ(site.reply[0], '0');
  site.global.ndl.en = false;
  site.save();
  EXPECT_EQ(site.make("mp3/Unlisted"), kExitDone);
  EXPECT_TRUE(exists(joinPath(site.box.site(), "mp3/Unlisted/@bob")));

  // A server that names no folder gets no marker at the file system's root.
  const bool rootMarked = exists("/@bob");
  EXPECT_EQ(runNewDirHook(XString(site.line("foldbirth", {"7", "", "/mp3/x", "grp", "bob"}))),
            kExitDone);
  EXPECT_EQ(exists("/@bob"), rootMarked);
}

}  // namespace
