#include "programs/brindleset/ftpd_registration.h"

#include <gtest/gtest.h>
#include <unistd.h>  // symlink

#include <string>

#include "platform/fs.h"
#include "platform/paths.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using brindleset::registerHooks;
using forms::testing::click;
using testing_support::exists;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

std::string testdata(const std::string& name) {
  return readFile(std::string(BRINDLE_SOURCE_DIR) + "/programs/brindleset/testdata/" + name);
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The registered file as it must read for programs in `dir`.
std::string registeredFor(const std::string& dir) {
  return replaceAll(replaceAll(testdata("hooks-registered.ftpd"), "{dir}", dir), "{exe}",
                    platform::kExeSuffix);
}

const std::string kDir = std::string("site") + platform::kPathSepText;
const std::string kQuipgate = std::string("quipgate") + platform::kExeSuffix;

// The entry that registers quipgate under `slot` for kDir, with CR LF.
std::string slotEntry(const std::string& slot) {
  std::string path = kDir + kQuipgate;
  return slot + "=exec://" + path + " " + path +
         "??-??%^??-??%e??-??%g??-??%S??-??%$??-??%@??-??%!\r\n";
}

std::string run(const std::string& ftpd) { return registerHooks(ftpd, XString(kDir)); }

TEST(FtpdRegistration, RewritesTheHookLinesOfAServerFileByteForByte) {
  EXPECT_EQ(run(testdata("hooks.ftpd")), registeredFor(kDir));
  // Run again, the same lines are written again and nothing else moves.
  EXPECT_EQ(run(registeredFor(kDir)), registeredFor(kDir));
  EXPECT_EQ(run(""), "");
}

TEST(FtpdRegistration, KeysAndSiteCommandSlots) {
  const std::string landfall = run("landfall=\r\n");
  ASSERT_EQ(landfall.compare(0, 15, "landfall=ask://"), 0);
  // The key with capitals and anything after it; not a longer key.
  EXPECT_EQ(run("LandFall=whatever it held\n"), landfall);
  EXPECT_EQ(run("landfalls=x\r\n"), "landfalls=x\r\n");
  EXPECT_EQ(run(" landfall=x"), " landfall=x");
  // A replaced last line gets a line end; a copied one stays without.
  EXPECT_EQ(run("landfall="), landfall);
  EXPECT_EQ(run("a\n\nb"), "a\r\n\r\nb");

  const std::string old = "exec://old" + std::string(platform::kPathSepText) + kQuipgate + " %!";
  const std::string foreign = "exec://C:\\bots\\sitebot.exe %!";
  // An empty first slot takes the entry; a later slot holding an older
  // entry of the suite stays, since the entry is placed already.
  EXPECT_EQ(run("quipgate=\r\nquipgate2=" + old + "\r\n"),
            slotEntry("quipgate") + "quipgate2=" + old + "\r\n");
  // The first slot takes it whenever it comes, and twice.
  EXPECT_EQ(run("quipgate2=\r\nQUIPGATE=" + old + "\r\nquipgate=\r\n"),
            slotEntry("quipgate2") + slotEntry("quipgate") + slotEntry("quipgate"));
  // A foreign first slot stays: the entry goes to the first of slots 2 and
  // 3 that is free or holds the suite's program...
  EXPECT_EQ(run("quipgate=" + foreign + "\r\nquipgate2=" + foreign + "\r\nquipgate3=" + old +
                "\r\nquipgate4=\r\n"),
            "quipgate=" + foreign + "\r\nquipgate2=" + foreign + "\r\n" + slotEntry("quipgate3") +
                "quipgate4=\r\n");
  // ...else into slot 4 whatever it holds.
  EXPECT_EQ(run("quipgate2=" + foreign + "\r\nquipgate3=x\r\nquipgate4=" + foreign + "\r\n"),
            "quipgate2=" + foreign + "\r\nquipgate3=x\r\n" + slotEntry("quipgate4"));
  // The program counts only under its own file name, never inside another
  // one or a folder's name.
  const std::string lookalike =
      "exec://" + kQuipgate + "-helper" + platform::kPathSepText + "my" + kQuipgate + " %!";
  EXPECT_EQ(run("quipgate2=" + lookalike + "\r\nquipgate3=\r\n"),
            "quipgate2=" + lookalike + "\r\n" + slotEntry("quipgate3"));
  // A key without its '=' names no slot.
  EXPECT_EQ(run("quipgate\r\nquipgate5=\r\n"), "quipgate\r\nquipgate5=\r\n");

  EXPECT_EQ(
      brindleset::installFolderOf(XString("root" + std::string(platform::kPathSepText) + "site" +
                                          platform::kPathSepText + "data")),
      XString("root" + std::string(platform::kPathSepText) + "site" + platform::kPathSepText));
  EXPECT_EQ(brindleset::backupNameOf(
                XString("srv" + std::string(platform::kPathSepText) + "RaidenFTPD.ftpd")),
            "backup of RaidenFTPD.ftpd");
}

class FtpdButtonTest : public WindowTest {
 protected:
  FtpdButtonTest() : server(temp.at("server")), ftpd(server + "/RaidenFTPD.ftpd") {
    makeDirs(server);
    writeFile(ftpd, testdata("hooks.ftpd"));
  }

  std::string backup() const { return data("backup of RaidenFTPD.ftpd"); }

  std::string server;
  std::string ftpd;
};

TEST_F(FtpdButtonTest, ChangeMyFtpdBacksTheFileUpAndRegistersThisInstallFolder) {
  auto window = start();
  const std::string original = readFile(ftpd);
  hook.fileAnswers.push_back(XString(ftpd));
  XString shown;
  hook.modalAnswers.push_back([&](TForm& box) {
    shown = in<TMemo>(box, "text").Text();
    forms::testing::clickButton("Button1")(box);
  });
  ASSERT_TRUE(click(*window->Button1));

  ASSERT_EQ(hook.fileDialogs.size(), 1u);
  const forms::testing::AskedFile& asked = hook.fileDialogs[0];
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.title, "Where is Raiden's .ftpd file?");
  EXPECT_EQ(asked.filter, "Raiden ftpd file (*.ftpd)|*.ftpd|All files|*.*");
  EXPECT_EQ(asked.defaultExt, "ftpd");
  EXPECT_EQ(asked.fileName, "");
  EXPECT_EQ(asked.options, ofHideReadOnly | ofNoChangeDir | ofPathMustExist);

  EXPECT_EQ(readFile(ftpd), registeredFor(install + "/"));
  EXPECT_EQ(readFile(backup()), original);
  EXPECT_EQ(hook.modalForms, std::vector<XString>{"MBox"});
  EXPECT_EQ(shown,
            "Your .ftpd has been changed. A backup has been made in Brindlecast\\data directory.");
  EXPECT_TRUE(hook.messages.empty());
  // The settings in memory are not touched, and nothing else is written.
  EXPECT_EQ(dataFiles(),
            (std::vector<std::string>{"BCconfigSettings.cfg", "backup of RaidenFTPD.ftpd"}));
  EXPECT_EQ(testing_support::listNames(server), std::vector<std::string>{"RaidenFTPD.ftpd"});

  // Again: the backup now holds the file as the first run left it.
  hook.fileAnswers.push_back(XString(ftpd));
  ASSERT_TRUE(click(*window->Button1));
  EXPECT_EQ(readFile(backup()), registeredFor(install + "/"));
  EXPECT_EQ(readFile(ftpd), registeredFor(install + "/"));
  EXPECT_EQ(hook.modalForms.size(), 2u);
}

// The administrator's link to the server's file stays a link; the file it
// leads to is the one rewritten, and the backup holds what it held.
TEST_F(FtpdButtonTest, AServerFileBehindALinkIsRewrittenWhereTheLinkLeads) {
  auto window = start();
  const std::string original = readFile(ftpd);
  const std::string link = temp.at("RaidenFTPD.ftpd");
  ASSERT_EQ(symlink(ftpd.c_str(), link.c_str()), 0);
  hook.fileAnswers.push_back(XString(link));
  hook.modalAnswers.push_back(forms::testing::clickButton("Button1"));
  ASSERT_TRUE(click(*window->Button1));
  EXPECT_TRUE(hook.messages.empty());
  EXPECT_EQ(hook.modalForms, std::vector<XString>{"MBox"});
  EXPECT_TRUE(platform::isLink(link.c_str()));
  EXPECT_EQ(readFile(ftpd), registeredFor(install + "/"));
  EXPECT_EQ(readFile(backup()), original);
  EXPECT_EQ(testing_support::listNames(server), std::vector<std::string>{"RaidenFTPD.ftpd"});
}

// A folder that cannot be flushed after a rename undoes nothing: the backup
// and the rewritten file are in place, and the message says the file was
// changed.
TEST_F(FtpdButtonTest, AFolderThatCannotBeFlushedAfterTheRenameLeavesTheChangeMade) {
  auto window = start();
  const std::string original = readFile(ftpd);
  for (int nth : {1, 2}) {  // the backup's folder, then the server's
    writeFile(ftpd, original);
    XString shown;
    hook.fileAnswers.push_back(XString(ftpd));
    hook.modalAnswers.push_back([&](TForm& box) {
      shown = in<TMemo>(box, "text").Text();
      forms::testing::clickButton("Button1")(box);
    });
    testing_support::PlannedFault fault(platform::FaultStep::kFolderFlush, nth);
    ASSERT_TRUE(click(*window->Button1));
    EXPECT_TRUE(fault.happened()) << nth;
    EXPECT_EQ(readFile(ftpd), registeredFor(install + "/")) << nth;
    EXPECT_EQ(readFile(backup()), original) << nth;
    EXPECT_EQ(shown,
              "Your .ftpd has been changed. A backup has been made in Brindlecast\\data directory.")
        << nth;
    EXPECT_TRUE(hook.messages.empty()) << nth;
  }
}

TEST_F(FtpdButtonTest, NothingChangesWithoutAFileOrABackupAndFailuresAreShown) {
  auto window = start();
  const std::string original = readFile(ftpd);

  // A cancelled dialog: nothing, and no word. A missing file, a folder and
  // a link that leads nowhere: nothing, and a message that says so.
  ASSERT_EQ(symlink((server + "/gone.ftpd").c_str(), (server + "/dangling.ftpd").c_str()), 0);
  hook.fileAnswers = {XString(""), XString(server + "/missing.ftpd"), XString(server),
                      XString(server + "/dangling.ftpd")};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(click(*window->Button1));
  EXPECT_EQ(hook.fileDialogs.size(), 4u);
  ASSERT_EQ(hook.messages.size(), 3u);
  for (const auto& message : hook.messages) {
    EXPECT_EQ(message.text, "Your .ftpd has not been changed: the name chosen leads to no file.");
  }
  EXPECT_FALSE(exists(backup()));
  hook.messages.clear();
  ASSERT_EQ(unlink((server + "/dangling.ftpd").c_str()), 0);

  // A read-only file stays as it was.
  ASSERT_TRUE(platform::setModeBits(ftpd.c_str(), 0444));
  hook.fileAnswers.push_back(XString(ftpd));
  ASSERT_TRUE(click(*window->Button1));
  EXPECT_EQ(readFile(ftpd), original);
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "Your .ftpd is read-only. It has not been changed.");
  EXPECT_EQ(hook.messages[0].caption, "error");
  ASSERT_TRUE(platform::setModeBits(ftpd.c_str(), 0644));

  // Without a backup the file is not rewritten.
  makeDirs(backup());
  hook.fileAnswers.push_back(XString(ftpd));
  ASSERT_TRUE(click(*window->Button1));
  EXPECT_EQ(readFile(ftpd), original);
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[1].text,
            "No backup of your .ftpd could be made in Brindlecast\\data directory, so it has not "
            "been changed.");
  // No temporary file is left behind either.
  EXPECT_EQ(dataFiles(),
            (std::vector<std::string>{"BCconfigSettings.cfg", "backup of RaidenFTPD.ftpd"}));
  EXPECT_TRUE(testing_support::isDir(backup()));
  EXPECT_EQ(testing_support::listNames(server), std::vector<std::string>{"RaidenFTPD.ftpd"});
}

}  // namespace
}  // namespace brindleset_test
