// The owner-and-rights dialog: a user, a group and three rights digits as
// nine check boxes.
#ifndef PROGRAMS_BRINDLESET_CHMOD_POPUP_H_
#define PROGRAMS_BRINDLESET_CHMOD_POPUP_H_

#include "forms/forms.h"

// "chmod settings": the edits `username` and `group` and the boxes read,
// write and execute for the owner (our, ouw, oux), the group (ogr, ogw,
// ogx) and others (or, ow, ox). "ok" gives the result 2, "cancel" (or Esc)
// 1, and closing it by its frame 0.
class TChmod_popup : public TForm {  // NOLINT: the dialog's own name
 public:
  explicit TChmod_popup(TComponent* owner);

  // Ticks the boxes of a three-character rights text, row by row: bit 4
  // read, 2 write, 1 execute of the character less '0', so a character
  // above '7' ticks all three of its row and one below '0' none. Any other
  // length leaves every box clear.
  void setPermissionString(const XString& permissions);
  // Always three digits '0' to '7': owner, group, others.
  XString permissionString() const;

  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);

  TEdit* username = nullptr;
  TEdit* group = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;

 private:
  // By row (owner, group, others), then read, write, execute.
  TCheckBox* boxes_[3][3] = {};
};

extern TChmod_popup* Chmod_popup;

#endif  // PROGRAMS_BRINDLESET_CHMOD_POPUP_H_
