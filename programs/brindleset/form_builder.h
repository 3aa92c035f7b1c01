// Helpers that place the main window's controls: one call per control, in
// the sizes that every panel shares.
#ifndef PROGRAMS_BRINDLESET_FORM_BUILDER_H_
#define PROGRAMS_BRINDLESET_FORM_BUILDER_H_

#include "forms/forms.h"

namespace brindleset {

constexpr int kEditHeight = 22;
constexpr int kCheckHeight = 20;
constexpr int kButtonHeight = 24;
// From one row of edits to the next.
constexpr int kRowStep = 27;

// A caption before an edit on the same row: placed `top` as the edit is.
TLabel* addLabel(TWinControl* parent, const char* caption, int left, int top, int width);
TLabel* addNamedLabel(TWinControl* parent, const char* name, int left, int top, int width);
TEdit* addEdit(TWinControl* parent, const char* name, int left, int top, int width);
// Memos and edits of templates show fixed-pitch text, so rows line up.
TMemo* addMemo(TWinControl* parent, const char* name, int left, int top, int width, int height);
TCheckBox* addCheck(TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width);
TRadioButton* addRadio(TWinControl* parent, const char* name, const char* caption, int left,
                       int top, int width);
TButton* addButton(TWinControl* parent, const char* name, const char* caption, int left, int top,
                   int width, int height = kButtonHeight);
TGroupBox* addGroup(TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width, int height);
TPanel* addPanel(TWinControl* parent, const char* name, int left, int top, int width, int height);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_FORM_BUILDER_H_
