#include <gtest/gtest.h>

#include <functional>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::closeByFrame;
using forms::testing::type;

constexpr const char* kTaken =
    "A module with this short description already exists. Please change the short description.";

// The index, the tree's module children and the grid's rows name the same
// modules in the same order.
void expectInStep(TMainWindow& w, const std::vector<std::string>& sections) {
  ASSERT_EQ(w.moduleIndex.count, static_cast<int>(sections.size()));
  ASSERT_EQ(w.modulesNode->Count(), static_cast<int>(sections.size()));
  ASSERT_EQ(w.moduleinfo->RowCount(), static_cast<int>(sections.size()) + 1);
  for (int i = 0; i < static_cast<int>(sections.size()); ++i) {
    EXPECT_EQ(w.moduleIndex.at(i)->sectionName, sections[i]) << i;
    EXPECT_EQ(w.modulesNode->Item(i)->Text(), sections[i]) << i;
    EXPECT_EQ(w.moduleinfo->Cells(0, i + 1), sections[i]) << i;
  }
}

void fill(TForm& editor, const char* fn, const char* sdesc, const char* desc, const char* pth) {
  in<TEdit>(editor, "fn").setText(fn);
  in<TEdit>(editor, "sdesc").setText(sdesc);
  in<TEdit>(editor, "desc").setText(desc);
  in<TEdit>(editor, "pth").setText(pth);
}

// A modal answer that fills the module editor and presses "ok".
std::function<void(TForm&)> accept(const char* fn, const char* sdesc, const char* desc,
                                   const char* pth) {
  return [=](TForm& editor) {
    fill(editor, fn, sdesc, desc, pth);
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
  };
}

TEST_F(WindowTest, ModulesAreAddedEditedDuplicatedAndDeletedInIndexTreeAndGridAlike) {
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "Server Modules");
  TButton& add = the<TButton>(w, "addmodule");

  // The editor refuses, one message each and staying open, a section name
  // another module bears, an empty box, and a settings file another module
  // names; a blank is not empty.
  std::string mp3File = temp.at("srv") + "/mp3.bcm";
  hook.modalAnswers.push_back([&](TForm& editor) {
    EXPECT_EQ(editor.Caption(), "ModuleEditor");
    EXPECT_EQ(in<TButton>(editor, "ok").Caption(), "Add");
    fill(editor, "mp3.bcm", "default", "the mp3 releases", "mp3");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
    in<TEdit>(editor, "sdesc").setText("mp3");
    in<TEdit>(editor, "desc").setText("");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
    in<TEdit>(editor, "desc").setText(" ");
    in<TEdit>(editor, "fn").setText("DEFAULT.bcm");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
    EXPECT_TRUE(editor.Visible());
    in<TEdit>(editor, "fn").setText(mp3File.c_str());
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
  });
  ASSERT_TRUE(click(add));
  ASSERT_EQ(hook.messages.size(), 3u);
  EXPECT_EQ(hook.messages[0].text, kTaken);
  EXPECT_EQ(hook.messages[0].caption, "Cannot create module");
  EXPECT_EQ(hook.messages[1].text, "Please fill all the Boxes.");
  EXPECT_EQ(hook.messages[1].caption, "Error");
  EXPECT_EQ(hook.messages[2].caption, "Cannot create module");
  expectInStep(w, {"default", "mp3"});
  EXPECT_EQ(w.moduleIndex.at(1)->filename, mp3File);
  EXPECT_EQ(w.moduleIndex.at(1)->path, "/mp3/");
  EXPECT_EQ(w.moduleIndex.at(1)->description, " ");
  EXPECT_FALSE(w.moduleIndex.at(1)->isDefault);
  EXPECT_EQ(w.moduleinfo->Cells(1, 2), "mp3.bcm");
  EXPECT_EQ(w.moduleinfo->Cells(2, 2), "/mp3/");

  // Section names are compared exactly: "Default" is a name of its own.
  hook.modalAnswers.push_back(accept("other.bcm", "Default", "other releases", "/other"));
  ASSERT_TRUE(click(add));
  expectInStep(w, {"default", "mp3", "Default"});

  // An edit may keep its own section name and file; it may not take
  // another module's. The path is enclosed in slashes.
  w.moduleinfo->setRow(2);
  hook.modalAnswers.push_back([&](TForm& editor) {
    EXPECT_EQ(in<TButton>(editor, "ok").Caption(), "ok");
    EXPECT_EQ(in<TEdit>(editor, "fn").Text(), mp3File);
    EXPECT_EQ(in<TEdit>(editor, "pth").Text(), "/mp3/");
    in<TEdit>(editor, "sdesc").setText("Default");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
    in<TEdit>(editor, "sdesc").setText("mp3");
    in<TEdit>(editor, "fn").setText("other.bcm");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
    in<TEdit>(editor, "fn").setText(mp3File.c_str());
    in<TEdit>(editor, "pth").setText("/music");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
  });
  hook.messages.clear();
  ASSERT_TRUE(click(the<TButton>(w, "editmodule")));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0].text, kTaken);
  EXPECT_EQ(hook.messages[1].caption, "Cannot create module");
  EXPECT_EQ(w.moduleIndex.at(1)->path, "/music/");
  hook.modalAnswers.push_back(accept(mp3File.c_str(), "music", "music releases", "music/"));
  ASSERT_TRUE(click(the<TButton>(w, "editmodule")));
  expectInStep(w, {"default", "music", "Default"});
  EXPECT_EQ(w.moduleinfo->Cells(2, 2), "/music/");
  EXPECT_EQ(w.moduleinfo->Cells(3, 2), "music releases");

  // The default module may be duplicated, not edited or deleted.
  hook.messages.clear();
  w.moduleinfo->setRow(1);
  ASSERT_TRUE(click(the<TButton>(w, "editmodule")));
  ASSERT_TRUE(click(the<TButton>(w, "delmodule")));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0].text, "You cannot edit the default module");
  EXPECT_EQ(hook.messages[1].text, "You cannot delete the default module");
  EXPECT_EQ(hook.messages[1].caption, "Error");
  ASSERT_TRUE(click(the<TButton>(w, "dupmodule")));
  // A copy made twice gets a name of its own each time.
  w.moduleinfo->setRow(2);
  ASSERT_TRUE(click(the<TButton>(w, "dupmodule")));
  ASSERT_TRUE(click(the<TButton>(w, "dupmodule")));
  expectInStep(w, {"default", "music", "Default", "default_dupe", "music_dupe", "music_dupe2"});
  EXPECT_FALSE(w.moduleIndex.at(3)->isDefault);
  EXPECT_EQ(w.moduleIndex.at(4)->description, "Is duplicate of music releases");
  EXPECT_EQ(w.moduleIndex.at(4)->path, "/music/");

  w.moduleinfo->setRow(5);
  ASSERT_TRUE(click(the<TButton>(w, "delmodule")));
  expectInStep(w, {"default", "music", "Default", "default_dupe", "music_dupe2"});
  EXPECT_EQ(hook.modalForms.size(), 4u);

  // Saved, the index holds what the tree shows; no module was opened, so
  // no module file is written.
  ASSERT_TRUE(click(*w.save));
  ModuleIndex<MConfig> saved(data("ModuleIndex.idx").c_str());
  ASSERT_EQ(saved.count, 5);
  EXPECT_EQ(saved.at(1)->sectionName, "music");
  EXPECT_EQ(saved.at(1)->filename, mp3File);
  EXPECT_EQ(saved.at(4)->sectionName, "music_dupe2");
  EXPECT_FALSE(testing_support::exists(mp3File));
}

TEST_F(WindowTest, TheModuleButtonsActOnTheSelectedRowOnlyWhileItShowsItsModule) {
  // Two modules of one name, as a hand-made index may hold.
  writeIndex(dataFolder, {{"a.bcm", "/a/", "twin"}, {"b.bcm", "/b/", "twin"}});
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "Server Modules");
  w.moduleinfo->setRow(3);
  hook.modalAnswers.push_back([](TForm& editor) {
    EXPECT_EQ(in<TEdit>(editor, "fn").Text(), "b.bcm");
    in<TEdit>(editor, "sdesc").setText("second");
    ASSERT_TRUE(click(in<TButton>(editor, "ok")));
  });
  ASSERT_TRUE(click(the<TButton>(w, "editmodule")));
  expectInStep(w, {"default", "twin", "second"});
  w.moduleinfo->setRow(2);
  ASSERT_TRUE(click(the<TButton>(w, "delmodule")));
  expectInStep(w, {"default", "second"});
  EXPECT_EQ(w.moduleIndex.at(1)->filename, "b.bcm");

  // A row out of step with the index does nothing at all.
  w.moduleinfo->setCells(0, 2, "ghost");
  w.moduleinfo->setRow(2);
  for (const char* button : {"editmodule", "dupmodule", "delmodule"}) {
    ASSERT_TRUE(click(the<TButton>(w, button)));
  }
  EXPECT_EQ(w.moduleIndex.count, 2);
  EXPECT_EQ(w.modulesNode->Count(), 2);
  EXPECT_TRUE(hook.modalForms.size() == 1u && hook.messages.empty());
}

TEST_F(WindowTest, AnEditorLeftByItsFrameOrByEscAddsAndChangesNothing) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}});
  auto window = start();
  TMainWindow& w = *window;
  showNode(w, "Server Modules");
  hook.modalAnswers.push_back([](TForm& editor) {
    fill(editor, "x.bcm", "x", "x", "/x/");
    closeByFrame(editor);
  });
  hook.modalAnswers.push_back([](TForm& editor) {
    fill(editor, "x.bcm", "x", "x", "/x/");
    type(in<TEdit>(editor, "desc"), "\x1b");
  });
  hook.modalAnswers.push_back([](TForm& editor) {
    fill(editor, "x.bcm", "x", "x", "/x/");
    ASSERT_TRUE(click(in<TButton>(editor, "cancel")));
  });
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(click(the<TButton>(w, "addmodule")));
  w.moduleinfo->setRow(2);
  hook.modalAnswers.push_back([](TForm& editor) {
    in<TEdit>(editor, "sdesc").setText("renamed");
    type(in<TEdit>(editor, "pth"), "\x1b");
  });
  ASSERT_TRUE(click(the<TButton>(w, "editmodule")));
  expectInStep(w, {"default", "a"});
  EXPECT_EQ(hook.modalForms.size(), 4u);

  // Enter in an edit is the editor's "ok", with its checks.
  hook.modalAnswers.push_back([](TForm& editor) {
    fill(editor, "x.bcm", "x", "", "/x/");
    type(in<TEdit>(editor, "sdesc"), "\r");
    in<TEdit>(editor, "desc").setText("x");
    type(in<TEdit>(editor, "sdesc"), "\r");
  });
  ASSERT_TRUE(click(the<TButton>(w, "addmodule")));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "Please fill all the Boxes.");
  expectInStep(w, {"default", "a", "x"});

  // The browse button names a module file, a ".bcm" one by default.
  hook.modalAnswers.push_back([](TForm& editor) {
    ASSERT_TRUE(click(in<TButton>(editor, "browsefile")));
    EXPECT_EQ(in<TEdit>(editor, "fn").Text(), "/srv/new.bcm");
  });
  hook.fileAnswers.push_back("/srv/new.bcm");
  ASSERT_TRUE(click(the<TButton>(w, "addmodule")));
  ASSERT_EQ(hook.fileDialogs.size(), 1u);
  EXPECT_EQ(hook.fileDialogs[0].defaultExt, "bcm");
  EXPECT_EQ(hook.fileDialogs[0].filter,
            "Brindlecast configuration files (*.bcm)|*.bcm|All files|*.*");
  EXPECT_EQ(hook.fileDialogs[0].title, "Browse old configuration file or specify new");
  EXPECT_TRUE(hook.fileDialogs[0].save);
  EXPECT_EQ(hook.fileDialogs[0].options,
            ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist);
}

TEST_F(WindowTest, DeletingAModuleKeepsTheEditsOfTheModuleShownUnlessItIsTheOneDeleted) {
  writeIndex(dataFolder, {{"a.bcm", "/a/", "a"}, {"b.bcm", "/b/", "b"}});
  {
    auto window = start();
    TMainWindow& w = *window;
    w.overview->setSelected(w.modulesNode->Item(1));
    the<TEdit>(w, "move_dir").setText("/kept");
    showNode(w, "Server Modules");
    w.moduleinfo->setRow(3);
    ASSERT_TRUE(click(the<TButton>(w, "delmodule")));
    EXPECT_EQ(w.currentModule, w.moduleIndex.at(1)->config());
    ASSERT_TRUE(click(*w.save));
  }
  MConfig a;
  ASSERT_TRUE(a.load(data("a.bcm").c_str()));
  EXPECT_EQ(a.move_dir, "/kept");
  EXPECT_FALSE(testing_support::exists(data("b.bcm")));

  forms::testing::clearTerminated();
  auto window = start();
  TMainWindow& w = *window;
  w.overview->setSelected(w.modulesNode->Item(1));
  the<TEdit>(w, "move_dir").setText("/lost");
  showNode(w, "Server Modules");
  w.moduleinfo->setRow(2);
  ASSERT_TRUE(click(the<TButton>(w, "delmodule")));
  EXPECT_EQ(w.currentModule, nullptr);
  // Nothing is stored into the module that went.
  w.overview->setSelected(w.modulesNode->Item(0));
  EXPECT_EQ(w.currentModule, w.moduleIndex.at(0)->config());
  EXPECT_EQ(the<TEdit>(w, "move_dir").Text(), "");
  ASSERT_TRUE(click(*w.save));
  ASSERT_TRUE(a.load(data("a.bcm").c_str()));
  EXPECT_EQ(a.move_dir, "/kept");
  EXPECT_TRUE(hook.messages.empty());
}

}  // namespace
}  // namespace brindleset_test
