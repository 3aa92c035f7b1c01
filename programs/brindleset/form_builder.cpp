#include "programs/brindleset/form_builder.h"

namespace brindleset {

namespace {
// A label's text sits on the middle of the edit beside it.
constexpr int kLabelDrop = 4;
constexpr int kLabelHeight = 15;
}  // namespace

TLabel* addLabel(TWinControl* parent, const char* caption, int left, int top, int width) {
  auto* label = new TLabel(parent, "");
  label->setCaption(caption);
  label->SetBounds(left, top + kLabelDrop, width, kLabelHeight);
  return label;
}

TLabel* addNamedLabel(TWinControl* parent, const char* name, int left, int top, int width) {
  auto* label = new TLabel(parent, name);
  label->SetBounds(left, top + kLabelDrop, width, kLabelHeight);
  return label;
}

TEdit* addEdit(TWinControl* parent, const char* name, int left, int top, int width) {
  auto* edit = new TEdit(parent, name);
  edit->SetBounds(left, top, width, kEditHeight);
  return edit;
}

TMemo* addMemo(TWinControl* parent, const char* name, int left, int top, int width, int height) {
  auto* memo = new TMemo(parent, name);
  memo->SetBounds(left, top, width, height);
  memo->setFixedPitch(true);
  return memo;
}

TCheckBox* addCheck(TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width) {
  auto* check = new TCheckBox(parent, name);
  check->setCaption(caption);
  check->SetBounds(left, top, width, kCheckHeight);
  return check;
}

TRadioButton* addRadio(TWinControl* parent, const char* name, const char* caption, int left,
                       int top, int width) {
  auto* radio = new TRadioButton(parent, name);
  radio->setCaption(caption);
  radio->SetBounds(left, top, width, kCheckHeight);
  return radio;
}

TButton* addButton(TWinControl* parent, const char* name, const char* caption, int left, int top,
                   int width, int height) {
  auto* button = new TButton(parent, name);
  button->setCaption(caption);
  button->SetBounds(left, top, width, height);
  return button;
}

TGroupBox* addGroup(TWinControl* parent, const char* name, const char* caption, int left, int top,
                    int width, int height) {
  auto* group = new TGroupBox(parent, name);
  group->setCaption(caption);
  group->SetBounds(left, top, width, height);
  return group;
}

TPanel* addPanel(TWinControl* parent, const char* name, int left, int top, int width, int height) {
  auto* panel = new TPanel(parent, name);
  panel->SetBounds(left, top, width, height);
  return panel;
}

}  // namespace brindleset
