#include "programs/landfall/landfall.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "hookkit/hook_frame.h"
#include "hookkit/release_event.h"
#include "platform/fs.h"
#include "platform/paths.h"
#include "programs/tallyfull/tallyfull.h"
#include "programs/tallyglad/tallyglad.h"
#include "race/racer.h"
#include "race/status.h"
#include "settings/gconfig.h"
#include "settings/module_index.h"
#include "tests/hook_test_site.h"
#include "tests/test_support.h"

namespace {

using hook_test::holdsTemporaryFile;
using hook_test::kSaveSteps;
using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::isDir;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

std::string mp3Bytes() {
  return readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/mpeg1_cbr_joint.mp3");
}

// An install folder with the default settings, the module's templates made
// short so each test can read the markers and texts at a glance.
class LandfallSite {
 public:
  LandfallSite() : rel_(joinPath(box_.site(), "Rel")) {
    makeDirs(rel_);
    GConfig global;
    global.setDefaults(0);
    global.raidenftpd = joinPath(box_.root(), "raidenftpd");  // replies go to root/output
    EXPECT_TRUE(global.save("BCconfig.bcc"));
    ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"),
                               XString(""), 0);
    index.ensureDefault();
    MConfig* c = index.at(0)->config();
    c->pb.mode = 1;
    c->pb.incpat = "BAR %F of %o";
    c->pb.compat = "BAR DONE %o";
    c->tinfo.mode = 1;
    c->tinfo.format = " %a";
    c->tinfo.mergepat = "MERGED %o";
    c->racer.gbody = "G %N %S|%u";
    c->racer.guser = "%u:%n";
    c->racer.sbody = "S %N/%m|%u";
    c->racer.suser = "%u:%n";
    c->racer.mbody = "";
    c->racer.glunlen = c->racer.slunlen = 0;
    c->racer.glcutun = c->racer.slcutun = false;
    EXPECT_TRUE(index.save("ModuleIndex.idx"));
  }

  void configure(const std::function<void(MConfig&)>& change) {
    MConfig c;
    ASSERT_TRUE(c.load("default.bcm"));
    change(c);
    ASSERT_TRUE(c.save("default.bcm"));
  }

  std::string file(const std::string& name) const { return joinPath(rel_, name); }
  const std::string& rel() const { return rel_; }
  const InstallSandbox& box() const { return box_; }

  // Runs the hook for a file already in the release.
  int run(const std::string& name, const std::string& user = "bob",
          const std::string& group = "grp", const std::string& speed = "100") {
    return runIn("Rel", name, user, group, speed);
  }
  // Runs the hook for a file already in the site's folder `release`.
  int runIn(const std::string& release, const std::string& name, const std::string& user = "bob",
            const std::string& group = "grp", const std::string& speed = "100") {
    std::string id = std::to_string(++requests_);
    std::string line = box_.program("landfall");
    for (const std::string& f :
         {std::string("R"), std::string("b"), joinPath(box_.site(), release + "/" + name),
          "/" + release + "/" + name, group, user, speed, id}) {
      line += "??-??" + f;
    }
    return runUploadHook(XString(line));
  }
  // Runs the completion hook for a file of the site's folder `release`.
  int completeIn(const std::string& release, const std::string& name) {
    std::string line = box_.program("tallyfull");
    for (const std::string& f :
         {joinPath(box_.site(), release + "/" + name), "/" + release + "/" + name,
          std::string("grp"), std::string("bob")}) {
      line += "??-??" + f;
    }
    return runSfvCompletedHook(XString(line));
  }
  // Runs the hook of a passed check for a file of the release.
  int checkIn(const std::string& name) {
    std::string line = box_.program("tallyglad");
    for (const std::string& f : {std::string("R"), std::string("b"), file(name), "/Rel/" + name,
                                 std::string("grp"), std::string("bob")}) {
      line += "??-??" + f;
    }
    return runSfvSuccessHook(XString(line));
  }
  int upload(const std::string& name, const std::string& bytes, const std::string& user = "bob",
             const std::string& group = "grp", const std::string& speed = "100") {
    writeFile(file(name), bytes);
    return run(name, user, group, speed);
  }
  // The reply of the last run, removed as the server removes it; empty when
  // there was none.
  std::string takeReply() {
    std::string path = joinPath(box_.output(), "ask-landfall.") + std::to_string(requests_);
    std::string text = exists(path) ? testing_support::readTextFile(path) : "";
    testing_support::removeFileForTest(path);
    return text;
  }
  std::vector<std::string> siteNames() const { return listNames(box_.site()); }

 private:
  InstallSandbox box_;
  std::string rel_;
  int requests_ = 0;
};

TEST(LandfallTest, SfvUploadMarksTheRelease) {
  LandfallSite site;
  writeFile(joinPath(site.box().site(), "Rel - SFV missing"), "");
  writeFile(site.file("a.rar"), "a");
  ASSERT_EQ(site.upload("REL.SFV", "a.rar 1\nb.rar 2\n../evil 3\n"), kExitDone);
  EXPECT_FALSE(exists(joinPath(site.box().site(), "Rel - SFV missing")));
  EXPECT_TRUE(exists(joinPath(site.box().site(), "Rel - SFV incomplete")));
  EXPECT_EQ(listNames(site.rel()),
            (std::vector<std::string>{".message", "BAR 1 of 3", "REL.SFV", "a.rar", "b.rar-missing",
                                      "racer.sav"}));
  // The race starts with the SFV: the sfv text, nothing counted yet.
  EXPECT_EQ(site.takeReply(), "0\nS  1/ 3|bob: 0");
  EXPECT_EQ(readFile(site.file(".message")), "S  1/ 3|bob: 0");
  EXPECT_TRUE(exists(joinPath(site.box().data(), "Status.sav")));  // made when missing
  EXPECT_FALSE(site.box().chmodLog().empty());
}

TEST(LandfallTest, SfvBranchGates) {
  LandfallSite site;
  EXPECT_EQ(site.run("gone.sfv"), kExitSfvUnreadable);  // cannot be opened
  EXPECT_EQ(site.takeReply(), "");
  EXPECT_EQ(listNames(site.rel()), std::vector<std::string>{});
  // The memo is made when missing on this road too, with its defaults.
  EXPECT_EQ(readFile(joinPath(site.box().data(), "Status.sav")),
            std::string("\0\0\0\0\1\0\0\0\0\1\0\0\0\0\1\0\0\0\0\1\0\0\0\0\0", 25));

  // An SFV that lists nothing counts as complete: the merged tag, no bar.
  ASSERT_EQ(site.upload("empty.sfv", "; only a comment\n"), kExitDone);
  EXPECT_TRUE(exists(site.file("MERGED 0")));
  EXPECT_FALSE(exists(site.file("no files in sfv")));

  // The memo says tallyfull completed the release with this very SFV.
  LandfallSite done;
  {
    Status memo;
    memo.mark(Status::kCompleted, XString(done.file("x.sfv")));
    ASSERT_TRUE(memo.save());
  }
  ASSERT_EQ(done.upload("x.sfv", "a.rar 1\n"), kExitDone);
  EXPECT_FALSE(exists(joinPath(done.box().site(), "Rel - SFV incomplete")));
  EXPECT_TRUE(exists(done.file("a.rar-missing")));
}

TEST(LandfallTest, ExemptFolderKeepsOnlyTheSfvMissingRemoval) {
  LandfallSite site;
  site.configure(
      [](MConfig& c) { c.sfv_dirlist.add(XString(testing_support::nativePath("*/Rel/"))); });
  writeFile(joinPath(site.box().site(), "Rel - SFV missing"), "");
  ASSERT_EQ(site.upload("x.sfv", "a.rar 1\n"), kExitDone);
  EXPECT_FALSE(exists(joinPath(site.box().site(), "Rel - SFV missing")));
  EXPECT_FALSE(exists(joinPath(site.box().site(), "Rel - SFV incomplete")));
  EXPECT_FALSE(exists(site.file("a.rar-missing")));
  EXPECT_FALSE(exists(site.file("BAR 0 of 1")));

  // An MP3 there still gets its tag info, never an SFV-missing marker.
  LandfallSite mp3;
  mp3.configure(
      [](MConfig& c) { c.sfv_dirlist.add(XString(testing_support::nativePath("*/Rel/"))); });
  ASSERT_EQ(mp3.upload("01.mp3", mp3Bytes()), kExitDone);
  EXPECT_FALSE(exists(joinPath(mp3.box().site(), "Rel - SFV missing")));
  EXPECT_TRUE(exists(mp3.file("TAG Test Artist")));
}

TEST(LandfallTest, Mp3AndOtherUploads) {
  LandfallSite site;
  ASSERT_EQ(site.upload("01.mp3", mp3Bytes(), "eve", "two", "12,5"), kExitDone);
  EXPECT_TRUE(exists(joinPath(site.box().site(), "Rel - SFV missing")));
  EXPECT_TRUE(exists(site.file("TAG Test Artist")));
  // No SFV yet, so the race starts with this upload.
  EXPECT_EQ(site.takeReply(), "0\nG  1      5 kb|eve: 1");

  // The memo says tallyglad checked the next file: no SFV-missing marker.
  LandfallSite checked;
  {
    Status memo;
    memo.mark(Status::kChecked, XString(checked.file("02.mp3")));
    ASSERT_TRUE(memo.save());
  }
  ASSERT_EQ(checked.upload("02.mp3", mp3Bytes()), kExitDone);
  EXPECT_FALSE(exists(joinPath(checked.box().site(), "Rel - SFV missing")));

  // Other files: names the SFV rules exempt get no marker; others do.
  LandfallSite other;
  ASSERT_EQ(other.upload("release.NFO", "info"), kExitDone);
  EXPECT_FALSE(exists(joinPath(other.box().site(), "Rel - SFV missing")));
  ASSERT_EQ(other.upload("noext", "x"), kExitDone);
  EXPECT_TRUE(exists(joinPath(other.box().site(), "Rel - SFV missing")));
}

// After a failed check the server has renamed the file to ".bad" before it
// starts the upload hook: the release keeps its true tag marker.
TEST(LandfallTest, AVanishedMp3LeavesTheTagAlone) {
  LandfallSite site;
  ASSERT_EQ(site.upload("01.mp3", mp3Bytes()), kExitDone);
  ASSERT_TRUE(exists(site.file("TAG Test Artist")));
  ASSERT_EQ(site.run("02.mp3"), kExitDone);  // no such file any more
  EXPECT_TRUE(exists(site.file("TAG Test Artist")));
  EXPECT_FALSE(exists(site.file("TAG unknown")));
}

// A bar left by a check that ran before the SFV's own upload goes when that
// upload makes its bar.
TEST(LandfallTest, SfvUploadReplacesAnEarlierBar) {
  LandfallSite site;
  writeFile(site.file("a.rar"), "a");
  writeFile(site.file("b.rar"), "b");
  writeFile(site.file("BAR 1 of 3"), "");
  ASSERT_EQ(site.upload("x.sfv", "a.rar 1\nb.rar 2\nc.rar 3\n"), kExitDone);
  EXPECT_FALSE(exists(site.file("BAR 1 of 3")));
  EXPECT_TRUE(exists(site.file("BAR 2 of 3")));
}

TEST(LandfallTest, RaceGates) {
  LandfallSite site;
  writeFile(site.file("x.sfv"), "a.rar 1\n");
  // An SFV but no race file: the race was not started here (or is over).
  ASSERT_EQ(site.upload("a.rar", "a"), kExitDone);
  EXPECT_EQ(site.takeReply(), "");
  EXPECT_FALSE(exists(site.file("racer.sav")));

  LandfallSite off;
  off.configure([](MConfig& c) { c.racer.en = false; });
  ASSERT_EQ(off.upload("a.rar", "a"), kExitDone);
  EXPECT_EQ(off.takeReply(), "");
  EXPECT_FALSE(exists(off.file(".message")));

  // tallyfull dealt with racer.sav for this file: it goes, yet the texts are
  // written from this run.
  LandfallSite done;
  ASSERT_EQ(done.upload("a.rar", "a"), kExitDone);
  EXPECT_TRUE(exists(done.file("racer.sav")));
  {
    Status memo;
    memo.mark(Status::kRacerDone, XString(done.file("b.rar")));
    ASSERT_TRUE(memo.save());
  }
  ASSERT_EQ(done.upload("b.rar", "bb"), kExitDone);
  EXPECT_FALSE(exists(done.file("racer.sav")));
  EXPECT_EQ(done.takeReply(), "0\nG  2      0 kb|bob: 2");
  EXPECT_EQ(readFile(done.file(".message")), "G  2      0 kb|bob: 2");
}

TEST(LandfallTest, SpeedsThatDoNotFitCountAsZero) {
  LandfallSite site;
  site.configure([](MConfig& c) { c.racer.guser = "%u:%v"; });
  for (const char* speed : {"99999999999999999999999999999999999999999", "4294967296", "abc"}) {
    ASSERT_EQ(site.upload(std::string("f") + speed + ".rar", "x", "bob", "grp", speed), kExitDone);
  }
  EXPECT_EQ(readFile(site.file(".message")), "G  3      0 kb|bob:    0.00");
}

TEST(LandfallTest, CompletedReleaseMovesAfterItsRace) {
  LandfallSite site;
  std::string target = joinPath(site.box().root(), "done");
  makeDirs(target);
  site.configure([&](MConfig& c) {
    c.move_en = true;
    c.move_dir = target;
  });
  ASSERT_EQ(site.upload("a.rar", "a"), kExitDone);
  site.takeReply();
  {
    // What tallyfull leaves when b.rar completed the release.
    Status memo;
    XString b = XString(site.file("b.rar"));
    memo.mark(Status::kCompleted, b);
    memo.mark(Status::kRacerDone, b);
    memo.mark(Status::kMoveDue, b);
    ASSERT_TRUE(memo.save());
  }
  ASSERT_EQ(site.upload("b.rar", "b"), kExitDone);
  // The answer shows the finished race of both uploads.
  EXPECT_EQ(site.takeReply(), "0\nG  2      0 kb|bob: 2");
  EXPECT_FALSE(exists(site.rel()));
  EXPECT_EQ(listNames(joinPath(target, "Rel")),
            (std::vector<std::string>{".message", "a.rar", "b.rar"}));
  EXPECT_EQ(readFile(joinPath(target, "Rel/.message")), "G  2      0 kb|bob: 2");
}

// Two releases complete at the same moment: whatever order their completion
// and upload hooks run in, each upload hook finds its own release's
// hand-over, moves its release and drops its race file. Each release's
// completion runs before its upload hook, as the server runs them: six
// interleavings, each played once (the first is the one that used to lose
// a release). The stress run plays them between processes for longer.
TEST(LandfallTest, ReleasesCompletingTogether) {
  LandfallSite site;
  std::string target = joinPath(site.box().root(), "done");
  makeDirs(target);
  site.configure([&](MConfig& c) {
    c.move_en = true;
    c.move_dir = target;
    c.m3u_create = false;
  });
  // The chmod runs play no part here: without the program each fails at
  // once instead of starting a process.
  testing_support::removeFileForTest(
      joinPath(site.box().root(), std::string("chmod") + platform::kExeSuffix));
  // 0, 1: the completions of A and B; 2, 3: their upload hooks.
  const std::vector<std::vector<int>> orders = {{0, 1, 2, 3}, {0, 1, 3, 2}, {1, 0, 2, 3},
                                                {1, 0, 3, 2}, {0, 2, 1, 3}, {1, 3, 0, 2}};
  for (size_t round = 0; round < orders.size(); ++round) {
    SCOPED_TRACE(round);
    const std::string names[2] = {"A" + std::to_string(round), "B" + std::to_string(round)};
    for (const std::string& rel : names) {
      makeDirs(joinPath(site.box().site(), rel));
      writeFile(joinPath(site.box().site(), rel + "/a.rar"), "a");
      ASSERT_EQ(site.runIn(rel, "a.rar"), kExitDone);
      writeFile(joinPath(site.box().site(), rel + "/b.rar"), "b");
    }
    for (int step : orders[round]) {
      const std::string& rel = names[step % 2];
      ASSERT_EQ(step < 2 ? site.completeIn(rel, "b.rar") : site.runIn(rel, "b.rar"), kExitDone);
    }
    for (const std::string& rel : names) {
      EXPECT_FALSE(exists(joinPath(site.box().site(), rel))) << rel;
      EXPECT_EQ(listNames(joinPath(target, rel)),
                (std::vector<std::string>{".message", "a.rar", "b.rar"}))
          << rel;
    }
  }
}

// An SFV lists names in one letter case and the files arrive in another:
// their markers go all the same, as a Windows file system finds them.
TEST(LandfallTest, FilesInAnotherCaseTakeTheirMarkers) {
  LandfallSite site;
  site.configure([](MConfig& c) {
    c.tinfo.mode = 0;
    c.pb.merge = false;
  });
  ASSERT_EQ(site.upload("rel.sfv", "03-Long_Day.mp3 1\n04-Dusk.rar 2\n"), kExitDone);
  ASSERT_TRUE(exists(site.file("03-Long_Day.mp3-missing")));
  ASSERT_TRUE(exists(site.file("04-Dusk.rar-missing")));
  // Each passes its check; the last completes the release; then the upload
  // hook runs, as the server runs them.
  for (const char* name : {"03-long_day.mp3", "04-DUSK.RAR"}) {
    writeFile(site.file(name), "x");
    ASSERT_EQ(site.checkIn(name), kExitDone);
    if (name[1] == '4') {
      ASSERT_EQ(site.completeIn("Rel", name), kExitDone);
    }
    ASSERT_EQ(site.run(name), kExitDone);
  }
  EXPECT_EQ(listNames(site.rel()),
            (std::vector<std::string>{".message", "03-long_day.mp3", "04-DUSK.RAR", "BAR DONE 2",
                                      "rel.sfv"}));
  EXPECT_EQ(site.siteNames(), std::vector<std::string>{"Rel"});
}

// The statistics texts of the default templates, which hold CR LF: the
// reply and ".message" end each line in one line end of the platform.
TEST(LandfallTest, TextsEndEachLineOnce) {
  LandfallSite site;
  site.configure([](MConfig& c) {
    MConfig defaults;
    defaults.setDefaults(0);
    c.racer = defaults.racer;
  });
  ASSERT_EQ(site.upload("rel.sfv", "a.rar 1\nb.rar 2\n"), kExitDone);
  ASSERT_EQ(site.upload("a.rar", "a"), kExitDone);
  // Both read as text files, which checks their line ends.
  const std::string reply = site.takeReply();
  const std::string message = testing_support::readTextFile(site.file(".message"));
  EXPECT_EQ(reply.substr(0, 2), "0\n");
  EXPECT_GT(testing_support::lines(message).size(), 10u);
  EXPECT_EQ(testing_support::lines(reply).size(), testing_support::lines(message).size() + 1);
}

// The memo cannot be saved after the upload changed the release (its
// temporary file, its flush or its rename fails): the run ends with its own
// code, the old memo stands whole, and what the run did stays, the upload
// counted once.
TEST(LandfallTest, AMemoThatCannotBeSaved) {
  for (platform::FaultStep step : kSaveSteps) {
    LandfallSite site;
    ASSERT_EQ(site.upload("rel.sfv", "a.rar 1\nb.rar 2\n"), kExitDone);
    writeFile(site.file("a.rar"), "a");
    ASSERT_EQ(site.checkIn("a.rar"), kExitDone);
    ASSERT_EQ(site.run("a.rar"), kExitDone);
    writeFile(site.file("b.rar"), "b");
    ASSERT_EQ(site.checkIn("b.rar"), kExitDone);
    ASSERT_EQ(site.completeIn("Rel", "b.rar"), kExitDone);
    site.takeReply();
    const std::string memoPath = joinPath(site.box().data(), "Status.sav");
    const std::string memo = readFile(memoPath);
    {
      // The reply and ".message" are saved before the memo.
      testing_support::PlannedFault fault(step, 3);
      EXPECT_EQ(site.run("b.rar"), kExitMemoNotSaved);
      EXPECT_TRUE(fault.happened());
    }
    EXPECT_EQ(readFile(memoPath), memo);
    EXPECT_FALSE(holdsTemporaryFile(site.box().data()));
    // The finished race is answered and its file gone.
    EXPECT_EQ(site.takeReply(), "0\nS  2/ 2|bob: 2");
    EXPECT_EQ(listNames(site.rel()),
              (std::vector<std::string>{".message", "BAR DONE 2", "a.rar", "b.rar", "rel.sfv"}));
    // The same upload again counts nothing: no race runs any more.
    EXPECT_EQ(site.run("b.rar"), kExitDone);
    EXPECT_EQ(site.takeReply(), "");
    EXPECT_FALSE(exists(site.file("racer.sav")));
  }
}

#ifndef _WIN32  // fork
// An uploader's SFV that lists 50,000 files keeps its own release busy
// making markers for a while; a hook of another release meanwhile goes on
// at once and ends first.
TEST(LandfallTest, OneReleaseNeverHoldsUpAnother) {
  LandfallSite site;
  site.configure([](MConfig& c) { c.mfiles = 1; });
  makeDirs(joinPath(site.box().site(), "Big"));
  std::string sfv;
  for (int i = 0; i < 50000; ++i) sfv += std::to_string(1000000 + i) + " 1\n";
  writeFile(joinPath(site.box().site(), "Big/big.sfv"), sfv);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(site.runIn("Big", "big.sfv") == kExitDone ? 0 : 1);
  // Once the first markers stand, the busy hook holds what it holds; the
  // other release's upload is done before that hook has made its markers.
  while (listNames(joinPath(site.box().site(), "Big")).size() < 1000) usleep(1000);
  writeFile(site.file("a.rar"), "a");
  EXPECT_EQ(site.run("a.rar"), kExitDone);
  EXPECT_TRUE(exists(site.file(".message")));
  EXPECT_LT(listNames(joinPath(site.box().site(), "Big")).size(), 50000u);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The markers, the SFV, the bar, the race file and its text.
  EXPECT_EQ(listNames(joinPath(site.box().site(), "Big")).size(), 50000u + 4);
}
#endif

// A data folder where no lock can be had (a folder stands where the lock
// file goes): the hooks end with the lock's failure code and change nothing
// shared: no marker, no race file, no memo.
TEST(LandfallTest, NoLockChangesNothing) {
  LandfallSite site;
  ASSERT_TRUE(platform::makeDir(joinPath(site.box().data(), "brindlecast.lock").c_str()));
  writeFile(site.file("rel.sfv"), "a.rar 1\nb.rar 2\n");
  EXPECT_EQ(site.run("rel.sfv"), kExitNoLock);
  writeFile(site.file("a.rar"), "a");
  EXPECT_EQ(site.run("a.rar"), kExitNoLock);
  EXPECT_EQ(site.completeIn("Rel", "a.rar"), kExitNoLock);
  EXPECT_EQ(listNames(site.rel()), (std::vector<std::string>{"a.rar", "rel.sfv"}));
  EXPECT_EQ(site.siteNames(), std::vector<std::string>{"Rel"});
  EXPECT_FALSE(exists(joinPath(site.box().data(), "Status.sav")));
  EXPECT_EQ(site.takeReply(), "");
}

// Files an uploader (or a careless administrator) can plant: nothing that
// is not a regular file is read or written, nothing through a link, and a
// huge SFV is not read as one. A hook that waited on a FIFO would never
// end: the alarm ends the test instead.
TEST(LandfallTest, PlantedFilesAreLeftAlone) {
#ifdef _WIN32
  {
    // A device name reaches the device in every folder: console input or
    // the null device is never read as an SFV.
    LandfallSite site;
    EXPECT_EQ(site.run("con.sfv"), kExitSfvUnreadable);
    EXPECT_EQ(site.run("NUL.sfv"), kExitSfvUnreadable);
  }
#else  // FIFOs and symbolic links
  alarm(60);
  {
    LandfallSite site;
    ASSERT_EQ(mkfifo(site.file("first.sfv").c_str(), 0644), 0);  // the first SFV listed
    ASSERT_EQ(mkfifo(site.file("racer.sav").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo(joinPath(site.box().data(), "Status.sav").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", site.file("zero.sfv").c_str()), 0);
    writeFile(site.file("a.rar"), "a");
    site.run("a.rar");  // whatever it answers, it ends
    EXPECT_EQ(site.run("first.sfv"), kExitSfvUnreadable);
    EXPECT_EQ(site.run("zero.sfv"), kExitSfvUnreadable);
    struct stat st;
    ASSERT_EQ(lstat(site.file("racer.sav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(lstat(joinPath(site.box().data(), "Status.sav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
  }
  {
    // The global settings as a FIFO: the hook goes on with the record as
    // built.
    LandfallSite site;
    testing_support::removeFileForTest(joinPath(site.box().data(), "BCconfig.bcc"));
    ASSERT_EQ(mkfifo(joinPath(site.box().data(), "BCconfig.bcc").c_str(), 0644), 0);
    writeFile(site.file("a.rar"), "a");
    EXPECT_EQ(site.run("a.rar"), kExitDone);
  }
  {
    // A link planted where a marker, the race file or ".message" goes is
    // never written through, and never handed to the chmod program.
    LandfallSite site;
    writeFile(joinPath(site.box().root(), "outside"), "outside");
    for (const char* name : {".message", "racer.sav", " unknown"}) {
      ASSERT_EQ(symlink(joinPath(site.box().root(), "outside").c_str(), site.file(name).c_str()),
                0);
    }
    writeFile(site.file("a.mp3"), mp3Bytes());
    site.run("a.mp3");
    EXPECT_EQ(readFile(joinPath(site.box().root(), "outside")), "outside");
    for (const std::string& line : site.box().chmodLog()) {
      EXPECT_EQ(line.find("outside"), std::string::npos) << line;
      EXPECT_EQ(line.find(" unknown"), std::string::npos) << line;
    }
  }
#endif
  {
    // An SFV past the size bound is no SFV; one that lists the hooks' own
    // files counts them as listed, never as present.
    LandfallSite site;
    writeFile(site.file("huge.sfv"), std::string(4 * 1024 * 1024 + 1, 'x'));
    EXPECT_EQ(site.run("huge.sfv"), kExitSfvUnreadable);
    testing_support::removeFileForTest(site.file("huge.sfv"));
    writeFile(site.file("a.rar"), "a");
    writeFile(site.file(".message"), "");
    writeFile(site.file("rel.sfv"), "a.rar 1\nracer.sav 2\n.MESSAGE 3\n");
    ASSERT_EQ(site.run("rel.sfv"), kExitDone);
    EXPECT_TRUE(exists(site.file("BAR 1 of 3")));
  }
  {
    // A killed writer's temporary file goes once it is an hour old.
    LandfallSite site;
    writeFile(site.file(".bctmp-killedwrite"), "half");
    writeFile(site.file(".bctmp-stillgoing"), "half");
    auto old =
        std::filesystem::last_write_time(site.file(".bctmp-killedwrite")) - std::chrono::hours(2);
    std::filesystem::last_write_time(site.file(".bctmp-killedwrite"), old);
    ASSERT_EQ(site.upload("a.rar", "a"), kExitDone);
    EXPECT_FALSE(exists(site.file(".bctmp-killedwrite")));
    EXPECT_TRUE(exists(site.file(".bctmp-stillgoing")));
  }
#ifndef _WIN32
  alarm(0);
#endif
}

// Markers beside or above a release are made only inside the site: an
// upload into the site's root, or into a CD folder right under it, makes
// none above the root.
TEST(LandfallTest, MarkersStayInsideTheSite) {
  LandfallSite site;
  site.configure([](MConfig& c) {
    c.pb.mcd = true;
    c.mcd_sfvm = true;
  });
  writeFile(joinPath(site.box().site(), "a.rar"), "a");
  ASSERT_EQ(site.runIn("", "a.rar"), kExitDone);
  makeDirs(joinPath(site.box().site(), "CD1"));
  writeFile(joinPath(site.box().site(), "CD1/b.rar"), "b");
  ASSERT_EQ(site.runIn("CD1", "b.rar"), kExitDone);
  writeFile(joinPath(site.box().site(), "CD1/cd.sfv"), "b.rar 1\nc.rar 2\n");
  ASSERT_EQ(site.runIn("CD1", "cd.sfv"), kExitDone);
  EXPECT_EQ(listNames(site.box().root()),
            (std::vector<std::string>{std::string("chmod") + platform::kExeSuffix, "chmod.log",
                                      "data", "output", "site"}));
  // One level down the same markers are made where they belong.
  makeDirs(site.file("CD1"));
  writeFile(site.file("CD1/b.rar"), "b");
  ASSERT_EQ(site.runIn("Rel/CD1", "b.rar"), kExitDone);
  std::vector<std::string> missing;
  for (const std::string& name : site.siteNames()) {
    if (name.find("SFV missing") != std::string::npos) missing.push_back(name);
  }
  EXPECT_EQ(missing, std::vector<std::string>{"Rel-CD1 - SFV missing"});
}

TEST(LandfallTest, MovesThatMustNotHappen) {
  for (int inside = 0; inside < 2; ++inside) {
    LandfallSite site;
    std::string rel = site.rel();
    site.configure([&](MConfig& c) {
      c.move_en = true;
      c.move_dir = inside ? joinPath(rel, "sub") : "";
    });
    {
      Status memo;
      memo.mark(Status::kMoveDue, XString(site.file("a.rar")));
      ASSERT_TRUE(memo.save());
    }
    ASSERT_EQ(site.upload("a.rar", "a"), kExitDone);
    EXPECT_TRUE(exists(site.file("a.rar"))) << inside;
    EXPECT_FALSE(exists(joinPath(rel, "sub"))) << inside;
  }

  // A file at the target is never replaced: the move stops there.
  LandfallSite site;
  std::string target = joinPath(site.box().root(), "done");
  makeDirs(joinPath(target, "Rel"));
  writeFile(joinPath(target, "Rel/a.rar"), "older");
  site.configure([&](MConfig& c) {
    c.move_en = true;
    c.move_dir = target;
  });
  {
    Status memo;
    memo.mark(Status::kMoveDue, XString(site.file("a.rar")));
    ASSERT_TRUE(memo.save());
  }
  ASSERT_EQ(site.upload("a.rar", "newer"), kExitDone);
  EXPECT_EQ(readFile(joinPath(target, "Rel/a.rar")), "older");
  EXPECT_EQ(readFile(site.file("a.rar")), "newer");
}

TEST(LandfallTest, FrameExits) {
  LandfallSite site;
  writeFile(site.file("a.rar"), "a");
  std::string line = site.box().program("landfall") + "??-??x";
  for (const char* f : {"R", "b", "m", "r", "g", "S", "1", "1"}) line += std::string("??-??") + f;
  EXPECT_EQ(runUploadHook(XString(line)), kExitFieldCount);

  // No module applies and none is marked default.
  ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"), XString(""),
                             0);
  index.add(XString("m.bcm"), XString("/elsewhere/"), XString("m"), XString(""), 0);
  ASSERT_TRUE(index.save("ModuleIndex.idx"));
  EXPECT_EQ(site.run("a.rar"), kExitNoModule);
  EXPECT_FALSE(exists(joinPath(site.box().data(), "Status.sav")));

  // A server path without a folder: no reply anywhere, the rest goes on.
  LandfallSite noServer;
  GConfig global;
  ASSERT_TRUE(global.load("BCconfig.bcc"));
  global.raidenftpd = "raidenftpd";
  ASSERT_TRUE(global.save("BCconfig.bcc"));
  ASSERT_EQ(noServer.upload("a.rar", "a"), kExitDone);
  EXPECT_EQ(listNames(noServer.box().output()), std::vector<std::string>{});
  EXPECT_TRUE(exists(noServer.file(".message")));
}

}  // namespace
