#include <gtest/gtest.h>

#include <string>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::type;
using testing_support::items;
using testing_support::readFile;

// Each setting beside the control that bears its name.
#define FIELD(expr) [](MConfig& m) -> decltype(auto) { return (m.expr); }

const struct {
  const char* name;
  XString& (*field)(MConfig&);
} kTexts[] = {
    {"sfvm_pat", FIELD(sfvm_pat)},
    {"sfvm_patmul", FIELD(sfvm_patmul)},
    {"sfvi_pat", FIELD(sfvi_pat)},
    {"sfvi_patmul", FIELD(sfvi_patmul)},
    {"mfiles_pat", FIELD(mfiles_pat)},
    {"ad_file", FIELD(ad_file)},
    {"pb_empty", FIELD(pb.empty)},
    {"pb_full", FIELD(pb.full)},
    {"pb_incpat", FIELD(pb.incpat)},
    {"pb_compat", FIELD(pb.compat)},
    {"pb_incpatmul", FIELD(pb.incpatmul)},
    {"pb_compatmul", FIELD(pb.compatmul)},
    {"move_dir", FIELD(move_dir)},
    {"tinfo_format", FIELD(tinfo.format)},
    {"tinfo_mergepat", FIELD(tinfo.mergepat)},
    {"tinfo_formatmul", FIELD(tinfo.formatmul)},
    {"tinfo_mergepatmul", FIELD(tinfo.mergepatmul)},
    {"ndlspecial_file", FIELD(ndlspecial_file)},
    {"racer_gbody", FIELD(racer.gbody)},
    {"racer_guser", FIELD(racer.guser)},
    {"racer_ggroup", FIELD(racer.ggroup)},
    {"racer_sbody", FIELD(racer.sbody)},
    {"racer_suser", FIELD(racer.suser)},
    {"racer_sgroup", FIELD(racer.sgroup)},
    {"racer_sbarempty", FIELD(racer.sbarempty)},
    {"racer_sbarfull", FIELD(racer.sbarfull)},
    {"racer_mbody", FIELD(racer.mbody)},
};

const struct {
  const char* name;
  unsigned int& (*field)(MConfig&);
} kNumbers[] = {
    {"pb_len", FIELD(pb.len)},
    {"racer_gbdplen", FIELD(racer.gbdplen)},
    {"racer_gbdnlen", FIELD(racer.gbdnlen)},
    {"racer_gbfnlen", FIELD(racer.gbfnlen)},
    {"racer_glunlen", FIELD(racer.glunlen)},
    {"racer_glgrlen", FIELD(racer.glgrlen)},
    {"racer_gldplen", FIELD(racer.gldplen)},
    {"racer_gldnlen", FIELD(racer.gldnlen)},
    {"racer_glfnlen", FIELD(racer.glfnlen)},
    {"racer_sbdplen", FIELD(racer.sbdplen)},
    {"racer_sbdnlen", FIELD(racer.sbdnlen)},
    {"racer_sbfnlen", FIELD(racer.sbfnlen)},
    {"racer_sbarlen", FIELD(racer.sbarlen)},
    {"racer_slunlen", FIELD(racer.slunlen)},
    {"racer_slgrlen", FIELD(racer.slgrlen)},
    {"racer_sldplen", FIELD(racer.sldplen)},
    {"racer_sldnlen", FIELD(racer.sldnlen)},
    {"racer_slfnlen", FIELD(racer.slfnlen)},
    {"racer_marlen", FIELD(racer.marlen)},
    {"racer_mallen", FIELD(racer.mallen)},
    {"racer_mgelen", FIELD(racer.mgelen)},
    {"racer_mmmlen", FIELD(racer.mmmlen)},
    {"racer_mcolen", FIELD(racer.mcolen)},
};

const struct {
  const char* name;
  bool& (*field)(MConfig&);
} kSwitches[] = {
    {"mcd_sfvm", FIELD(mcd_sfvm)},
    {"mcd_sfvi", FIELD(mcd_sfvi)},
    {"ad_en", FIELD(ad_en)},
    {"sfv_force", FIELD(sfv_force)},
    {"sfv_oneonly", FIELD(sfv_oneonly)},
    {"sfv_insfv", FIELD(sfv_insfv)},
    {"mcd_pb", FIELD(pb.mcd)},
    {"move_en", FIELD(move_en)},
    {"mcd_ti", FIELD(tinfo.mcd)},
    {"tinfo_merge", FIELD(tinfo.merge)},
    {"m3u_deny", FIELD(m3u_deny)},
    {"m3u_create", FIELD(m3u_create)},
    {"m3u_skip", FIELD(m3u_skip)},
    {"ndlspecial_addmain", FIELD(ndlspecial_addmain)},
    {"racer_en", FIELD(racer.en)},
    {"racer_chmod", FIELD(racer.chmod)},
    {"racer_sen", FIELD(racer.sen)},
    {"racer_men", FIELD(racer.men)},
    {"racer_gbcutdp", FIELD(racer.gbcutdp)},
    {"racer_gbcutdn", FIELD(racer.gbcutdn)},
    {"racer_gbcutfn", FIELD(racer.gbcutfn)},
    {"racer_glcutun", FIELD(racer.glcutun)},
    {"racer_glcutgr", FIELD(racer.glcutgr)},
    {"racer_glcutdp", FIELD(racer.glcutdp)},
    {"racer_glcutdn", FIELD(racer.glcutdn)},
    {"racer_glcutfn", FIELD(racer.glcutfn)},
    {"racer_sbcutdp", FIELD(racer.sbcutdp)},
    {"racer_sbcutdn", FIELD(racer.sbcutdn)},
    {"racer_sbcutfn", FIELD(racer.sbcutfn)},
    {"racer_slcutun", FIELD(racer.slcutun)},
    {"racer_slcutgr", FIELD(racer.slcutgr)},
    {"racer_slcutdp", FIELD(racer.slcutdp)},
    {"racer_slcutdn", FIELD(racer.slcutdn)},
    {"racer_slcutfn", FIELD(racer.slcutfn)},
    {"racer_mcutar", FIELD(racer.mcutar)},
    {"racer_mcutal", FIELD(racer.mcutal)},
    {"racer_mcutge", FIELD(racer.mcutge)},
    {"racer_mcutmm", FIELD(racer.mcutmm)},
    {"racer_mcutco", FIELD(racer.mcutco)},
};

const struct {
  const char* prefix;
  unsigned char& (*field)(MConfig&);
} kChoices[] = {
    {"sfvm_", FIELD(sfvm)},  {"sfvi_", FIELD(sfvi)},        {"mfiles_", FIELD(mfiles)},
    {"pb_", FIELD(pb.mode)}, {"tinfo_", FIELD(tinfo.mode)}, {"cinfo_", FIELD(cinfo)},
    {"badf_", FIELD(badf)},
};

const struct {
  const char* prefix;
  char& (*field)(MConfig&);
} kSorts[] = {{"racer_gsortu", FIELD(racer.gsortu)},
              {"racer_gsortg", FIELD(racer.gsortg)},
              {"racer_ssortu", FIELD(racer.ssortu)},
              {"racer_ssortg", FIELD(racer.ssortg)}};

#undef FIELD

// Settings in which each value is its own, the switches and choices set by
// `pattern`, so that two patterns differ in every control.
void makeUnusual(MConfig& m, int pattern) {
  m.setDefaults(0);
  std::string mark = pattern ? "-b" : "-a";
  for (const auto& t : kTexts) t.field(m) = XString(t.name + mark);
  for (const char* body : {"racer_gbody", "racer_sbody", "racer_mbody"}) {
    for (const auto& t : kTexts) {
      if (std::string(t.name) == body) t.field(m) += "\r\nsecond line\r\n";
    }
  }
  int i = 0;
  for (const auto& n : kNumbers) n.field(m) = 100u * (pattern + 1) + i++;
  for (const auto& s : kSwitches) s.field(m) = (i++ + pattern) % 2 == 0;
  for (const auto& c : kChoices) c.field(m) = static_cast<unsigned char>((i++ + pattern) % 3);
  for (const auto& s : kSorts) s.field(m) = static_cast<char>((i++ + pattern) % 3);
  m.chmod.touser = pattern == 1;
  m.chmod.username = "owner" + mark;
  m.chmod.group = "group" + mark;
  m.chmod.allow = pattern ? "750" : "641";
  m.specialndl = pattern == 0;
  m.sfv_filelist.clear();
  m.sfv_filelist.add("*.nfo" + mark);
  m.sfv_filelist.add("*.diz");
  m.sfv_dirlist.add("/site/pre" + mark + "/");
  m.sfv_dirlist.add("/site/sample/");
  // The pages keep ids only in brackets and with "show only last tag", and
  // the bar merges as the tag info does.
  m.tinfo.last = true;
  m.tinfo.id = "[ID" + mark + "]";
  m.tinfo.idmul = "[MUL" + mark + "]";
  m.pb.merge = m.tinfo.merge;
}

XString textOf(TMainWindow& w, const char* name) {
  if (auto* memo = forms::testing::find<TMemo>(w, name)) return memo->Text();
  return the<TEdit>(w, name).Text();
}

// Every control of the module pages shows the setting of its name.
void expectShown(TMainWindow& w, MConfig& m) {
  for (const auto& t : kTexts) EXPECT_EQ(textOf(w, t.name), t.field(m)) << t.name;
  for (const auto& n : kNumbers) {
    EXPECT_EQ(the<TEdit>(w, n.name).Text(), XString(n.field(m))) << n.name;
  }
  for (const auto& s : kSwitches) {
    EXPECT_EQ(the<TCheckBox>(w, s.name).Checked(), s.field(m)) << s.name;
  }
  for (const auto& c : kChoices) {
    for (int k = 0; k < 3; ++k) {
      std::string button = c.prefix + std::to_string(k);
      EXPECT_EQ(the<TRadioButton>(w, button.c_str()).Checked(), c.field(m) == k) << button;
    }
  }
  for (const auto& s : kSorts) {
    for (int k = 0; k < 3; ++k) {
      std::string button = s.prefix + std::to_string(k);
      EXPECT_EQ(the<TRadioButton>(w, button.c_str()).Checked(), s.field(m) == k) << button;
    }
  }
  EXPECT_EQ(the<TRadioButton>(w, "chmod_touser").Checked(), m.chmod.touser);
  EXPECT_EQ(the<TRadioButton>(w, "chmod_tobc").Checked(), !m.chmod.touser);
  EXPECT_EQ(the<TLabel>(w, "chmod_username").Caption(), m.chmod.username);
  EXPECT_EQ(the<TLabel>(w, "chmod_group").Caption(), m.chmod.group);
  EXPECT_EQ(the<TLabel>(w, "chmod_allow").Caption(), m.chmod.allow);
  EXPECT_EQ(the<TRadioButton>(w, "ndlspecial_1").Checked(), m.specialndl);
  EXPECT_EQ(the<TRadioButton>(w, "ndlspecial_0").Checked(), !m.specialndl);
  EXPECT_EQ(itemsOf(w, "sfv_filelist"), items(m.sfv_filelist));
  std::vector<std::string> folders;
  for (std::string folder : items(m.sfv_dirlist))
    folders.push_back(folder.substr(0, folder.size() - 1));
  EXPECT_EQ(itemsOf(w, "sfv_dirlist"), folders);
  EXPECT_EQ(the<TEdit>(w, "tinfo_id").Text(), m.tinfo.id.substring(1, m.tinfo.id.length() - 2));
  EXPECT_EQ(the<TEdit>(w, "tinfo_idmul").Text(),
            m.tinfo.idmul.substring(1, m.tinfo.idmul.length() - 2));
  EXPECT_TRUE(the<TCheckBox>(w, "tinfo_last").Checked());
  EXPECT_EQ(the<TEdit>(w, "ad_file").Enabled(), m.ad_en);
}

TEST_F(WindowTest, EveryModuleSettingMakesTheRoundTripThroughSaveAndASecondStart) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}, {"b.bcm", "/b/", "b"}});
  {
    MConfig a;
    makeUnusual(a, 0);
    MConfig b;
    makeUnusual(b, 1);
    ASSERT_TRUE(a.save(data("a.bcm").c_str()));
    ASSERT_TRUE(b.save(data("b.bcm").c_str()));
  }
  // As the window loads them: a loaded list stands in the file's reverse
  // order.
  MConfig a;
  ASSERT_TRUE(a.load(data("a.bcm").c_str()));
  MConfig b;
  ASSERT_TRUE(b.load(data("b.bcm").c_str()));
  std::string firstA;
  {
    auto window = start();
    TMainWindow& w = *window;
    // Each switch stores the module left and fills every control anew.
    for (int round = 0; round < 2; ++round) {
      w.overview->setSelected(w.modulesNode->Item(1));
      expectShown(w, a);
      w.overview->setSelected(w.modulesNode->Item(2));
      expectShown(w, b);
    }
    ASSERT_TRUE(click(*w.save));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(hook.messages.empty());
    firstA = readFile(data("a.bcm"));
  }
  // Saved and loaded again, each module holds what it held.
  for (auto* expected : {&a, &b}) {
    MConfig saved;
    ASSERT_TRUE(saved.load(data(expected == &a ? "a.bcm" : "b.bcm").c_str()));
    EXPECT_EQ(savedBytes(saved, temp.at("saved")), savedBytes(*expected, temp.at("expected")));
  }

  forms::testing::clearTerminated();
  auto window = start();
  TMainWindow& w = *window;
  w.overview->setSelected(w.modulesNode->Item(1));
  expectShown(w, a);
  ASSERT_TRUE(click(*w.save));
  EXPECT_EQ(readFile(data("a.bcm")), firstA);
}

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
