#include "programs/brindleset/hover_help.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using brindleset::helpTextOf;
using forms::testing::moveMouse;

TEST_F(WindowTest, EveryControlOfTheHelpTableIsOnTheWindowAndHearsTheMouse) {
  auto window = start();
  ASSERT_EQ(brindleset::helpRowCount(), 87);
  std::set<std::string> named;
  for (int i = 0; i < brindleset::helpRowCount(); ++i) {
    const brindleset::HelpRow& row = brindleset::helpRow(i);
    ASSERT_NE(row.controls[0], nullptr) << "row " << i + 1;
    ASSERT_NE(row.text, nullptr) << "row " << i + 1;
    for (const char* name : row.controls) {
      if (!name) break;
      // A name in two rows would never show the second row's text.
      EXPECT_TRUE(named.insert(name).second) << name << " is named twice";
      auto* control = forms::testing::find<TControl>(*window, name);
      ASSERT_NE(control, nullptr) << "no control " << name;
      EXPECT_EQ(control->Name(), name) << "another letter case";
      EXPECT_TRUE(static_cast<bool>(control->OnMouseMove)) << name << " does not hear the mouse";
    }
  }
}

TEST_F(WindowTest, HoverHelpShowsTheTextOfTheControlUnderTheMouse) {
  auto window = start();
  const XString welcome = brindleset::welcomeText();
  EXPECT_EQ(window->help->Text(), welcome);

  // Which bound control heard each move that did not land on a control of
  // the table: the memo must stay, or come back, for the right reason.
  std::vector<const TObject*> heard;
  auto watch = [&heard](TControl& control) {
    TMouseMoveEvent bound = control.OnMouseMove;
    ASSERT_TRUE(bound) << control.Name().c_str();
    control.OnMouseMove = [&heard, bound](TObject* sender, TShiftState shift, int x, int y) {
      heard.push_back(sender);
      bound(sender, shift, x, y);
    };
  };
  watch(*window->panels_general);
  watch(*window->panels_ndlspecial);
  watch(*window->control);

  moveMouse(the<TEdit>(*window, "vfs_maxentrys"));
  EXPECT_EQ(window->help->Text(),
            "The maximum entrys Raiden can handle in its vfs file. Because this limit is "
            "sometimes raised, you can enter the actual value here. If you don't know it, just "
            "leave the deafult value of 8192. Entering too much can cause Raiden to stop workin "
            "properly.");
  moveMouse(*window->panels_general);
  ASSERT_EQ(heard, std::vector<const TObject*>{window->panels_general});
  EXPECT_EQ(window->help->Text(), welcome);

  // The control panel holds the two buttons of the table but has no row.
  moveMouse(*window->save);
  EXPECT_EQ(window->help->Text(), "Close and save.");
  moveMouse(*window->control);
  ASSERT_EQ(heard.back(), window->control);
  EXPECT_EQ(window->help->Text(), "Close and save.");
  moveMouse(*window->cancel);
  EXPECT_EQ(window->help->Text(), "Close without saving.");
  // Over a control without a handler of its own nothing changes either.
  moveMouse(*window->Button1);
  EXPECT_EQ(window->help->Text(), "Close without saving.");

  // One text for the three switches, and it speaks of the board.
  showNode(*window, "Message Board");
  moveMouse(the<TCheckBox>(*window, "mb_en"));
  const XString boardSwitch = window->help->Text();
  EXPECT_GE(boardSwitch.find("the board"), 0);
  showNode(*window, "Newdir List");
  window->displayHelp(window.get(), 0, 0, 0);  // the window's own background
  EXPECT_EQ(window->help->Text(), welcome);
  moveMouse(the<TCheckBox>(*window, "ndl_en"));
  EXPECT_EQ(window->help->Text(), boardSwitch);

  // The special lists' panel brings no greeting back.
  const XString nameLength(helpTextOf("mb_unlen"));
  showNode(*window, "Special Lists");
  moveMouse(the<TEdit>(*window, "ndlspecial_unlen"));
  EXPECT_EQ(window->help->Text(), nameLength);
  moveMouse(*window->panels_ndlspecial);
  ASSERT_EQ(heard.back(), window->panels_ndlspecial);
  EXPECT_EQ(window->help->Text(), nameLength);
  showNode(*window, "General Settings");
  moveMouse(*window->panels_general);
  EXPECT_EQ(window->help->Text(), welcome);

  // The multi-CD name templates empty the memo.
  showNode(*window, "default");
  showPage(*window, "modules_sfv");
  moveMouse(the<TEdit>(*window, "sfvm_pat"));
  EXPECT_EQ(window->help->Text(), XString(helpTextOf("tinfo_format")));
  EXPECT_NE(window->help->Text(), "");
  moveMouse(the<TEdit>(*window, "sfvm_patmul"));
  EXPECT_EQ(window->help->Text(), "");
  showPage(*window, "modules_mp3");
  moveMouse(the<TCheckBox>(*window, "tinfo_merge"));
  EXPECT_EQ(window->help->Text(),
            "If enabled, the completed progress bar will be replaced by this pattern.");
  moveMouse(the<TEdit>(*window, "tinfo_formatmul"));
  EXPECT_EQ(window->help->Text(), "");
}

}  // namespace
}  // namespace brindleset_test
