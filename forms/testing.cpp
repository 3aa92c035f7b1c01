#include "forms/testing.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/lists.h"
#include "forms/qt_glue.h"
#include "forms/tree.h"

namespace forms::testing {

namespace {

void sendClick(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers) {
  QPointF global = widget->mapToGlobal(QPointF(at));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                    modifiers);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                      modifiers);
  QCoreApplication::sendEvent(widget, &release);
}

}  // namespace

ScriptedHook::ScriptedHook() : previous_(hook()) { setHook(this); }

ScriptedHook::~ScriptedHook() { setHook(previous_); }

void ScriptedHook::answerModal(TForm& form) {
  modalForms.push_back(form.Name());
  if (modalAnswers.empty()) {
    closeByFrame(form);
    return;
  }
  std::function<void(TForm&)> answer = std::move(modalAnswers.front());
  modalAnswers.pop_front();
  answer(form);
}

int ScriptedHook::answerMessageBox(const XString& text, const XString& caption, int flags) {
  messages.push_back(AskedMessage{text, caption, flags});
  if (messageAnswers.empty()) return IDOK;
  int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

bool ScriptedHook::answerFileDialog(TOpenDialog& dialog) {
  fileDialogs.push_back(AskedFile{dialog.isSaveDialog(), dialog.Title, dialog.Filter,
                                  dialog.DefaultExt, dialog.FileName, dialog.InitialDir,
                                  dialog.Options});
  if (fileAnswers.empty()) return false;
  XString answer = fileAnswers.front();
  fileAnswers.pop_front();
  if (answer.empty()) return false;
  dialog.FileName = answer;
  return true;
}

void ScriptedHook::answerHelp(const XString& helpFile, int command, int data) {
  helpCalls.push_back(AskedHelp{helpFile, command, data});
}

std::function<void(TForm&)> clickButton(const char* name) {
  XString wanted(name);
  return [wanted](TForm& form) {
    if (auto* button = find<TButton>(form, wanted)) click(*button);
  };
}

bool click(TControl& control) {
  QWidget* widget = control.widget();
  if (!widget->isVisible()) return false;
  QPoint at = widget->rect().center();
  bool radio = dynamic_cast<TRadioButton*>(&control) != nullptr;
  if (radio || dynamic_cast<TCheckBox*>(&control)) {
    QStyleOptionButton option;
    option.initFrom(widget);
    at =
        widget->style()
            ->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                             &option, widget)
            .center();
  }
  sendClick(widget, at, Qt::NoModifier);
  return true;
}

bool clickItem(TListBox& list, int index, bool ctrl) {
  auto* view = static_cast<QListWidget*>(list.widget());
  QListWidgetItem* item = view->item(index);
  if (!view->isVisible() || !item) return false;
  sendClick(view->viewport(), view->visualItemRect(item).center(),
            ctrl ? Qt::ControlModifier : Qt::NoModifier);
  return true;
}

namespace {

void typeInto(QWidget* widget, const XString& text) {
  for (unsigned int i = 0; i < text.length(); ++i) {
    QString typed(QChar(static_cast<unsigned char>(text[i])));
    int key = forms::glue::qtKeyFor(text[i]);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
    QCoreApplication::sendEvent(widget, &release);
  }
}

}  // namespace

bool clickNode(TTreeView& tree, TTreeNode* node) {
  auto* view = static_cast<QTreeWidget*>(tree.widget());
  // The nodes' flat order is the order the items are walked in.
  int flat = 0;
  while (flat < tree.Items()->Count() && tree.Items()->Item(flat) != node) ++flat;
  QTreeWidgetItemIterator it(view);
  for (int i = 0; i < flat && *it; ++i) ++it;
  QTreeWidgetItem* item = *it;
  if (!view->isVisible() || !item || flat == tree.Items()->Count()) return false;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  view->scrollToItem(item);
  sendClick(view->viewport(), view->visualItemRect(item).center(), Qt::NoModifier);
  return true;
}

void type(TControl& control, const XString& text) {
  QWidget* widget = control.widget();
  widget->setFocus(Qt::OtherFocusReason);
  typeInto(widget, text);
}

TControl* focused(TForm& form) {
  // The window is activated, and its first focus set, by queued events.
  QCoreApplication::processEvents();
  QWidget* widget = QApplication::focusWidget();
  // A window shown again may not be activated by every window system; its
  // focus is then the control that would get it.
  if (!widget || widget->window() != form.widget()) widget = form.widget()->focusWidget();
  return widget ? forms::glue::controlOf(widget) : nullptr;
}

void typeAtFocus(TForm& form, const XString& text) {
  TControl* control = focused(form);
  typeInto(control ? control->widget() : form.widget(), text);
}

void moveMouse(TControl& control) {
  QWidget* widget = control.widget();
  QPoint at = widget->rect().center();
  QWidget* under = widget->childAt(at);
  if (!under) under = widget;
  QPoint local = under->mapFrom(widget, at);
  QMouseEvent move(QEvent::MouseMove, QPointF(local), under->mapToGlobal(QPointF(local)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(under, &move);
}

void closeByFrame(TForm& form) { form.widget()->close(); }

void choose(TComboBox& combo, int index) {
  auto* box = static_cast<QComboBox*>(combo.widget());
  box->setCurrentIndex(index);
  emit box->activated(index);
}

void clearTerminated() { Application->terminated_ = false; }

}  // namespace forms::testing
