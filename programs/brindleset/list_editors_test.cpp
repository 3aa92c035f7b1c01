#include "programs/brindleset/list_editors.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::clickItem;
using forms::testing::type;
using testing_support::makeDirs;

bool enabled(TMainWindow& w, const char* name) { return the<TControl>(w, name).Enabled(); }

TEST_F(WindowTest, ControlsFollowTheirEnableSwitch) {
  auto window = start();
  TMainWindow& w = *window;
  // The request board starts off: its controls are grey, but what users are
  // told while it is off stays open.
  EXPECT_FALSE(enabled(w, "rb_head"));
  EXPECT_FALSE(enabled(w, "delr_0"));
  EXPECT_FALSE(enabled(w, "rb_browse"));
  EXPECT_TRUE(enabled(w, "rb_messageifdis"));
  showNode(w, "Request Board");
  ASSERT_TRUE(click(the<TCheckBox>(w, "rb_en")));
  EXPECT_TRUE(enabled(w, "rb_head"));
  EXPECT_TRUE(enabled(w, "delr_0"));
  EXPECT_TRUE(enabled(w, "rb_preqpath"));

  showNode(w, "Message Board");
  ASSERT_TRUE(click(the<TCheckBox>(w, "mb_en")));
  EXPECT_FALSE(enabled(w, "mb_tail"));
  EXPECT_FALSE(enabled(w, "postm_3"));
  EXPECT_TRUE(enabled(w, "mb_messageifdis"));

  showNode(w, "Newdir List");
  ASSERT_TRUE(click(the<TCheckBox>(w, "ndl_en")));
  EXPECT_FALSE(enabled(w, "ndl_maxentrys"));
  EXPECT_TRUE(enabled(w, "ndl_namelen"));
  EXPECT_TRUE(enabled(w, "ndl_cutname"));
  EXPECT_TRUE(enabled(w, "ndl_exlist"));
  EXPECT_TRUE(enabled(w, "ndlex_add"));

  // All four day-dir controls follow the one switch, not each other.
  EXPECT_FALSE(enabled(w, "nd_todaylink"));
  EXPECT_FALSE(enabled(w, "nd_today"));
  showNode(w, "Dawnroll Dir");
  ASSERT_TRUE(click(the<TCheckBox>(w, "nd_en")));
  EXPECT_TRUE(enabled(w, "nd_yesterdaylink"));
  EXPECT_FALSE(the<TCheckBox>(w, "nd_yesterday").Checked());
}

TEST_F(WindowTest, ListEditorsAddDeleteAndCopyItems) {
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "Tunelacer");
  TEdit& input = the<TEdit>(w, "link_input");
  TListBox& list = the<TListBox>(w, "link_list");
  for (const char* group : {"ABC", "DEF"}) {
    input.setText(group);
    ASSERT_TRUE(click(the<TButton>(w, "link_add")));
  }
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"19??", "20??", "ABC", "DEF"}));

  // A click copies the item and leaves it; "+" then adds it once more.
  ASSERT_TRUE(clickItem(list, 2));
  EXPECT_EQ(input.Text(), "ABC");
  ASSERT_TRUE(click(the<TButton>(w, "link_add")));
  EXPECT_EQ(itemsOf(w, "link_list"),
            (std::vector<std::string>{"19??", "20??", "ABC", "DEF", "ABC"}));

  // With several selected the edit gets the last; "-" removes them all.
  ASSERT_TRUE(clickItem(list, 1));
  ASSERT_TRUE(clickItem(list, 2, true));
  EXPECT_EQ(input.Text(), "ABC");
  ASSERT_TRUE(click(the<TButton>(w, "link_del")));
  EXPECT_EQ(itemsOf(w, "link_list"), (std::vector<std::string>{"19??", "DEF", "ABC"}));

  // The general lists take one item at a time.
  showNode(w, "General Settings");
  TListBox& deny = the<TListBox>(w, "deny_list");
  the<TEdit>(w, "deny_input").setText("*.tmp");
  ASSERT_TRUE(click(the<TButton>(w, "deny_add")));
  EXPECT_EQ(itemsOf(w, "deny_list"), (std::vector<std::string>{"*incomplete*", "*.tmp"}));
  ASSERT_TRUE(clickItem(deny, 0));
  ASSERT_TRUE(clickItem(deny, 1, true));
  EXPECT_FALSE(deny.Selected(0));
  ASSERT_TRUE(click(the<TButton>(w, "deny_del")));
  EXPECT_EQ(itemsOf(w, "deny_list"), std::vector<std::string>{"*incomplete*"});
}

TEST_F(WindowTest, BrowseDialogsStartWhereTheLastConfirmedNameWas) {
  auto window = start();
  TMainWindow& w = *window;
  std::string users = temp.at("srv/users");
  makeDirs(users);
  hook.fileAnswers.push_back(XString(users + "/all.user"));
  ASSERT_TRUE(click(the<TButton>(w, "user_browse")));
  ASSERT_EQ(hook.fileDialogs.size(), 1u);
  const forms::testing::AskedFile& first = hook.fileDialogs[0];
  EXPECT_EQ(first.initialDir, dataFolder);
  EXPECT_TRUE(first.save);
  EXPECT_EQ(first.title, "Please browse your server's user file.");
  EXPECT_EQ(first.filter, "RaidenFTPD user files|*.user|All files|*.*");
  EXPECT_EQ(first.defaultExt, "user");
  EXPECT_EQ(first.fileName, "");
  EXPECT_EQ(first.options, ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofFileMustExist);
  EXPECT_EQ(the<TEdit>(w, "userfile").Text(), users + "/all.user");

  // A cancelled dialog changes neither its edit nor where the next starts.
  the<TEdit>(w, "vfsfile").setText("kept.vfs");
  hook.fileAnswers.push_back("");
  ASSERT_TRUE(click(the<TButton>(w, "vfs_browse")));
  EXPECT_EQ(the<TEdit>(w, "vfsfile").Text(), "kept.vfs");
  ASSERT_EQ(hook.fileDialogs.size(), 2u);
  EXPECT_EQ(hook.fileDialogs[1].initialDir, users + "/");

  showNode(w, "Message Board");
  ASSERT_TRUE(click(the<TButton>(w, "mb_browse")));
  ASSERT_EQ(hook.fileDialogs.size(), 3u);
  const forms::testing::AskedFile& output = hook.fileDialogs[2];
  EXPECT_EQ(output.initialDir, users + "/");
  EXPECT_EQ(output.fileName, "messageboard.txt");
  EXPECT_EQ(output.options, ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofOverwritePrompt);

  // A remembered folder that has gone gives way to the data folder, which
  // stays the working folder throughout.
  ASSERT_TRUE(platform::removeDir(users.c_str()));
  ASSERT_TRUE(click(the<TButton>(w, "mb_browse")));
  ASSERT_EQ(hook.fileDialogs.size(), 4u);
  EXPECT_EQ(hook.fileDialogs[3].initialDir, dataFolder);
  std::string cwd;
  ASSERT_TRUE(platform::currentDir(cwd));
  EXPECT_EQ(cwd, dataFolder);
}

TEST_F(WindowTest, KeyFiltersKeepBadCharactersOutOfPathsAndNumbers) {
  auto window = start();
  TMainWindow& w = *window;
  type(the<TEdit>(w, "userfile"), "/a<b>c?d*e\\f:g");
  EXPECT_EQ(the<TEdit>(w, "userfile").Text(), "/abcde\\f:g");
  TEdit& number = the<TEdit>(w, "mb_unlen");
  number.setText("");
  type(number, "1-2 a3\b4");
  EXPECT_EQ(number.Text(), "124");

  // A '/' in a marker name template would make a folder: it stays out.
  char key = '/';
  TEdit markerTemplate(w.panels_general, "tinfo_format");
  w.IsPathname(&markerTemplate, key);
  EXPECT_EQ(key, 0);
  key = '%';
  w.IsPathname(&markerTemplate, key);
  EXPECT_EQ(key, '%');
}

}  // namespace
}  // namespace brindleset_test
