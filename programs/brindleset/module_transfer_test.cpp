#include <gtest/gtest.h>

#include <string>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::type;
using testing_support::items;
using testing_support::readFile;

TEST_F(WindowTest, StoredModuleValuesOutsideTheControlsRulesAreShownByThem) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}});
  MConfig stored;
  stored.setDefaults(0);
  stored.tinfo.id = "[[X]]";
  stored.tinfo.idmul = "TAG";
  stored.badf = 9;
  stored.racer.gsortu = -1;
  stored.specialndl = true;
  stored.chmod.touser = false;
  stored.sfv_dirlist.add("/site/mp3//");
  stored.pb.merge = false;  // the tag info's switch decides
  stored.tinfo.merge = true;
  ASSERT_TRUE(stored.save(data("a.bcm").c_str()));
  auto window = start();
  TMainWindow& w = *window;
  w.overview->setSelected(w.modulesNode->Item(1));
  EXPECT_EQ(the<TEdit>(w, "tinfo_id").Text(), "[X]");
  EXPECT_EQ(the<TEdit>(w, "tinfo_idmul").Text(), "TAG");
  EXPECT_TRUE(the<TRadioButton>(w, "badf_2").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "racer_gsortu2").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "chmod_tobc").Checked());
  EXPECT_EQ(itemsOf(w, "sfv_dirlist"), std::vector<std::string>{"/site/mp3/"});
  the<TEdit>(w, "sfv_dirinput").setText("/site/new");
  showPage(w, "modules_sfv");
  ASSERT_TRUE(click(the<TButton>(w, "sfv_diradd")));
  ASSERT_TRUE(click(*w.save));
  MConfig saved;
  ASSERT_TRUE(saved.load(data("a.bcm").c_str()));
  EXPECT_EQ(saved.tinfo.id, "[[X]]");
  EXPECT_EQ(saved.tinfo.idmul, "[TAG]");
  EXPECT_EQ(saved.badf, 2);
  EXPECT_EQ(saved.racer.gsortu, 2);
  EXPECT_TRUE(saved.specialndl);
  EXPECT_FALSE(saved.chmod.touser);
  EXPECT_TRUE(saved.pb.merge);
  // One separator goes on showing, none comes back on taking.
  EXPECT_EQ(items(saved.sfv_dirlist), (std::vector<std::string>{"/site/mp3/", "/site/new/"}));

  // Without "show only last tag" the id edits are hidden and emptied, and
  // the ids are stored empty; the merge switch clears both merges.
  forms::testing::clearTerminated();
  window = start();
  TMainWindow& again = *window;
  again.overview->setSelected(again.modulesNode->Item(1));
  showPage(again, "modules_mp3");
  for (const char* name : {"tinfo_last", "tinfo_merge"}) {
    ASSERT_TRUE(click(the<TCheckBox>(again, name)));
  }
  for (const char* name :
       {"tinfo_idl", "tinfo_id", "tinfo_idr", "tinfo_idmull", "tinfo_idmul", "tinfo_idmulr"}) {
    EXPECT_FALSE(the<TControl>(again, name).Visible()) << name;
  }
  EXPECT_EQ(the<TEdit>(again, "tinfo_id").Text(), "");
  the<TEdit>(again, "tinfo_idmul").setText("kept out");
  ASSERT_TRUE(click(*again.save));
  ASSERT_TRUE(saved.load(data("a.bcm").c_str()));
  EXPECT_EQ(saved.tinfo.id, "");
  EXPECT_EQ(saved.tinfo.idmul, "");
  EXPECT_FALSE(saved.tinfo.last);
  EXPECT_FALSE(saved.tinfo.merge);
  EXPECT_FALSE(saved.pb.merge);
  // Ticked again, the edits come back, empty.
  ASSERT_TRUE(click(the<TCheckBox>(again, "tinfo_last")));
  EXPECT_TRUE(the<TControl>(again, "tinfo_idmulr").Visible());
}

TEST_F(WindowTest, AModuleWithALengthThatIsNoNumberIsNeitherSavedNorLeft) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}});
  auto window = start();
  TMainWindow& w = *window;
  TTreeNode* a = w.modulesNode->Item(1);
  w.overview->setSelected(a);
  MConfig* shown = w.currentModule;
  showPage(w, "racer_sfv");
  the<TEdit>(w, "move_dir").setText("/done");
  the<TEdit>(w, "racer_gbdplen").setText("77");
  the<TEdit>(w, "racer_mallen").setText("66");
  the<TEdit>(w, "racer_mcolen").setText("");
  showPage(w, "modules_general");

  // On save, with a global panel shown: the racer tab comes up, its page as
  // it was; the lengths before the failing one are taken, the rest not.
  showNode(w, "Tunelacer");
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "All length entrys must contain numbers only!");
  EXPECT_EQ(hook.messages[0].caption, "error");
  EXPECT_EQ(w.shownPanel, w.panels_moduledetail);
  EXPECT_EQ(w.modules_pages->ActivePage()->Name(), "modules_racer");
  EXPECT_EQ(w.racer_pages->ActivePage()->Name(), "racer_sfv");
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(shown->move_dir, "/done");
  EXPECT_EQ(shown->racer.gbdplen, 77u);
  EXPECT_EQ(shown->racer.mallen, 66u);
  EXPECT_EQ(shown->racer.mcolen, 32u);
  EXPECT_EQ(dataFiles(), (std::vector<std::string>{"BCconfigSettings.cfg", "ModuleIndex.idx"}));

  // Leaving for another module: the module stays and so does its panel.
  w.overview->setSelected(w.modulesNode->Item(0));
  EXPECT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(w.currentModule, shown);
  EXPECT_EQ(w.shownPanel, w.panels_moduledetail);

  the<TEdit>(w, "racer_mcolen").setText("5");
  the<TEdit>(w, "pb_len").setText("0");
  w.overview->setSelected(w.modulesNode->Item(0));
  EXPECT_EQ(w.currentModule, w.moduleIndex.at(0)->config());
  EXPECT_EQ(shown->racer.mcolen, 5u);
  EXPECT_EQ(shown->pb.len, 0u);
  ASSERT_TRUE(click(*w.save));
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(hook.messages.size(), 2u);
}

// An emptied bar length is refused as the lengths are: on its own page,
// with a message naming it, the module not left; and wherever a number is
// refused, the tree names the panel shown, so any other node still leads
// to its panel.
TEST_F(WindowTest, ARefusedNumberShowsItsPageAndTheTreeAlwaysNamesThePanelShown) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}, {"b.bcm", "/b/", "b"}});
  auto window = start();
  TMainWindow& w = *window;
  using forms::testing::clickNode;
  TTreeNode* a = w.modulesNode->Item(1);
  TTreeNode* b = w.modulesNode->Item(2);
  TTreeNode* tunelacer = w.overview->Items()->Item(7);
  ASSERT_TRUE(clickNode(*w.overview, a));
  MConfig* shown = w.currentModule;
  showPage(w, "modules_pb");
  type(the<TEdit>(w, "pb_len"), "\b\b");
  ASSERT_EQ(the<TEdit>(w, "pb_len").Text(), "");
  showPage(w, "modules_general");
  the<TEdit>(w, "ad_file").setText("/ad.txt");
  the<TEdit>(w, "move_dir").setText("/moved");

  // Other panels may be looked at; the module is left only when its pages
  // can be taken.
  ASSERT_TRUE(clickNode(*w.overview, tunelacer));
  EXPECT_EQ(w.shownPanel, w.panels_tunelacer);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(clickNode(*w.overview, b));
    ASSERT_EQ(hook.messages.size(), i + 1u);
    EXPECT_EQ(hook.messages[i].text,
              "The bar length of the progress bar must contain numbers only!");
    EXPECT_EQ(hook.messages[i].caption, "error");
    EXPECT_EQ(w.currentModule, shown);
    EXPECT_EQ(w.shownPanel, w.panels_moduledetail);
    EXPECT_EQ(w.modules_pages->ActivePage()->Name(), "modules_pb");
    EXPECT_EQ(w.overview->Selected(), a);
  }
  // The settings before it are taken, those after it not.
  EXPECT_EQ(shown->ad_file, "/ad.txt");
  EXPECT_EQ(shown->move_dir, "");

  // On save from another panel: the same refusal, nothing written.
  ASSERT_TRUE(clickNode(*w.overview, tunelacer));
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 3u);
  EXPECT_EQ(w.shownPanel, w.panels_moduledetail);
  EXPECT_EQ(w.overview->Selected(), a);
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(dataFiles(), (std::vector<std::string>{"BCconfigSettings.cfg", "ModuleIndex.idx"}));

  // A refused board number shows the board, and the node clicked before
  // brings its panel back.
  type(the<TEdit>(w, "pb_len"), "7");
  ASSERT_TRUE(clickNode(*w.overview, tunelacer));
  the<TEdit>(w, "mb_unlen").setText("");
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 4u);
  EXPECT_EQ(w.shownPanel, w.panels_messageboard);
  EXPECT_EQ(w.overview->Selected()->Text(), "Message Board");
  ASSERT_TRUE(clickNode(*w.overview, tunelacer));
  EXPECT_EQ(w.shownPanel, w.panels_tunelacer);
  type(the<TEdit>(w, "mb_unlen"), "9");

  ASSERT_TRUE(clickNode(*w.overview, b));
  EXPECT_EQ(w.currentModule, w.moduleIndex.at(2)->config());
  EXPECT_EQ(shown->pb.len, 7u);
  ASSERT_TRUE(click(*w.save));
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(hook.messages.size(), 4u);
}

}  // namespace
}  // namespace brindleset_test
