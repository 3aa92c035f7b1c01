// What tests of the programs with forms use: a hook that answers the
// questions a person would, and a person's mouse and keyboard, delivered
// through Qt's events to the real widgets. Tests run headless with
// QT_QPA_PLATFORM=offscreen.
#ifndef FORMS_TESTING_H_
#define FORMS_TESTING_H_

#include <deque>
#include <functional>
#include <vector>

#include "forms/component.h"
#include "forms/dialogs.h"
#include "forms/hook.h"

class TComboBox;
class TForm;
class TListBox;
class TTreeNode;
class TTreeView;

namespace forms::testing {

struct AskedMessage {
  XString text;
  XString caption;
  int flags;
};

struct AskedFile {
  bool save;
  XString title;
  XString filter;
  XString defaultExt;
  XString fileName;  // as preset
  XString initialDir;
  TOpenOptions options;
};

struct AskedHelp {
  XString helpFile;
  int command;
  int data;
};

// A hook that records every question and answers each from its queue. It
// is the hook while it lives; the one set before comes back after it.
class ScriptedHook : public Hook {
 public:
  ScriptedHook();
  ~ScriptedHook() override;
  ScriptedHook(const ScriptedHook&) = delete;
  ScriptedHook& operator=(const ScriptedHook&) = delete;

  // Each modal form takes the next answer, which drives the shown form
  // (fills its edits, clicks a button...); ShowModal then returns the
  // form's ModalResult. With none left the form is closed by its frame.
  std::deque<std::function<void(TForm&)>> modalAnswers;
  // Each message box takes the next result; with none left, IDOK.
  std::deque<int> messageAnswers;
  // Each file dialog takes the next: a path confirms it as the chosen
  // file, an empty text cancels. With none left the dialog is cancelled.
  std::deque<XString> fileAnswers;

  std::vector<XString> modalForms;  // the names of the forms shown modally
  std::vector<AskedMessage> messages;
  std::vector<AskedFile> fileDialogs;
  std::vector<AskedHelp> helpCalls;

  void answerModal(TForm& form) override;
  int answerMessageBox(const XString& text, const XString& caption, int flags) override;
  bool answerFileDialog(TOpenDialog& dialog) override;
  void answerHelp(const XString& helpFile, int command, int data) override;

 private:
  Hook* previous_;
};

// A modal answer that clicks the form's button of that name.
std::function<void(TForm&)> clickButton(const char* name);

// The component below `root` with that name and type; null when none.
template <class T>
T* find(const TComponent& root, const char* name) {
  return dynamic_cast<T*>(root.FindComponent(name));
}

// A left click on the control (check and radio boxes: on the box). False
// when the control is not on the screen, where no person could click it.
bool click(TControl& control);
// A click on a list item; with `ctrl` it adds to or takes from a multiple
// selection.
bool clickItem(TListBox& list, int index, bool ctrl = false);
// A click on a tree node, its parents expanded first as a person would.
bool clickNode(TTreeView& tree, TTreeNode* node);
// The control takes the focus and each character is typed as a key press
// ('\r' Enter, 27 Esc, 8 Backspace).
void type(TControl& control, const XString& text);
// The control that has the keyboard focus on a form that has come up, once
// the window system has activated it; null when none has.
TControl* focused(TForm& form);
// Each character typed where the form's focus is, as a person types on a
// form that has just come up.
void typeAtFocus(TForm& form, const XString& text);
// A mouse move onto the control's centre, to whatever lies there.
void moveMouse(TControl& control);
void closeByFrame(TForm& form);
// Chooses an item as a person does in the drop-down list.
void choose(TComboBox& combo, int index);
// Forgets an Application->Terminate, so that one test binary can end the
// program more than once.
void clearTerminated();

}  // namespace forms::testing

#endif  // FORMS_TESTING_H_
