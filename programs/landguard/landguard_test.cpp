#include "programs/landguard/landguard.h"

#include <gtest/gtest.h>

#include <string>

#include "hookkit/hook_frame.h"
#include "tests/hook_test_site.h"

namespace {

using hook_test::HookSite;
using testing_support::exists;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::removeFileForTest;
using testing_support::writeFile;

const char kDenied[] = "0\nupload denied: ";
const char kSfvFirst[] = "the SFV must be uploaded first.";
const char kOneSfv[] = "Only one SFV allowed per folder.";
const char kInSfv[] = "Uploaded files must be in the SFV.";
const char kPlaylist[] = "The playlist is created automatically.";

std::string one(const char* reason) { return kDenied + std::string(reason) + "\n"; }

// Asks landguard about an upload of `name` into `folder` and returns the
// reply (removed again, so each question has its own).
std::string ask(const HookSite& site, const std::string& folder, const std::string& name) {
  std::string line =
      site.line("landguard", {"42", joinPath(folder, name), "/site/rel/" + name, "grp", "bob"});
  EXPECT_EQ(runPreUploadHook(XString(line)), kExitDone);
  std::string reply = joinPath(site.box.output(), "ask-landguard.42");
  std::string text = testing_support::readTextFile(reply);
  removeFileForTest(reply);
  return text;
}

TEST(LandguardTest, DenyListNamesThePatternAndLooksAtTheNameOnly) {
  HookSite site;
  std::string rel = site.release("incomplete-Rel");
  EXPECT_EQ(ask(site, rel, "a.rar"), "1\n");
  EXPECT_EQ(ask(site, rel, "a-INCOMPLETE.rar"),
            one("filenames matching \"*incomplete*\" not allowed."));
  site.global.deny_list.add("*.exe");
  site.save();
  EXPECT_EQ(ask(site, rel, "setup.EXE"), one("filenames matching \"*.exe\" not allowed."));
  // Of two matching patterns the first in the list as loaded is named.
  GConfig loaded;
  ASSERT_TRUE(loaded.load("BCconfig.bcc"));
  ASSERT_EQ(loaded.deny_list.count, 2u);
  EXPECT_EQ(
      ask(site, rel, "incomplete.exe"),
      one(("filenames matching \"" + loaded.deny_list.at(0).str() + "\" not allowed.").c_str()));
  EXPECT_TRUE(site.box.chmodLog().empty());  // landguard makes nothing
}

TEST(LandguardTest, SfvFirst) {
  HookSite site;
  site.config.sfv_force = true;
  site.save();
  std::string rel = site.release("Rel");
  makeDirs(joinPath(rel, "folder.sfv"));  // a folder is not an SFV
  EXPECT_EQ(ask(site, rel, "Rel.sfv"), "1\n");
  EXPECT_EQ(ask(site, rel, "Rel.nfo"), "1\n");  // the default file list
  EXPECT_EQ(ask(site, rel, "list.m3u"), "1\n");
  EXPECT_EQ(ask(site, rel, "a.rar"), one(kSfvFirst));
  EXPECT_EQ(ask(site, rel, "README"), one(kSfvFirst));  // no '.': an empty extension
  writeFile(joinPath(rel, "Rel.SFV"), "a.rar 00000000\n");
  EXPECT_EQ(ask(site, rel, "a.rar"), "1\n");
}

TEST(LandguardTest, OneSfvPerFolder) {
  HookSite site;
  site.config.sfv_oneonly = true;
  site.save();
  std::string rel = site.release("Rel");
  EXPECT_EQ(ask(site, rel, "first.sfv"), "1\n");
  writeFile(joinPath(rel, "first.sfv"), "a.rar 00000000\n");
  EXPECT_EQ(ask(site, rel, "second.SFV"), one(kOneSfv));
  EXPECT_EQ(ask(site, rel, "a.rar"), "1\n");
  EXPECT_EQ(ask(site, rel, "sfv"), "1\n");  // a name without '.' is never an SFV
}

TEST(LandguardTest, ListedInSfv) {
  HookSite site;
  site.config.sfv_insfv = true;
  site.save();
  std::string rel = site.release("Rel");
  EXPECT_EQ(ask(site, rel, "a.rar"), one(kInSfv));  // no SFV lists nothing
  writeFile(joinPath(rel, "rel.sfv"), "; made by hand\nA.Rar 00000000\nREADME 00000000\n");
  EXPECT_EQ(ask(site, rel, "a.RAR"), "1\n");
  EXPECT_EQ(ask(site, rel, "README"), "1\n");
  EXPECT_EQ(ask(site, rel, "b.rar"), one(kInSfv));
  EXPECT_EQ(ask(site, rel, "rel.nfo"), "1\n");
  EXPECT_EQ(ask(site, rel, "other.sfv"), "1\n");
}

TEST(LandguardTest, ExemptFoldersAndPlaylists) {
  HookSite site;
  site.config.sfv_force = true;
  site.config.sfv_oneonly = true;
  site.config.sfv_insfv = true;
  site.config.m3u_deny = true;
  site.config.sfv_dirlist.add(XString(testing_support::nativePath("*/Exempt/")));
  site.save();
  std::string exempt = site.release("Exempt");
  writeFile(joinPath(exempt, "one.sfv"), "x.rar 00000000\n");
  EXPECT_EQ(ask(site, exempt, "a.rar"), "1\n");
  EXPECT_EQ(ask(site, exempt, "two.sfv"), "1\n");
  EXPECT_EQ(ask(site, exempt, "list.M3U"), one(kPlaylist));
  EXPECT_EQ(ask(site, exempt, "incomplete.nfo"),
            one("filenames matching \"*incomplete*\" not allowed."));
  EXPECT_EQ(ask(site, exempt, "m3u"), "1\n");  // no '.': not a playlist
}

TEST(LandguardTest, SeveralReasonsNewestFirst) {
  HookSite site;
  site.config.sfv_force = true;
  site.config.m3u_deny = true;
  site.config.sfv_filelist.clear();
  site.save();
  std::string rel = site.release("Rel");
  EXPECT_EQ(ask(site, rel, "incomplete.m3u"),
            std::string("0\nupload denied due to the following reasons:\n") + "   - " + kPlaylist +
                "\n   - " + kSfvFirst +
                "\n   - filenames matching \"*incomplete*\" not allowed.\n");
}

// The race file and its text are the hooks' own: an upload may not forge
// them, in any case of its name.
TEST(LandguardTest, TheHooksOwnFileNames) {
  HookSite site;
  std::string rel = site.release("Rel");
  for (const char* name : {"racer.sav", "RACER.SAV", ".message", ".Message"}) {
    EXPECT_EQ(ask(site, rel, name),
              one((std::string("the file name \"") + name + "\" is kept by the site.").c_str()));
  }
  EXPECT_EQ(ask(site, rel, "racer.sav.txt"), "1\n");
}

TEST(LandguardTest, NoReplyWithoutFieldsOrModule) {
  HookSite site;
  std::string rel = site.release("Rel");
  std::string extra =
      site.line("landguard", {"x", "42", joinPath(rel, "a.rar"), "/r/a.rar", "g", "S"});
  EXPECT_EQ(runPreUploadHook(XString(extra)), kExitFieldCount);
  std::string fewer = site.line("landguard", {joinPath(rel, "a.rar"), "/r/a.rar", "g", "S"});
  EXPECT_EQ(runPreUploadHook(XString(fewer)), kExitFieldCount);
  site.modulePath = "/mp3/";
  site.moduleIsDefault = false;
  site.save();
  std::string other =
      site.line("landguard", {"42", joinPath(rel, "a.rar"), "/other/a.rar", "g", "S"});
  EXPECT_EQ(runPreUploadHook(XString(other)), kExitNoModule);
  EXPECT_TRUE(listNames(site.box.output()).empty());

  // Without a folder in `raidenftpd` there is no reply either.
  site.modulePath = "/";
  site.global.raidenftpd = "raidenftpd";
  site.save();
  EXPECT_EQ(runPreUploadHook(XString(other)), kExitDone);
  EXPECT_TRUE(listNames(site.box.output()).empty());
  EXPECT_FALSE(exists(joinPath(site.box.data(), "output")));
}

}  // namespace
