#include "forms/controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>
#include <string>

#include "forms/application.h"
#include "forms/convert.h"
#include "forms/form.h"
#include "forms/grid.h"
#include "forms/lists.h"
#include "forms/pages.h"
#include "forms/testing.h"
#include "forms/tree.h"

namespace {

using forms::testing::click;
using forms::testing::ScriptedHook;
using forms::testing::type;

// All 256 bytes; a memo's texts leave out its line ends.
XString everyByte(bool withLineEnds = true) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    if (withLineEnds || (b != '\r' && b != '\n')) bytes += static_cast<char>(b);
  }
  return XString(bytes);
}

TEST(FormsText, EveryByteSurvivesEveryControl) {
  const XString bytes = everyByte();
  TForm form(nullptr, "form");
  form.setCaption(bytes);
  EXPECT_EQ(form.Caption(), bytes);
  form.setCaption("a [*] b");
  EXPECT_EQ(form.Caption(), "a [*] b");

  auto* edit = new TEdit(&form, "edit");
  edit->setText(bytes);
  EXPECT_EQ(edit->Text(), bytes);
  auto* memo = new TMemo(&form, "memo");
  memo->setText(everyByte(false));
  EXPECT_EQ(memo->Text(), everyByte(false));
  auto* label = new TLabel(&form, "label");
  label->setCaption(bytes);
  EXPECT_EQ(label->Caption(), bytes);
  auto* panel = new TPanel(&form, "panel");
  panel->setCaption(bytes);
  EXPECT_EQ(panel->Caption(), bytes);
  auto* box = new TGroupBox(&form, "box");
  box->setCaption(bytes);
  EXPECT_EQ(box->Caption(), bytes);
  auto* button = new TButton(&form, "button");
  button->setCaption(bytes);
  EXPECT_EQ(button->Caption(), bytes);
  auto* check = new TCheckBox(&form, "check");
  check->setCaption(bytes);
  EXPECT_EQ(check->Caption(), bytes);
  auto* radio = new TRadioButton(&form, "radio");
  radio->setCaption(bytes);
  EXPECT_EQ(radio->Caption(), bytes);
  auto* list = new TListBox(&form, "list");
  list->Items()->Add(bytes);
  EXPECT_EQ(list->Items()->Strings(0), bytes);
  auto* combo = new TComboBox(&form, "combo");
  combo->Items()->Add(bytes);
  EXPECT_EQ(combo->Items()->Strings(0), bytes);
  auto* grid = new TStringGrid(&form, "grid");
  grid->setColCount(1);
  grid->setRowCount(2);
  grid->setCells(0, 0, bytes);
  grid->setCells(0, 1, bytes);
  EXPECT_EQ(grid->Cells(0, 0), bytes);
  EXPECT_EQ(grid->Cells(0, 1), bytes);
  auto* tree = new TTreeView(&form, "tree");
  EXPECT_EQ(tree->Items()->AddChild(nullptr, bytes)->Text(), bytes);
  auto* pages = new TPageControl(&form, "pages");
  auto* page = new TTabSheet(pages, "page");
  page->setCaption(bytes);
  EXPECT_EQ(page->Caption(), bytes);

  // Markup stays text.
  label->setCaption("<b>bold</b> &amp;");
  EXPECT_EQ(static_cast<QLabel*>(label->widget())->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->Caption(), "<b>bold</b> &amp;");
}

TEST(FormsText, HintsArePlainTextShownForTheHintPause) {
  Application->setHintHidePause(5000);
  TForm form(nullptr, "form");
  form.Show();
  auto* label = new TLabel(&form, "label");
  label->setHint("<b>a</b>  &\nb");
  QPoint at = label->widget()->rect().center();
  QHelpEvent ask(QEvent::ToolTip, at, label->widget()->mapToGlobal(at));
  QCoreApplication::sendEvent(label->widget(), &ask);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(),
            QStringLiteral("<p style='white-space:pre'>&lt;b&gt;a&lt;/b&gt;  &amp;<br>b</p>"));
  auto* plain = new TLabel(&form, "plain");
  QHelpEvent none(QEvent::ToolTip, at, plain->widget()->mapToGlobal(at));
  QCoreApplication::sendEvent(plain->widget(), &none);
  // The old tip fades out.
  QDeadlineTimer deadline(5000);
  while (QToolTip::isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents();
  EXPECT_FALSE(QToolTip::isVisible());
}

TEST(FormsMemo, TextIsItsLinesJoinedByCrLf) {
  TForm form(nullptr, "form");
  auto* memo = new TMemo(&form, "memo");
  memo->setText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree\r\nfour");
  TStrings* lines = memo->Lines();
  EXPECT_EQ(lines->Count(), 4);
  EXPECT_EQ(lines->Strings(1), "two");
  EXPECT_EQ(lines->Strings(4), "");
  EXPECT_EQ(lines->Strings(-1), "");

  // A line end at the end is kept but adds no line; empty lines count.
  memo->setText("a\r\n\r\nb\r\n");
  EXPECT_EQ(memo->Text(), "a\r\n\r\nb\r\n");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Strings(1), "");
  EXPECT_EQ(lines->Add("c"), 3);
  EXPECT_EQ(memo->Text(), "a\r\n\r\nb\r\nc\r\n");
  lines->Delete(1);
  lines->Delete(7);
  EXPECT_EQ(memo->Text(), "a\r\nb\r\nc\r\n");

  // No-break spaces and the block characters of templates stay bytes.
  memo->setText("\xa0\xdb\xdc\xdf end");
  EXPECT_EQ(memo->Text(), "\xa0\xdb\xdc\xdf end");
  EXPECT_EQ(lines->Add("x"), 1);
  EXPECT_EQ(memo->Text(), "\xa0\xdb\xdc\xdf end\r\nx");
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
  lines->Add("first");
  EXPECT_EQ(memo->Text(), "first\r\n");
}

TEST(FormsText, FixedPitchLinesUpColumnsInTheSameSize) {
  TForm form(nullptr, "form");
  auto* memo = new TMemo(&form, "memo");
  memo->setFixedPitch(true);
  QFontMetrics fixed(memo->widget()->font());
  EXPECT_EQ(fixed.horizontalAdvance(QStringLiteral("iiii")),
            fixed.horizontalAdvance(QStringLiteral("MMMM")));
  EXPECT_EQ(memo->widget()->font().pointSizeF(), QApplication::font().pointSizeF());
  memo->setFixedPitch(false);
  QFontMetrics plain(memo->widget()->font());
  EXPECT_LT(plain.horizontalAdvance(QStringLiteral("iiii")),
            plain.horizontalAdvance(QStringLiteral("MMMM")));
}

TEST(FormsEdit, MaxLengthLimitsTypingOnly) {
  TForm form(nullptr, "form");
  form.Show();
  auto* edit = new TEdit(&form, "edit");
  edit->setMaxLength(3);
  edit->setText("123456");
  EXPECT_EQ(edit->Text(), "123456");
  type(*edit, "7");
  EXPECT_EQ(edit->Text(), "123456");
  edit->setText("12");
  type(*edit, "345");
  EXPECT_EQ(edit->Text(), "123");
  type(*edit, "\b4");
  EXPECT_EQ(edit->Text(), "124");
  static_cast<QLineEdit*>(edit->widget())->selectAll();
  type(*edit, "x");
  EXPECT_EQ(edit->Text(), "x");

  // Qt would cut a set text at 32767 characters.
  XString longText(std::string(40000, 'p'));
  edit->setText(longText);
  EXPECT_EQ(edit->Text(), longText);
}

TEST(FormsKeys, HandlersSeeTypedCharactersAndMaySwallowOrReplaceThem) {
  TForm form(nullptr, "form");
  form.Show();
  auto* edit = new TEdit(&form, "edit");
  std::string seen;
  form.OnKeyPress = [&](TObject* sender, char& key) {
    EXPECT_EQ(sender, &form);
    seen += '[';
    seen += key;
    if (key == '!') key = 0;
  };
  edit->OnKeyPress = [&](TObject* sender, char& key) {
    EXPECT_EQ(sender, edit);
    seen += key;
    if (key == '/' || key == '<') key = 0;
    if (key == 'a') key = 'b';
  };
  // Without KeyPreview the form hears only what is typed on itself.
  type(*edit, "x/");
  EXPECT_EQ(seen, "x/");
  EXPECT_EQ(edit->Text(), "x");
  seen.clear();
  form.KeyPreview = true;
  type(*edit, "a!<\\:\t");
  EXPECT_EQ(seen, "[aa[![<<[\\\\[::");
  EXPECT_EQ(edit->Text(), "xb\\:");

  // Pasted text is not typed, and the shortcut that pastes is no character.
  QApplication::clipboard()->setText(QStringLiteral("/<!"));
  QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
  QCoreApplication::sendEvent(edit->widget(), &paste);
  EXPECT_EQ(edit->Text(), "xb\\:/<!");
  EXPECT_EQ(seen, "[aa[![<<[\\\\[::");
}

TEST(FormsChoices, RadioButtonsGroupByParentAndCheckedFiresOnClick) {
  TForm form(nullptr, "form");
  form.Show();
  auto* panel = new TPanel(&form, "panel");
  auto* box = new TGroupBox(&form, "box");
  panel->SetBounds(0, 0, 200, 100);
  box->SetBounds(0, 100, 200, 100);
  std::string clicks;
  auto radio = [&](TWinControl* parent, const char* name, int top) {
    auto* button = new TRadioButton(parent, name);
    button->SetBounds(10, top, 150, 20);
    button->OnClick = [&clicks, button](TObject* sender) {
      EXPECT_EQ(sender, button);
      clicks += button->Name().str() + " ";
    };
    return button;
  };
  TRadioButton* a0 = radio(panel, "a0", 10);
  TRadioButton* a1 = radio(panel, "a1", 40);
  TRadioButton* b0 = radio(box, "b0", 20);
  TRadioButton* b1 = radio(box, "b1", 50);

  a0->setChecked(true);
  b1->setChecked(true);
  a1->setChecked(true);
  EXPECT_EQ(clicks, "a0 b1 a1 ");
  EXPECT_FALSE(a0->Checked());
  EXPECT_TRUE(a1->Checked());
  EXPECT_TRUE(b1->Checked());

  // The program may leave a group with none checked; that fires nothing.
  a1->setChecked(false);
  EXPECT_FALSE(a0->Checked() || a1->Checked());
  EXPECT_EQ(clicks, "a0 b1 a1 ");

  clicks.clear();
  ASSERT_TRUE(click(*b0));
  EXPECT_TRUE(b0->Checked());
  EXPECT_FALSE(b1->Checked());
  ASSERT_TRUE(click(*b0));  // already checked: stays so, fires nothing
  EXPECT_TRUE(b0->Checked());
  EXPECT_EQ(clicks, "b0 ");

  auto* check = new TCheckBox(&form, "check");
  check->SetBounds(250, 10, 100, 20);
  int checkClicks = 0;
  check->OnClick = [&](TObject*) { ++checkClicks; };
  check->setChecked(true);
  check->setChecked(true);
  EXPECT_EQ(checkClicks, 1);
  ASSERT_TRUE(click(*check));
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(checkClicks, 2);
  check->setEnabled(false);
  click(*check);
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(checkClicks, 2);
  EXPECT_FALSE(check->Enabled());
}

TEST(FormsMouse, MovesBelongToTheControlUnderTheMouse) {
  TForm form(nullptr, "form");
  form.setClientWidth(400);
  form.setClientHeight(300);
  form.Show();
  std::string moves;
  auto log = [&moves](const char* what) {
    return [&moves, what](TObject*, TShiftState, int x, int y) {
      moves += what;
      moves += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
    };
  };
  form.OnMouseMove = log("form");
  auto* panel = new TPanel(&form, "panel");
  panel->SetBounds(0, 0, 150, 200);
  panel->OnMouseMove = log("panel");
  auto* label = new TLabel(panel, "label");  // no handler
  label->SetBounds(10, 10, 40, 20);
  auto* edit = new TEdit(panel, "edit");
  edit->SetBounds(10, 40, 40, 20);
  edit->OnMouseMove = log("edit");
  auto* greyed = new TEdit(panel, "greyed");
  greyed->SetBounds(10, 70, 40, 20);
  greyed->OnMouseMove = log("greyed");
  greyed->setEnabled(false);
  auto* list = new TListBox(&form, "list");
  list->SetBounds(250, 0, 100, 100);
  list->Items()->Add("item");
  list->OnMouseMove = log("list");

  forms::testing::moveMouse(*label);
  EXPECT_EQ(moves, "");
  forms::testing::moveMouse(*edit);
  forms::testing::moveMouse(*greyed);  // a disabled control's moves are its parent's
  forms::testing::moveMouse(*list);    // lands on the list's viewport
  forms::testing::moveMouse(*panel);
  forms::testing::moveMouse(form);
  EXPECT_EQ(moves, "edit(19,9) panel(29,79) list(49,49) panel(74,99) form(199,149) ");
}

TEST(FormsErrors, AnExceptionThatEscapesAHandlerIsReportedAndTheProgramGoesOn) {
  ScriptedHook hook;
  Application->setTitle("Brindle test");
  TForm form(nullptr, "form");
  form.Show();
  auto* button = new TButton(&form, "button");
  int clicks = 0;
  button->OnClick = [&](TObject*) {
    ++clicks;
    StrToInt("");
  };
  ASSERT_TRUE(click(*button));
  ASSERT_TRUE(click(*button));
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0].text, "'' is not a valid integer value");
  EXPECT_EQ(hook.messages[0].caption, "Brindle test");
  EXPECT_EQ(hook.messages[0].flags, MB_OK | MB_ICONSTOP);

  // A key handler that fails swallows its key.
  auto* edit = new TEdit(&form, "edit");
  edit->OnKeyPress = [](TObject*, char& key) {
    if (key == 'x') throw Exception("no x");
  };
  type(*edit, "axb");
  EXPECT_EQ(edit->Text(), "ab");
  ASSERT_EQ(hook.messages.size(), 3u);
  EXPECT_EQ(hook.messages[2].text, "no x");

  // A handler that the program itself sets off throws to the program, as
  // a direct call would.
  auto* check = new TCheckBox(&form, "check");
  check->OnClick = [](TObject*) { throw Exception("from code"); };
  EXPECT_THROW(check->setChecked(true), Exception);
  EXPECT_THROW(button->Click(), EConvertError);
  EXPECT_EQ(hook.messages.size(), 3u);
}

}  // namespace
