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

}  // namespace
}  // namespace brindleset_test
