#include <gtest/gtest.h>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::clickItem;
using forms::testing::type;
using testing_support::items;
using testing_support::readFile;

constexpr const char* kNumbersOnly =
    "username length, message length and maximum entrys must contain numbers only!";

void retype(TEdit& edit, const char* text) {
  edit.setText("");
  type(edit, text);
}

TEST_F(WindowTest, EveryKindOfControlMakesTheRoundTripThroughSaveAndRestart) {
  std::string firstSave;
  {
    auto window = start();
    TMainWindow& w = *window;
    type(the<TEdit>(w, "userfile"), "/srv/users/all.user");
    type(the<TEdit>(w, "mcd_input"), "DVD*");
    ASSERT_TRUE(click(the<TButton>(w, "mcd_add")));
    ASSERT_TRUE(clickItem(the<TListBox>(w, "mcd_list"), 0));
    ASSERT_TRUE(click(the<TButton>(w, "mcd_del")));
    EXPECT_EQ(itemsOf(w, "mcd_list"), std::vector<std::string>{"DVD*"});

    showNode(w, "Message Board");
    // 8-bit template bytes, as pasted.
    the<TEdit>(w, "mb_lineformat").setText("\xDB %r \xDC %u");
    the<TMemo>(w, "mb_head").setText("first\r\nsecond");
    retype(the<TEdit>(w, "mb_unlen"), "42");
    ASSERT_TRUE(click(the<TCheckBox>(w, "mb_cuttxt")));
    ASSERT_TRUE(click(the<TRadioButton>(w, "delm_3")));

    showNode(w, "Request Board");
    ASSERT_TRUE(click(the<TCheckBox>(w, "rb_en")));
    type(the<TEdit>(w, "rb_preqpath"), "/srv/requests");

    showNode(w, "Newdir List");
    for (const char* folder : {"/site/pre/", "/site/tmp"}) {
      retype(the<TEdit>(w, "ndlex_input"), folder);
      ASSERT_TRUE(click(the<TButton>(w, "ndlex_add")));
    }

    // The owner dialog writes the labels.
    the<TLabel>(w, "nd_usernametod").setCaption("site");
    the<TLabel>(w, "nd_grouptod").setCaption("staff");
    the<TLabel>(w, "nd_allowtod").setCaption("750");

    showNode(w, "Tunelacer");
    ASSERT_TRUE(click(the<TRadioButton>(w, "link_listp0")));
    // An empty item is left out of the settings.
    ASSERT_TRUE(click(the<TButton>(w, "link_add")));
    type(the<TEdit>(w, "link_artistdir"), "/links/artist");

    ASSERT_TRUE(click(*w.save));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(hook.messages.empty());
    firstSave = readFile(data("BCconfig.bcc"));
  }

  GConfig g;
  ASSERT_TRUE(g.load(data("BCconfig.bcc").c_str()));
  EXPECT_EQ(g.userfile, "/srv/users/all.user");
  EXPECT_EQ(g.mb.lineformat, "\xDB %r \xDC %u");
  EXPECT_EQ(g.mb.head, "first\r\nsecond");
  EXPECT_EQ(g.mb.unlen, 42u);
  EXPECT_TRUE(g.rb.en);
  EXPECT_TRUE(g.mb.cuttxt);
  EXPECT_FALSE(g.rb.cuttxt);
  EXPECT_EQ(g.mb.delm, 3);
  EXPECT_EQ(items(g.mcd_list), std::vector<std::string>{"DVD*"});
  EXPECT_EQ(items(g.ndl_exlist), (std::vector<std::string>{"/site/pre", "/site/tmp"}));
  EXPECT_EQ(g.rb.preqpath, "/srv/requests/");
  EXPECT_EQ(g.tod.username, "site");
  EXPECT_EQ(g.tod.group, "staff");
  EXPECT_EQ(g.tod.allow, "750");
  LConfig l;
  ASSERT_TRUE(l.load(data("linkerconfig.bcc").c_str()));
  EXPECT_TRUE(l.link_listp);
  EXPECT_EQ(items(l.link_list), (std::vector<std::string>{"19??", "20??"}));
  EXPECT_EQ(l.link_artistdir, "/links/artist/");

  // The second start shows what was saved, and saving it again writes the
  // same bytes: no list turns round and no memo grows.
  forms::testing::clearTerminated();
  auto window = start();
  TMainWindow& w = *window;
  EXPECT_EQ(the<TEdit>(w, "userfile").Text(), "/srv/users/all.user");
  EXPECT_EQ(the<TMemo>(w, "mb_head").Text(), "first\r\nsecond");
  EXPECT_EQ(the<TEdit>(w, "mb_unlen").Text(), "42");
  EXPECT_TRUE(the<TCheckBox>(w, "rb_en").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "delm_3").Checked());
  EXPECT_FALSE(the<TRadioButton>(w, "delm_1").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "link_listp0").Checked());
  EXPECT_FALSE(the<TRadioButton>(w, "link_listp1").Checked());
  EXPECT_EQ(itemsOf(w, "ndl_exlist"), (std::vector<std::string>{"/site/pre", "/site/tmp"}));
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"19??", "20??"}));
  EXPECT_EQ(the<TLabel>(w, "nd_grouptod").Caption(), "staff");
  EXPECT_EQ(the<TEdit>(w, "rb_preqpath").Text(), "/srv/requests/");
  ASSERT_TRUE(click(*w.save));
  EXPECT_EQ(readFile(data("BCconfig.bcc")), firstSave);
}

TEST_F(WindowTest, StoredValuesOutsideTheControlsRangeAreShownByTheRules) {
  GConfig stored;
  stored.setDefaults(0);
  stored.mb.delm = 7;
  stored.rb.postr = 2;
  stored.mb.maxentrys = 4294967295u;
  stored.ndl_exlist.add("/site/x//");
  testing_support::makeDirs(dataFolder);
  ASSERT_TRUE(stored.save(data("BCconfig.bcc").c_str()));

  auto window = start();
  TMainWindow& w = *window;
  EXPECT_TRUE(the<TRadioButton>(w, "delm_3").Checked());
  EXPECT_TRUE(the<TRadioButton>(w, "postr_2").Checked());
  EXPECT_FALSE(the<TRadioButton>(w, "postr_3").Checked());
  // Shown as stored, but not a number the settings can take back.
  EXPECT_EQ(the<TEdit>(w, "mb_maxentrys").Text(), "4294967295");
  EXPECT_EQ(itemsOf(w, "ndl_exlist"), std::vector<std::string>{"/site/x//"});
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, kNumbersOnly);
  EXPECT_EQ(w.shownPanel, w.panels_messageboard);

  retype(the<TEdit>(w, "mb_maxentrys"), "0");
  ASSERT_TRUE(click(*w.save));
  EXPECT_TRUE(Application->Terminated());
  GConfig saved;
  ASSERT_TRUE(saved.load(data("BCconfig.bcc").c_str()));
  EXPECT_EQ(saved.mb.delm, 3);
  EXPECT_EQ(saved.rb.postr, 2);
  EXPECT_EQ(saved.mb.maxentrys, 0u);
  // One final separator goes on each save.
  EXPECT_EQ(items(saved.ndl_exlist), std::vector<std::string>{"/site/x/"});
}

TEST_F(WindowTest, EachNumberCheckStopsTheSaveOnItsOwnPanel) {
  struct Case {
    const char* edit;
    const char* text;
    TPanel* TMainWindow::*panel;
  };
  const Case cases[] = {
      {"vfs_maxentrys", "-5", &TMainWindow::panels_general},
      {"mb_unlen", "", &TMainWindow::panels_messageboard},
      {"rb_tlen", "2147483648", &TMainWindow::panels_requestboard},
      {"ndl_namelen", "-1", &TMainWindow::panels_newdirlist},
      {"ndlspecial_maxentrys", "12a", &TMainWindow::panels_ndlspecial},
  };
  for (const Case& c : cases) {
    hook.messages.clear();
    auto window = start();
    TMainWindow& w = *window;
    // Pasted: the key filter lets no such text be typed.
    the<TEdit>(w, c.edit).setText(c.text);
    ASSERT_TRUE(click(*w.save));
    ASSERT_EQ(hook.messages.size(), 1u) << c.edit;
    EXPECT_EQ(hook.messages[0].text, kNumbersOnly) << c.edit;
    EXPECT_EQ(hook.messages[0].caption, "error") << c.edit;
    EXPECT_EQ(w.shownPanel, w.*c.panel) << c.edit;
    EXPECT_TRUE((w.*c.panel)->Visible()) << c.edit;
    EXPECT_FALSE(Application->Terminated()) << c.edit;
    EXPECT_EQ(dataFiles(), std::vector<std::string>{"BCconfigSettings.cfg"}) << c.edit;
  }

  // Only the first failing block is reported. Its fields before the failing
  // number are taken, the rest of it and every later block are not.
  hook.messages.clear();
  auto window = start();
  TMainWindow& w = *window;
  type(the<TEdit>(w, "mcd_input"), "DVD*");
  ASSERT_TRUE(click(the<TButton>(w, "mcd_add")));
  retype(the<TEdit>(w, "mb_maxentrys"), "33");
  the<TEdit>(w, "mb_unlen").setText("");
  retype(the<TEdit>(w, "mb_tlen"), "77");
  the<TEdit>(w, "rb_tlen").setText("x");
  showNode(w, "Tunelacer");
  ASSERT_TRUE(click(the<TCheckBox>(w, "link_en")));
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(w.shownPanel, w.panels_messageboard);
  EXPECT_EQ(items(w.globalConfig.mcd_list), (std::vector<std::string>{"DVD*", "CD*"}));
  EXPECT_EQ(w.globalConfig.mb.maxentrys, 33u);
  EXPECT_EQ(w.globalConfig.mb.tlen, 50u);
  EXPECT_FALSE(w.linkerConfig.link_en);

  type(the<TEdit>(w, "mb_unlen"), "9");
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(w.shownPanel, w.panels_requestboard);
  EXPECT_EQ(w.globalConfig.mb.tlen, 77u);
  EXPECT_EQ(dataFiles(), std::vector<std::string>{"BCconfigSettings.cfg"});
}

// An output file is written over whatever it names: one that names a
// settings, module, store or lock file of the data folder is refused on
// save, with the field named and its panel shown; nothing is written.
TEST_F(WindowTest, OutputFilesNamingTheSuitesOwnFilesAreRefusedOnSave) {
  writeIndex(dataFolder, {{"mp3.cfg", "/mp3/", "mp3"}});
  auto window = start();
  TMainWindow& w = *window;
  using forms::testing::clickNode;
  const struct {
    const char* edit;
    const char* text;
    const char* node;
    const char* message;
  } refused[] = {
      {"mb_file", "board.txt|mboard.sav", "Message Board",
       "The output files of the message board name a file that Brindlecast keeps in its data "
       "folder: mboard.sav\r\nPlease choose another file."},
      {"rb_file", "../data/BCconfig.bcc", "Request Board",
       "The output files of the request board name a file that Brindlecast keeps in its data "
       "folder: ../data/BCconfig.bcc\r\nPlease choose another file."},
      {"ndl_file", "mp3.cfg", "Newdir List",
       "The output files of the new directory list name a file that Brindlecast keeps in its data "
       "folder: mp3.cfg\r\nPlease choose another file."},
  };
  showNode(w, "Request Board");
  ASSERT_TRUE(click(the<TCheckBox>(w, "rb_en")));  // off by default, and its files with it
  for (const auto& r : refused) {
    hook.messages.clear();
    showNode(w, "Tunelacer");
    the<TEdit>(w, r.edit).setText("");
    type(the<TEdit>(w, r.edit), r.text);
    ASSERT_TRUE(click(*w.save));
    ASSERT_EQ(hook.messages.size(), 1u) << r.edit;
    EXPECT_EQ(hook.messages[0].text, r.message);
    EXPECT_EQ(w.overview->Selected()->Text(), r.node);
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(dataFiles(), (std::vector<std::string>{"BCconfigSettings.cfg", "ModuleIndex.idx"}));
    // Files beside the suite's own, or named like them elsewhere, are the
    // administrator's to choose.
    the<TEdit>(w, r.edit).setText(XString(temp.at("mboard.sav")) + "|board.txt");
  }

  // A module's special list: the module that names it is shown.
  ASSERT_TRUE(clickNode(*w.overview, w.modulesNode->Item(1)));
  the<TEdit>(w, "ndlspecial_file").setText("default.ndl");
  ASSERT_TRUE(clickNode(*w.overview, w.modulesNode->Item(0)));
  hook.messages.clear();
  ASSERT_TRUE(click(*w.save));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text,
            "The output files of the special list of module mp3 name a file that Brindlecast "
            "keeps in its data folder: default.ndl\r\nPlease choose another file.");
  EXPECT_EQ(w.overview->Selected(), w.modulesNode->Item(1));
  EXPECT_EQ(w.modules_pages->ActivePage()->Name(), "modules_general");
  EXPECT_EQ(dataFiles(), (std::vector<std::string>{"BCconfigSettings.cfg", "ModuleIndex.idx"}));
  the<TEdit>(w, "ndlspecial_file").setText("mp3 list.txt");
  ASSERT_TRUE(click(*w.save));
  EXPECT_TRUE(Application->Terminated());
  GConfig saved;
  ASSERT_TRUE(saved.load(data("BCconfig.bcc").c_str()));
  EXPECT_EQ(saved.mb.file, XString(temp.at("mboard.sav")) + "|board.txt");
}

}  // namespace
}  // namespace brindleset_test
