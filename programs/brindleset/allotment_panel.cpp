#include "programs/brindleset/allotment_panel.h"

#include <string_view>

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"
#include "serverfiles/userfile.h"

namespace brindleset {

namespace {

constexpr int kMargin = 8;
constexpr int kInner = 600 - 2 * kMargin;
constexpr int kCaptionLeft = 12;
constexpr int kEditLeft = 80;
constexpr int kChoiceLeft = 290;  // the right column: when, mode, credits
constexpr int kChoiceEditLeft = kChoiceLeft + 55;
constexpr int kBoxHeight = 200;

XString textOf(std::string_view view) {
  return XString(view.data(), static_cast<unsigned int>(view.size()));
}

// Of three radio buttons, the first two that is checked, else the third.
int checkedOf(TRadioButton* const (&buttons)[3]) {
  if (buttons[0]->Checked()) return 0;
  return buttons[1]->Checked() ? 1 : 2;
}

}  // namespace

AllotmentPanel::AllotmentPanel(TMainWindow& window, TPanel* panel, GConfig& settings)
    : window_(window), settings_(settings) {
  build(panel);
}

void AllotmentPanel::build(TPanel* p) {
  box_ = addGroup(p, "allotment", "allotment - disabled", kMargin, 6, kInner, kBoxHeight);
  box_->setEnabled(false);
  int top = 24;
  addLabel(box_, "user:", kCaptionLeft, top, 60);
  user_ = new TComboBox(box_, "al_user");
  user_->SetBounds(kEditLeft, top, 200, kEditHeight);
  user_->setSorted(true);
  user_->OnChange = forms::handler(&window_, &TMainWindow::al_userChange);
  addLabel(box_, "group:", kCaptionLeft, top + kRowStep, 60);
  group_ = addEdit(box_, "al_group", kEditLeft, top + kRowStep, 200);
  group_->setReadOnly(true);
  addLabel(box_, "credits:", kCaptionLeft, top + 2 * kRowStep, 60);
  credit_ = addEdit(box_, "al_credit", kEditLeft, top + 2 * kRowStep, 120);
  credit_->setReadOnly(true);

  addLabel(box_, "when:", kChoiceLeft, top, 50);
  TPanel* when = addPanel(box_, "al_when", kChoiceEditLeft, top - 2, 225, kEditHeight + 4);
  when_[0] = addRadio(when, "alwhen_day", "daily", 8, 3, 66);
  when_[1] = addRadio(when, "alwhen_week", "weekly", 78, 3, 68);
  when_[2] = addRadio(when, "alwhen_month", "monthly", 150, 3, 72);
  when_[1]->setChecked(true);
  addLabel(box_, "mode:", kChoiceLeft, top + kRowStep, 50);
  TPanel* mode =
      addPanel(box_, "al_mode", kChoiceEditLeft, top + kRowStep - 2, 225, kEditHeight + 4);
  mode_[0] = addRadio(mode, "almode_off", "off", 8, 3, 66);
  mode_[1] = addRadio(mode, "almode_add", "add", 78, 3, 68);
  mode_[2] = addRadio(mode, "almode_fill", "fill", 150, 3, 72);
  mode_[0]->setChecked(true);
  number_ = addEdit(box_, "al_number", kChoiceEditLeft, top + 2 * kRowStep, 70);
  number_->setMaxLength(7);
  addLabel(box_, "MB credits", kChoiceEditLeft + 76, top + 2 * kRowStep, 100);
  fillless_ = addCheck(box_, "al_fillless", "fill only if user has less", kChoiceEditLeft,
                       top + 3 * kRowStep + 1, 225);
  fillless_->setChecked(true);

  int buttons = top + 4 * kRowStep + 14;
  TButton* one = addButton(box_, "al_updateuser", "update user", kChoiceEditLeft, buttons, 108);
  one->OnClick = forms::handler(&window_, &TMainWindow::al_updateuserClick);
  TButton* group =
      addButton(box_, "al_updategroup", "update group", kChoiceEditLeft + 117, buttons, 108);
  group->OnClick = forms::handler(&window_, &TMainWindow::al_updategroupClick);

  load_ = addButton(p, "al_loaduserfile", "load userfile", kMargin, 6 + kBoxHeight + 8, 120);
  load_->OnClick = forms::handler(&window_, &TMainWindow::al_loaduserfileClick);
}

// The saved path comes first; when it gives no users, the path as typed on
// the general panel, which the administrator may just have corrected.
bool AllotmentPanel::loadUserFile(const XString& typedPath) {
  Userfile file(settings_.userfile.c_str());
  if (!file.ok || file.count == 0) {
    if (!file.load(typedPath.c_str()) || file.count == 0) return false;
  }
  AllotList fresh;
  TStrings* items = user_->Items();
  for (unsigned int i = 0; i < file.count; ++i) {
    const UserfileEntry* entry = file.entry(i);
    XString name = textOf(entry->user);
    XString group = textOf(entry->group);
    XString credit = entry->creditText();
    if (User* stored = settings_.al.find(name)) {
      stored->group = group;
      stored->credit = credit;
      fresh.add(*stored);
    } else {
      fresh.add(User(name, group, credit));
    }
    items->Add(name);
  }
  settings_.al.freeEntries();
  settings_.al.take(fresh);
  return true;
}

void AllotmentPanel::openWithUsers(const XString& typedPath) {
  if (!loadUserFile(typedPath)) return;
  load_->setEnabled(false);
  load_->setVisible(false);
  box_->setEnabled(true);
  box_->setCaption("allotment");
}

void AllotmentPanel::showUser() {
  if (user_->ItemIndex() < 0) return;
  const User* user = settings_.al.find(user_->Text());
  if (!user) return;
  group_->setText(user->group);
  credit_->setText(user->credit);
  mode_[user->mode < 2 ? user->mode : 2]->setChecked(true);
  when_[user->when < 2 ? user->when : 2]->setChecked(true);
  fillless_->setChecked(user->fillless);
  number_->setText(XString(user->number));
}

void AllotmentPanel::takeAllotment(int number, User& user) const {
  user.number = number;
  user.mode = static_cast<unsigned char>(checkedOf(mode_));
  user.when = static_cast<unsigned char>(checkedOf(when_));
  user.fillless = fillless_->Checked();
}

// Nothing is written here: the list goes to disk with "save settings".
void AllotmentPanel::updateUser() {
  if (user_->ItemIndex() < 0) return;
  User* user = settings_.al.find(user_->Text());
  if (!user) return;
  takeAllotment(StrToInt(number_->Text()), *user);
}

// The group is matched byte for byte, as the user file spells it; an empty
// group field matches the users without a group.
void AllotmentPanel::updateGroup() {
  int number = StrToInt(number_->Text());
  XString group = group_->Text();
  for (AllotListEntry* entry = settings_.al.head; entry; entry = entry->next) {
    if (entry->user.group == group) takeAllotment(number, entry->user);
  }
}

}  // namespace brindleset
