#include "programs/brindleset/main_window.h"

#include <gtest/gtest.h>

#include "foundation/version.h"
#include "platform/fs.h"
#include "programs/brindleset/brindleset.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::type;
using testing_support::exists;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::writeFile;

TEST_F(WindowTest, FirstStartMakesTheDataFolderBesideTheProgramAndCancelWritesOnlyTheStamp) {
  // Started from another folder, the window still works beside the program.
  makeDirs(temp.at("elsewhere"));
  ASSERT_TRUE(platform::changeDir(temp.at("elsewhere").c_str()));
  auto window = start();
  std::string cwd;
  ASSERT_TRUE(platform::currentDir(cwd));
  EXPECT_EQ(cwd, dataFolder);
  EXPECT_EQ(testing_support::listNames(temp.at("elsewhere")), std::vector<std::string>{});

  EXPECT_EQ(window->help->Text(),
            XString("Welcome to Brindlecast configuration utility!\r\n\r\n") + versionString);
  EXPECT_EQ(window->shownPanel, window->panels_general);
  EXPECT_TRUE(window->panels_general->Visible());
  EXPECT_FALSE(window->panels_modules->Visible());
  ASSERT_NE(window->modulesNode, nullptr);
  EXPECT_EQ(window->modulesNode->Text(), "Server Modules");
  ASSERT_EQ(window->modulesNode->Count(), 1);
  EXPECT_EQ(window->modulesNode->Item(0)->Text(), "default");
  EXPECT_EQ(window->moduleIndex.count, 1);
  EXPECT_EQ(window->moduleIndex.at(0)->path, "/");
  EXPECT_EQ(window->moduleinfo->RowCount(), 2);
  EXPECT_EQ(window->moduleinfo->Cells(1, 1), "default.bcm");
  EXPECT_EQ(window->currentModule, nullptr);

  // The defaults are on the panels.
  GConfig defaults;
  defaults.setDefaults(0);
  EXPECT_EQ(the<TEdit>(*window, "vfs_maxentrys").Text(), XString(defaults.vfs_maxentrys));
  EXPECT_EQ(the<TMemo>(*window, "mb_head").Text(), defaults.mb.head);
  EXPECT_EQ(the<TEdit>(*window, "nd_format").Text(), defaults.nd.format);
  EXPECT_EQ(the<TLabel>(*window, "nd_allowpast").Caption(), defaults.past.allow);
  EXPECT_EQ(itemsOf(*window, "mcd_list"), testing_support::items(defaults.mcd_list));
  EXPECT_TRUE(the<TRadioButton>(*window, "postm_3").Checked());
  EXPECT_FALSE(the<TCheckBox>(*window, "rb_en").Checked());
  LConfig linker;
  linker.setDefaults(0);
  EXPECT_EQ(itemsOf(*window, "link_list"), testing_support::items(linker.link_list));
  EXPECT_EQ(the<TLabel>(*window, "link_allow").Caption(), linker.link_owner.allow);
  EXPECT_TRUE(the<TCheckBox>(*window, "link_show").Checked());

  // Edits and then "cancel": only the stamp was written, at the start.
  type(the<TEdit>(*window, "userfile"), "/srv/users/all.user");
  showNode(*window, "Request Board");
  ASSERT_TRUE(click(the<TCheckBox>(*window, "rb_en")));
  ASSERT_TRUE(click(*window->cancel));
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(dataFiles(), std::vector<std::string>{"BCconfigSettings.cfg"});
  EXPECT_TRUE(hook.messages.empty());
}

TEST_F(WindowTest, SaveWritesTheSettingsAndOnlyTheModulesThatWereOpened) {
  {
    // An index of two modules; the second one's file is not a settings file
    // at all, and a save that never opened it must leave it so.
    makeDirs(dataFolder);
    ModuleIndex<MConfig> index(data("ModuleIndex.idx").c_str());
    index.ensureDefault();
    index.add("mp3.bcm", "/mp3/", "mp3", "the mp3 section", 0);
    ASSERT_TRUE(index.save(data("ModuleIndex.idx").c_str()));
    writeFile(data("mp3.bcm"), "left alone");
  }
  auto window = start();
  ASSERT_EQ(window->modulesNode->Count(), 2);
  window->overview->setSelected(window->modulesNode->Item(0));
  EXPECT_EQ(window->currentModule, window->moduleIndex.at(0)->config());
  ASSERT_TRUE(click(*window->save));
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(hook.messages.empty());

  // Each file loads back as the settings that were shown.
  GConfig saved;
  ASSERT_TRUE(saved.load(data("BCconfig.bcc").c_str()));
  GConfig defaults;
  defaults.setDefaults(0);
  EXPECT_EQ(savedBytes(saved, temp.at("a")), savedBytes(defaults, temp.at("b")));
  LConfig savedLinker;
  ASSERT_TRUE(savedLinker.load(data("linkerconfig.bcc").c_str()));
  LConfig defaultLinker;
  defaultLinker.setDefaults(0);
  EXPECT_EQ(savedBytes(savedLinker, temp.at("c")), savedBytes(defaultLinker, temp.at("d")));
  // The opened module is written with what its pages showed: the defaults,
  // with the tag ids in the brackets that the pages put round them (its
  // lists turn round on each save, as every list does).
  MConfig defaultModule;
  defaultModule.setDefaults(0);
  defaultModule.tinfo.id = "[TAG]";
  defaultModule.tinfo.idmul = "[TAG]";
  MConfig savedModule;
  ASSERT_TRUE(savedModule.load(data("default.bcm").c_str()));
  EXPECT_EQ(savedBytes(savedModule, temp.at("e")), savedBytes(defaultModule, temp.at("f")));
  ModuleIndex<MConfig> index(data("ModuleIndex.idx").c_str());
  ASSERT_EQ(index.count, 2);
  EXPECT_EQ(index.at(1)->sectionName, "mp3");
  EXPECT_EQ(index.at(1)->description, "the mp3 section");
  EXPECT_EQ(readFile(data("mp3.bcm")), "left alone");
  EXPECT_EQ(dataFiles(),
            (std::vector<std::string>{"BCconfig.bcc", "BCconfigSettings.cfg", "ModuleIndex.idx",
                                      "default.bcm", "linkerconfig.bcc", "mp3.bcm"}));
}

TEST_F(WindowTest, TheTreeShowsOnePanelAtATimeAndModuleNodesSwitchTheModule) {
  auto window = start();
  window->moduleIndex.add("mp3.bcm", "/mp3/", "mp3", "", 0);
  window->overview->Items()->AddChild(window->modulesNode, "mp3");
  TTreeNodes* nodes = window->overview->Items();
  const struct {
    const char* node;
    TPanel* panel;
  } expected[] = {{"Message Board", window->panels_messageboard},
                  {"Special Lists", window->panels_ndlspecial},
                  {"Tunelacer", window->panels_tunelacer},
                  {"Server Modules", window->panels_modules},
                  {"General Settings", window->panels_general}};
  for (const auto& step : expected) {
    TTreeNode* node = nullptr;
    for (int i = 0; i < nodes->Count(); ++i) {
      if (nodes->Item(i)->Text() == step.node) node = nodes->Item(i);
    }
    ASSERT_NE(node, nullptr) << step.node;
    window->overview->setSelected(node);
    EXPECT_EQ(window->shownPanel, step.panel) << step.node;
    // Exactly one panel shows.
    int visible = 0;
    for (TPanel* panel :
         {window->panels_general, window->panels_allotment, window->panels_messageboard,
          window->panels_requestboard, window->panels_newdirlist, window->panels_ndlspecial,
          window->panels_dawnrolldir, window->panels_tunelacer, window->panels_modules,
          window->panels_moduledetail}) {
      visible += panel->Visible() ? 1 : 0;
    }
    EXPECT_EQ(visible, 1) << step.node;
  }

  window->overview->setSelected(window->modulesNode->Item(1));
  EXPECT_EQ(window->shownPanel, window->panels_moduledetail);
  EXPECT_EQ(window->currentModule, window->moduleIndex.at(1)->config());
  window->overview->setSelected(window->modulesNode->Item(0));
  EXPECT_EQ(window->currentModule, window->moduleIndex.at(0)->config());
  EXPECT_TRUE(hook.messages.empty());

  // A node without its module: the module list is shown instead.
  TTreeNode* ghost = window->overview->Items()->AddChild(window->modulesNode, "ghost");
  window->overview->setSelected(ghost);
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "Cannot load module: ghost");
  EXPECT_EQ(hook.messages[0].caption, "error");
  EXPECT_EQ(window->currentModule, nullptr);
  EXPECT_EQ(window->shownPanel, window->panels_modules);
  EXPECT_EQ(window->overview->Selected(), window->modulesNode);
}

TEST_F(WindowTest, ASettingsFileThatCannotBeWrittenIsNamedAndTheWindowStays) {
  makeDirs(data("BCconfig.bcc"));
  auto window = start();
  window->moduleIndex.add("missing/x.bcm", "/x/", "x", "", 0);
  window->overview->Items()->AddChild(window->modulesNode, "x");
  window->overview->setSelected(window->modulesNode->Item(1));
  ASSERT_TRUE(click(*window->save));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].caption, "error");
  EXPECT_EQ(hook.messages[0].text,
            "These settings files could not be written:\r\nBCconfig.bcc\r\nmissing/x.bcm");
  EXPECT_FALSE(Application->Terminated());
  EXPECT_TRUE(window->Visible());

  // Once the files can be written, the same window saves them all.
  ASSERT_TRUE(platform::removeDir(data("BCconfig.bcc").c_str()));
  makeDirs(data("missing"));
  ASSERT_TRUE(click(*window->save));
  EXPECT_EQ(hook.messages.size(), 1u);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(exists(data("BCconfig.bcc")));
  EXPECT_TRUE(exists(data("missing/x.bcm")));
}

// The utility works on the data folder beside the path it was started by,
// as every program of the suite does: started through a link in the
// install folder, not beside the file the link leads to (here the test
// binary's folder). Quotes round the path are no part of it.
TEST_F(WindowTest, TheDataFolderIsBesideThePathItWasStartedBy) {
  for (const std::string& own : {install + "/brindleset", "\"" + install + "/brindleset\""}) {
    ASSERT_TRUE(platform::changeDir(temp.path().c_str()));
    brindleset::setOwnPath(own.c_str());
    auto window = std::make_unique<TMainWindow>(nullptr);
    brindleset::setOwnPath(nullptr);
    std::string cwd;
    ASSERT_TRUE(platform::currentDir(cwd));
    EXPECT_EQ(cwd, dataFolder) << own;
    EXPECT_EQ(dataFiles(), std::vector<std::string>{"BCconfigSettings.cfg"});
  }
}

}  // namespace
}  // namespace brindleset_test
