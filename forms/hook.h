// The questions the program asks a person, answered by a hook instead:
// tests set one to drive the program without a person or a display.
#ifndef FORMS_HOOK_H_
#define FORMS_HOOK_H_

#include "foundation/xstring.h"

class TForm;
class TOpenDialog;

namespace forms {

// Answers modal forms, message boxes, file dialogs and help calls while it
// is set. With no hook the real windows are shown; on a platform without
// a screen that is a fault and ends the program at once.
class Hook {
 public:
  virtual ~Hook() = default;
  // The form is shown (not modally) while the hook drives its controls;
  // ShowModal then returns the form's ModalResult (0 when nothing set it).
  virtual void answerModal(TForm& form) = 0;
  // Returns what Application->MessageBox returns (IDOK for an OK box).
  virtual int answerMessageBox(const XString& text, const XString& caption, int flags) = 0;
  // Returns true for a confirmed dialog, whose FileName the hook has set.
  virtual bool answerFileDialog(TOpenDialog& dialog) = 0;
  virtual void answerHelp(const XString& helpFile, int command, int data) = 0;
};

// Sets the hook (null for the real windows); the caller keeps ownership.
void setHook(Hook* hook);
Hook* hook();

}  // namespace forms

#endif  // FORMS_HOOK_H_
