#include "hookkit/hook_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::InstallSandbox;
using testing_support::listNames;
using testing_support::nativePath;

std::string line(const std::string& own, std::initializer_list<const char*> fields) {
  std::string text = own;
  for (const char* f : fields) text += std::string("??-??") + f;
  return text;
}

void writeIndex(std::initializer_list<std::pair<const char*, bool>> modules) {
  ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"), XString("d"),
                             0);
  int n = 0;
  for (const auto& m : modules) {
    std::string section = "m" + std::to_string(n++);
    index.append(new Module<MConfig>(XString(section + ".bcm"), XString(m.first), XString(section),
                                     XString(""), 0, m.second));
  }
  ASSERT_TRUE(index.save("ModuleIndex.idx"));
}

TEST(HookFrameTest, FieldCounts) {
  InstallSandbox box;
  writeIndex({{"/", true}});
  std::string own = box.program("landfall");
  auto before = listNames(box.data());
  struct Case {
    std::string text;
    int code;
  } cases[] = {
      {line(own, {"R", "b", "/m", "/r", "g", "S", "1.5", "id"}), kExitDone},
      {line(own, {"x", "R", "b", "/m", "/r", "g", "S", "1.5", "id"}), kExitFieldCount},
      {line(own, {"b", "/m", "/r", "g", "S", "1.5", "id"}), kExitFieldCount},
      {line(own, {"R", "b", "/m", "/r??-??x", "g", "S", "1.5", "id"}), kExitFieldCount},
      {"", kExitFieldCount},
  };
  for (const Case& c : cases) {
    HookFrame frame(kLandfall);
    EXPECT_EQ(frame.takeFields(XString(c.text)), c.code) << c.text;
  }
  EXPECT_EQ(listNames(box.data()), before);  // nothing written

  HookFrame frame(kLandfall);
  ASSERT_EQ(frame.start(XString(line(
                own, {"R", "b", "/phys/f.mp3", "/virt/rel/f.mp3", "grp", "usr", "12,5", "77"}))),
            kExitDone);
  EXPECT_EQ(frame.ownPath(), own.c_str());
  EXPECT_EQ(frame.field('m'), "/phys/f.mp3");
  EXPECT_EQ(frame.field('S'), "usr");
  EXPECT_EQ(frame.field('@'), "77");
  EXPECT_EQ(frame.field('^'), "");  // not a field of this program
  EXPECT_EQ(frame.modulePath(), "/virt/rel");
  ASSERT_NE(frame.config, nullptr);
}

TEST(HookFrameTest, EntersTheDataFolderOrEndsWithFour) {
  InstallSandbox box;
  testing_support::makeDirs(testing_support::joinPath(box.root(), "nodata"));
  HookFrame frame(kTallyfull);
  EXPECT_EQ(frame.takeFields(XString(line(testing_support::joinPath(box.root(), "nodata/tallyfull"),
                                          {"/m", "/r/x", "g", "S"}))),
            kExitNoDataFolder);
  HookFrame periodic(kDawnroll);
  EXPECT_EQ(periodic.takeFields(XString(box.program("dawnroll"))), kExitDone);
  std::string cwd;
  ASSERT_TRUE(platform::currentDir(cwd));
  EXPECT_EQ(cwd, box.data());

  // An own path in double quotes, as an administrator writes an install
  // folder with a blank, is the path without them.
  const std::string install = testing_support::joinPath(box.root(), "Brindle Cast");
  testing_support::makeDirs(testing_support::joinPath(install, "data"));
  const std::string own = testing_support::joinPath(install, "tallyfull");
  const std::string quoted = "\"" + own + "\"";
  for (const std::string& text : {quoted, line(quoted, {"/m", "/r/x", "g", "S"})}) {
    ASSERT_TRUE(platform::changeDir(box.site().c_str()));
    HookFrame quotedFrame(text == quoted ? kDawnroll : kTallyfull);
    EXPECT_EQ(quotedFrame.takeFields(XString(text)), kExitDone) << text;
    EXPECT_EQ(quotedFrame.ownPath(), own.c_str());
    ASSERT_TRUE(platform::currentDir(cwd));
    EXPECT_EQ(cwd, testing_support::joinPath(install, "data"));
  }
}

TEST(HookFrameTest, ModuleChoice) {
  InstallSandbox box;
  writeIndex({{"/mp3/", false}, {"/mp3/new/", false}, {"/mp3/", false}, {"/", true}});
  struct Case {
    const HookProgram& program;
    std::initializer_list<const char*> fields;
    const char* section;
  } cases[] = {
      {kTallyfull, {"/m", "/MP3/New/cd1/f.mp3", "g", "S"}, "m1"},
      {kTallyfull, {"/m", "/mp3/other/f", "g", "S"}, "m0"},  // the earlier of two
      {kTallyfull, {"/m", "/mp3/f", "g", "S"}, "m0"},        // folder /mp3 + "/"
      {kTallyfull, {"/m", "/mp3x/a/f", "g", "S"}, "m3"},     // the default
      {kTallyfull, {"/m", "f-without-folder", "g", "S"}, "m3"},
      {kFoldbirth, {"id", "/m", "/mp3/new", "g", "S"}, "m1"},  // the new folder itself
      {kQuipgate, {"/p", "/mp3/new", "g", "S", "1", "id", "help"}, "m1"},
  };
  for (const Case& c : cases) {
    HookFrame frame(c.program);
    ASSERT_EQ(frame.start(XString(line(box.program(c.program.name), c.fields))), kExitDone);
    ASSERT_NE(frame.module, nullptr);
    EXPECT_EQ(frame.module->sectionName, c.section) << *c.fields.begin();
  }

  writeIndex({{"/mp3/", false}});
  HookFrame none(kTallyfull);
  EXPECT_EQ(none.start(XString(line(box.program("tallyfull"), {"/m", "/other/f", "g", "S"}))),
            kExitNoModule);
  testing_support::removeFileForTest(testing_support::joinPath(box.data(), "ModuleIndex.idx"));
  HookFrame noIndex(kTallyfull);
  EXPECT_EQ(noIndex.start(XString(line(box.program("tallyfull"), {"/m", "/mp3/f", "g", "S"}))),
            kExitNoModule);
}

TEST(HookFrameTest, ReplyPaths) {
  HookFrame frame(kLandguard);
  frame.global.raidenftpd = XString(nativePath("/srv/ftpd/raidenftpd"));
  EXPECT_EQ(frame.serverFolder(), nativePath("/srv/ftpd/"));
  EXPECT_EQ(frame.replyPath(XString("ask-landguard.9")),
            nativePath("/srv/ftpd/output/ask-landguard.9"));
  frame.global.raidenftpd = "raidenftpd";
  EXPECT_EQ(frame.replyPath(XString("ask-landguard.9")), "");  // never the root
  EXPECT_FALSE(writeReply(frame.replyPath(XString("x")), XString("1\n")));

  InstallSandbox box;
  std::string reply = testing_support::joinPath(box.output(), "ask-landguard.3");
  EXPECT_TRUE(writeReply(XString(reply), XString("0\nno\n")));
  EXPECT_EQ(testing_support::readFile(reply), testing_support::textBytes("0\nno\n"));
  EXPECT_EQ(listNames(box.output()).size(), 1u);  // no temporary left behind
}

TEST(HookFrameTest, VirtualFolder) {
  EXPECT_EQ(virtualFolder(XString("/a/b/c.mp3")), "/a/b");
  EXPECT_EQ(virtualFolder(XString("/c.mp3")), "");
  EXPECT_EQ(virtualFolder(XString("c.mp3")), "");
  EXPECT_EQ(virtualFolder(XString("/a/b/")), "/a/b");
}

}  // namespace
