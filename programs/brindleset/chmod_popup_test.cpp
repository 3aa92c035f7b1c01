#include "programs/brindleset/chmod_popup.h"

#include <gtest/gtest.h>

#include "programs/brindleset/message_boxes.h"
#include "programs/brindleset/test_window.h"

namespace brindleset_test {
namespace {

using forms::testing::click;
using forms::testing::closeByFrame;
using forms::testing::type;

const char* const kBoxes[] = {"our", "ouw", "oux", "ogr", "ogw", "ogx", "or", "ow", "ox"};

// The nine boxes as '1' (ticked) and '0', owner row first.
std::string ticks(TForm& popup) {
  std::string marks;
  for (const char* box : kBoxes) marks += in<TCheckBox>(popup, box).Checked() ? '1' : '0';
  return marks;
}

TEST_F(WindowTest, TheOwnerDialogTurnsRightsIntoNineBoxesAndBack) {
  auto window = start();
  TMainWindow& w = *window;
  TChmod_popup popup(&w);
  const struct {
    const char* rights;
    const char* boxes;
    const char* back;
  } cases[] = {
      {"764", "111110100", "764"},
      {"9a0", "111111000", "770"},
      {"75", "000000000", "000"},      // not three characters: nothing ticked
      {"7 \x7F", "111000111", "707"},  // below '0' ticks none; DEL less '0' is above 7
      {"\xB0\xFF"
       "1",
       "000000001", "001"},  // bytes from 0xB0 on less '0' are negative
  };
  for (const auto& c : cases) {
    for (const char* box : kBoxes) in<TCheckBox>(popup, box).setChecked(true);
    popup.setPermissionString(c.rights);
    EXPECT_EQ(ticks(popup), c.boxes) << c.rights;
    EXPECT_EQ(popup.permissionString(), c.back) << c.rights;
  }
  // Each box stands for its own bit.
  for (int i = 0; i < 9; ++i) {
    popup.setPermissionString("000");
    in<TCheckBox>(popup, kBoxes[i]).setChecked(true);
    XString expected("000");
    expected[i / 3] = static_cast<char>('0' + (4 >> (i % 3)));
    EXPECT_EQ(popup.permissionString(), expected) << kBoxes[i];
  }
}

TEST_F(WindowTest, EachChangeButtonEditsItsOwnTripleAndOnlyOkWritesItBack) {
  writeIndex(dataFolder, {});
  auto window = start();
  TMainWindow& w = *window;
  const struct {
    const char* node;
    const char* button;
    const char* user;
    const char* group;
    const char* allow;
  } owners[] = {
      {"Tunelacer", "link_change", "link_username", "link_group", "link_allow"},
      {"Dawnroll Dir", "nd_changetod", "nd_usernametod", "nd_grouptod", "nd_allowtod"},
      {"Dawnroll Dir", "nd_changepast", "nd_usernamepast", "nd_grouppast", "nd_allowpast"},
      {"default", "chmod_change", "chmod_username", "chmod_group", "chmod_allow"},
  };
  int n = 0;
  for (const auto& owner : owners) {
    showNode(w, owner.node);
    if (std::string(owner.node) == "default") showPage(w, "modules_general");
    the<TLabel>(w, owner.user).setCaption(XString("user") + XString(n));
    the<TLabel>(w, owner.group).setCaption("staff");
    the<TLabel>(w, owner.allow).setCaption("75");
    // The dialog opens on the triple; a cancel, Esc or the frame changes
    // nothing, whatever was typed.
    auto edit = [n](TForm& popup) {
      EXPECT_EQ(popup.Caption(), "chmod settings");
      EXPECT_EQ(in<TEdit>(popup, "username").Text(), XString("user") + XString(n));
      EXPECT_EQ(in<TEdit>(popup, "group").Text(), "staff");
      EXPECT_EQ(ticks(popup), "000000000");
      in<TEdit>(popup, "username").setText("someone");
      in<TCheckBox>(popup, "ogw").setChecked(true);
    };
    hook.modalAnswers.push_back([&](TForm& popup) {
      edit(popup);
      ASSERT_TRUE(click(in<TButton>(popup, "Button2")));
    });
    hook.modalAnswers.push_back([&](TForm& popup) {
      edit(popup);
      type(in<TEdit>(popup, "group"), "\x1b");
    });
    hook.modalAnswers.push_back([&](TForm& popup) {
      edit(popup);
      closeByFrame(popup);
    });
    // Ok (here by Enter) writes all three, the rights as three digits.
    hook.modalAnswers.push_back([&](TForm& popup) {
      edit(popup);
      in<TEdit>(popup, "group").setText("");
      ASSERT_TRUE(click(in<TCheckBox>(popup, "our")));
      ASSERT_TRUE(click(in<TCheckBox>(popup, "ox")));
      type(in<TEdit>(popup, "username"), "!\r");
    });
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(click(the<TButton>(w, owner.button))) << owner.button;
      if (i < 3) {
        EXPECT_EQ(the<TLabel>(w, owner.user).Caption(), XString("user") + XString(n));
        EXPECT_EQ(the<TLabel>(w, owner.group).Caption(), "staff");
        EXPECT_EQ(the<TLabel>(w, owner.allow).Caption(), "75");
      }
    }
    EXPECT_EQ(the<TLabel>(w, owner.user).Caption(), "someone!") << owner.button;
    EXPECT_EQ(the<TLabel>(w, owner.group).Caption(), "") << owner.button;
    EXPECT_EQ(the<TLabel>(w, owner.allow).Caption(), "421") << owner.button;
    ++n;
  }
  EXPECT_EQ(hook.modalForms.size(), 16u);

  // The labels reach the settings on save.
  ASSERT_TRUE(click(*w.save));
  GConfig g;
  ASSERT_TRUE(g.load(data("BCconfig.bcc").c_str()));
  EXPECT_EQ(g.past.username, "someone!");
  EXPECT_EQ(g.past.allow, "421");
  MConfig m;
  ASSERT_TRUE(m.load(data("default.bcm").c_str()));
  EXPECT_EQ(m.chmod.username, "someone!");
  EXPECT_EQ(m.chmod.group, "");
  EXPECT_EQ(m.chmod.allow, "421");
}

// Enter answers where a form comes up as its Enter key is meant to: the
// question "No", the information and the owner dialog "ok", the module
// editor its check of the four boxes.
TEST_F(WindowTest, EveryModalFormComesUpOnTheControlWhoseAnswerEnterGives) {
  writeIndex(dataFolder, {});
  auto window = start();
  TMainWindow& w = *window;
  using forms::testing::focused;
  using forms::testing::typeAtFocus;
  const struct {
    const char* form;
    const char* focus;
  } expected[] = {{"YesNoBox", "btn_no"},
                  {"YesNoBox", "btn_no"},
                  {"MBox", "Button1"},
                  {"Chmod_popup", "username"},
                  {"ModuleEditor", "fn"}};
  std::vector<std::string> seen;
  auto at = [&](const char* keys) {
    return [&seen, keys](TForm& form) {
      TControl* control = focused(form);
      seen.push_back(form.Name().str() + ":" + (control ? control->Name().str() : "none"));
      typeAtFocus(form, keys);
    };
  };
  TYesNoBox question(&w, "Really?");
  EXPECT_EQ(question.Caption(), "Attention!");
  EXPECT_FALSE(question.Label1->Visible());
  hook.modalAnswers.push_back(at("\r"));
  hook.modalAnswers.push_back(at("\x1b"));
  EXPECT_EQ(question.ShowModal(), 2);
  EXPECT_EQ(question.ShowModal(), 2);
  TMBox info(&w, "The file has been deleted.");
  EXPECT_EQ(info.Caption(), "Info");
  hook.modalAnswers.push_back(at("\r"));
  EXPECT_EQ(info.ShowModal(), 1);

  showNode(w, "Dawnroll Dir");
  hook.modalAnswers.push_back(at("x\r"));
  ASSERT_TRUE(click(the<TButton>(w, "nd_changetod")));
  EXPECT_EQ(the<TLabel>(w, "nd_usernametod").Caption(), "Brindlecastx");

  showNode(w, "Server Modules");
  hook.modalAnswers.push_back(at("new.bcm\r"));
  ASSERT_TRUE(click(the<TButton>(w, "addmodule")));
  ASSERT_EQ(hook.messages.size(), 1u);
  EXPECT_EQ(hook.messages[0].text, "Please fill all the Boxes.");
  EXPECT_EQ(w.moduleIndex.count, 1);

  std::vector<std::string> wanted;
  for (const auto& e : expected) wanted.push_back(std::string(e.form) + ":" + e.focus);
  EXPECT_EQ(seen, wanted);
}

}  // namespace
}  // namespace brindleset_test
