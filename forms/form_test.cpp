#include "forms/form.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/qt_glue.h"
#include "forms/testing.h"

namespace {

using forms::testing::click;
using forms::testing::clickButton;
using forms::testing::closeByFrame;
using forms::testing::ScriptedHook;
using forms::testing::type;

// A dialog as the programs build them, with handler methods: ok gives 2,
// cancel 1, and with key preview Esc cancels.
struct Dialog {
  explicit Dialog(TComponent* owner) : form(new TForm(owner, "dialog")) {
    ok = new TButton(form, "ok");
    ok->SetBounds(10, 10, 80, 25);
    ok->OnClick = forms::handler(this, &Dialog::okClick);
    cancel = new TButton(form, "cancel");
    cancel->SetBounds(100, 10, 80, 25);
    cancel->OnClick = forms::handler(this, &Dialog::cancelClick);
    edit = new TEdit(form, "edit");
    edit->SetBounds(10, 50, 100, 25);
  }
  void okClick(TObject*) { form->setModalResult(2); }
  void cancelClick(TObject* sender) { form->setModalResult(1); }
  void formKeyPress(TObject*, char& key) {
    if (key == 27) cancelClick(form);
  }
  TForm* form;
  TButton* ok;
  TButton* cancel;
  TEdit* edit;
};

TEST(FormsModal, ResultIsWhatAHandlerSetAndZeroWhenClosedOtherwise) {
  ScriptedHook hook;
  TForm owner(nullptr, "owner");
  Dialog dialog(&owner);
  TForm& form = *dialog.form;

  hook.modalAnswers.push_back([&](TForm& shown) {
    EXPECT_EQ(&shown, &form);
    EXPECT_TRUE(form.Visible());
    type(*dialog.edit, "typed");
    click(*dialog.ok);
  });
  EXPECT_EQ(form.ShowModal(), 2);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(dialog.edit->Text(), "typed");

  form.setModalResult(5);  // a result from before does not carry over
  hook.modalAnswers.push_back([](TForm& shown) { closeByFrame(shown); });
  EXPECT_EQ(form.ShowModal(), 0);
  hook.modalAnswers.push_back([&](TForm&) { type(*dialog.edit, "\x1b"); });
  EXPECT_EQ(form.ShowModal(), 0);
  hook.modalAnswers.push_back([&](TForm&) { form.Close(); });
  EXPECT_EQ(form.ShowModal(), 0);
  EXPECT_EQ(form.ShowModal(), 0);  // no answer left: closed by its frame

  // Esc that a key handler takes, as a dialog with key preview does.
  form.KeyPreview = true;
  form.OnKeyPress = forms::handler(&dialog, &Dialog::formKeyPress);
  hook.modalAnswers.push_back([&](TForm&) { type(*dialog.edit, "\x1b"); });
  EXPECT_EQ(form.ShowModal(), 1);
  hook.modalAnswers.push_back(clickButton("ok"));
  EXPECT_EQ(form.ShowModal(), 2);

  EXPECT_EQ(hook.modalForms, std::vector<XString>(7, "dialog"));
  EXPECT_TRUE(hook.modalAnswers.empty());
}

TEST(FormsModal, EnterAndEscClickTheDefaultAndCancelButtons) {
  ScriptedHook hook;
  Dialog dialog(nullptr);
  std::unique_ptr<TForm> owned(dialog.form);
  dialog.ok->setDefault(true);
  dialog.cancel->setCancel(true);
  auto* memo = new TMemo(dialog.form, "memo");
  memo->SetBounds(10, 80, 100, 50);
  std::string keys;
  dialog.edit->OnKeyPress = [&](TObject*, char& key) { keys += key; };

  hook.modalAnswers.push_back([&](TForm&) { type(*dialog.edit, "a\r"); });
  EXPECT_EQ(dialog.form->ShowModal(), 2);
  hook.modalAnswers.push_back([&](TForm&) { type(*dialog.edit, "\x1b"); });
  EXPECT_EQ(dialog.form->ShowModal(), 1);
  EXPECT_EQ(keys, "a");  // the buttons took Enter and Esc first

  // A memo takes Enter itself; a focused button takes it for itself.
  hook.modalAnswers.push_back([&](TForm&) {
    type(*memo, "x\ry");
    type(*dialog.cancel, "\r");
  });
  EXPECT_EQ(dialog.form->ShowModal(), 1);
  EXPECT_EQ(memo->Text(), "x\r\ny");

  // A disabled default button is no default.
  dialog.ok->setEnabled(false);
  hook.modalAnswers.push_back([&](TForm&) { type(*dialog.edit, "\r"); });
  EXPECT_EQ(dialog.form->ShowModal(), 0);
}

TEST(FormsModal, ARealModalLoopEndsByResultOrFrame) {
  forms::glue::setHeadlessGuard(false);
  Dialog dialog(nullptr);
  std::unique_ptr<TForm> owned(dialog.form);
  QTimer::singleShot(0, [&] { click(*dialog.ok); });
  EXPECT_EQ(dialog.form->ShowModal(), 2);
  QTimer::singleShot(0, [&] { closeByFrame(*dialog.form); });
  EXPECT_EQ(dialog.form->ShowModal(), 0);
  forms::glue::setHeadlessGuard(true);
  EXPECT_FALSE(dialog.form->Visible());
}

TEST(FormsModalDeathTest, NoScreenAndNoHookEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TForm form(nullptr, "form");
  EXPECT_DEATH(form.ShowModal(), "no screen and no hook");
}

TEST(FormsForm, ShowPlacesRepaintsAndCloses) {
  TForm owner(nullptr, "owner");
  owner.setClientWidth(600);
  owner.setClientHeight(400);
  owner.widget()->move(50, 20);
  owner.Show();
  TForm* popup = new TForm(&owner, "popup");
  popup->setCaption("busy");
  popup->setBorderStyle(bsToolWindow);
  popup->setBorderIcons(0);
  popup->setFormStyle(fsStayOnTop);
  popup->setPosition(poDesktopCenter);
  popup->setClientWidth(420);
  popup->setClientHeight(81);
  auto* count = new TLabel(popup, "num");
  count->setCaption("0");
  EXPECT_FALSE(popup->Visible());
  popup->Show();
  popup->Repaint();
  count->setCaption("1");
  count->Repaint();
  EXPECT_TRUE(popup->Visible());
  EXPECT_EQ(popup->widget()->size(), QSize(420, 81));
  EXPECT_TRUE(popup->widget()->windowFlags() & Qt::WindowStaysOnTopHint);
  // Centred, give or take a window frame that only shows once mapped.
  auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 8; };
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_PRED2(near, popup->widget()->frameGeometry().center(), screen.center());
  popup->Close();
  EXPECT_FALSE(popup->Visible());

  TForm* child = new TForm(&owner, "child");
  child->setClientWidth(100);
  child->setClientHeight(50);
  child->setPosition(poOwnerFormCenter);
  child->Show();
  EXPECT_PRED2(near, child->widget()->frameGeometry().center(),
               owner.widget()->frameGeometry().center());

  // Owned forms go with their owner, unless they went first.
  delete child;
  EXPECT_EQ(owner.FindComponent("child"), nullptr);
  EXPECT_EQ(owner.FindComponent("POPUP"), popup);
  EXPECT_EQ(owner.FindComponent("num"), count);
}

}  // namespace
