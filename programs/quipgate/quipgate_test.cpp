#include "programs/quipgate/quipgate.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "programs/quipgate/quipgate_test_site.h"
#include "programs/quipgate/site_command.h"

namespace {

using quipgate_test::Answer;
using quipgate_test::QuipSite;
using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::writeFile;

const char kVersion[] = "...::: Brindlecast version 0.95 c :::...\n";

TEST(QuipgateTest, KeywordsMatchWholeIgnoringCaseAndNameTheReplyAsTyped) {
  QuipSite site;
  Answer a = site.run("VERSION");
  EXPECT_EQ(a.code, kExitDone);
  EXPECT_EQ(a.name, "site-VERSION");
  EXPECT_EQ(a.text, kVersion);
  a = site.run("Vers whatever follows");
  EXPECT_EQ(a.name, "site-Vers");
  EXPECT_EQ(a.text, kVersion);

  // One leading blank is forgiven; the rest then is the keyword.
  a = site.run(" board");
  EXPECT_EQ(a.name, "site-board");
  EXPECT_NE(a.text.find("M E S S A G E"), std::string::npos) << a.text;
  for (const char* nothing : {" message hello", "  board", "", "boards", "boar", "versions"}) {
    a = site.run(nothing);
    EXPECT_EQ(a.code, kExitDone) << nothing;
    EXPECT_FALSE(a.replied()) << nothing;
  }
  // Every alias of the list row, in any case.
  for (const char* alias : {"ndl", "NEW", "NewDir"}) {
    a = site.run(alias);
    EXPECT_EQ(a.name, std::string("site-") + alias);
    EXPECT_NE(a.text.find("N E W E S T"), std::string::npos) << alias;
  }
}

TEST(QuipgateTest, HelpCopiesTheInstallFoldersHelpText) {
  QuipSite site;
  Answer a = site.run("?");
#ifdef _WIN32
  // No Windows name holds a '?': that reply cannot be written, and the
  // hook says so. The command's other name answers.
  EXPECT_FALSE(a.replied());
  EXPECT_EQ(a.code, kExitNoReply);
  a = site.run("bchelp");
  EXPECT_EQ(a.name, "site-bchelp");
#else
  EXPECT_EQ(a.name, "site-?");
#endif
  EXPECT_EQ(a.text, "");  // no help.txt: an empty reply
  EXPECT_EQ(a.code, kExitDone);

  writeFile(joinPath(site.box.root(), "help.txt"),
            "site board\r\nsite new\n" + std::string(2000, 'x'));
  a = site.run("BCHelp");
  EXPECT_EQ(a.name, "site-BCHelp");
  EXPECT_EQ(a.text, "site board\nsite new\n" + std::string(2000, 'x'));
}

TEST(QuipgateTest, StartFailures) {
  QuipSite site;
  // One field too many.
  std::string line = site.line(
      "quipgate", {"x", joinPath(site.box.site(), ""), "/", "grp", "bob", "2", "7", "version"});
  EXPECT_EQ(runSiteCommandHook(XString(line)), kExitFieldCount);
  // No module for the folder and none marked default.
  site.modulePath = "/mp3";
  site.moduleIsDefault = false;
  site.save();
  EXPECT_EQ(site.run("version").code, kExitNoModule);
  site.modulePath = "/";
  site.save();

  // A reply that cannot be made: the output folder is a file, or the server
  // program names no folder.
  ASSERT_TRUE(platform::removeDir(site.box.output().c_str()));
  writeFile(site.box.output(), "");
  Answer a = site.run("version");
  EXPECT_EQ(a.code, kExitNoReply);
  site.global.raidenftpd = "raidenftpd";
  site.save();
  EXPECT_EQ(site.run("rescan").code, kExitNoReply);
  EXPECT_EQ(site.run("unknown").code, kExitDone);
}

TEST(QuipgateTest, NumbersInTheFields) {
  // The level: a word or nothing is a guest, never root; past an int it
  // stays at the bounds instead of wrapping.
  EXPECT_EQ(levelOf(XString("2")), 2);
  EXPECT_EQ(levelOf(XString("2abc")), 2);
  EXPECT_EQ(levelOf(XString("0")), 0);
  EXPECT_EQ(levelOf(XString("-1")), -1);
  EXPECT_EQ(levelOf(XString("")), kGuestLevel);
  EXPECT_EQ(levelOf(XString("abc")), kGuestLevel);
  EXPECT_EQ(levelOf(XString("-")), kGuestLevel);
  EXPECT_EQ(levelOf(XString(" 0")), kGuestLevel);
  EXPECT_EQ(levelOf(XString("4294967296")), INT_MAX);
  EXPECT_EQ(levelOf(XString("2147483647")), INT_MAX);
  EXPECT_EQ(levelOf(XString("-2147483648")), INT_MIN);
  EXPECT_EQ(levelOf(XString("-99999999999")), INT_MIN);

  EXPECT_EQ(entryNumberOf(XString("2x")), 2u);
  EXPECT_EQ(entryNumberOf(XString("   2")), 2u);
  EXPECT_EQ(entryNumberOf(XString("")), 0u);
  EXPECT_EQ(entryNumberOf(XString("x2")), 0u);
  EXPECT_EQ(entryNumberOf(XString("4294967295")), 4294967295u);
  EXPECT_EQ(entryNumberOf(XString("4294967296")), 0u);
  EXPECT_EQ(entryNumberOf(XString("4294967297")), 0u);
  EXPECT_EQ(entryNumberOf(XString("00000000000001")), 1u);

  EXPECT_EQ(rowCountOf(XString("1.5")), 1);
  EXPECT_EQ(rowCountOf(XString(",")), 0);
  EXPECT_EQ(rowCountOf(XString("99999999999999")), INT_MAX);
}

}  // namespace
