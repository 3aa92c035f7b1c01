// The allotment panel: per user of the server, whether and how the credit
// allotment program gives credits. The users come from the server's user
// file; the settings are the allotment list of the global settings, written
// on "save settings".
#include <string_view>

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/form_fields.h"
#include "programs/brindleset/main_window.h"
#include "serverfiles/userfile.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

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

// The panel's four allotment fields into `user`; `number` is converted
// already, so that a bad one changes nothing.
void takeAllotment(const TComponent& f, int number, User& user) {
  user.number = number;
  if (byName<TRadioButton>(f, "almode_off")->Checked()) {
    user.mode = 0;
  } else if (byName<TRadioButton>(f, "almode_add")->Checked()) {
    user.mode = 1;
  } else {
    user.mode = 2;
  }
  if (byName<TRadioButton>(f, "alwhen_day")->Checked()) {
    user.when = 0;
  } else if (byName<TRadioButton>(f, "alwhen_week")->Checked()) {
    user.when = 1;
  } else {
    user.when = 2;
  }
  user.fillless = takeSwitch(f, "al_fillless");
}

// Raises EConvertError for a text that is not a whole number.
int takeAllotNumber(const TComponent& f) { return StrToInt(takeText(f, "al_number")); }

}  // namespace

void TMainWindow::buildAllotmentPanel() {
  TPanel* p = panels_allotment;
  // Nothing in it can be used before the server's users are known.
  TGroupBox* box = addGroup(p, "allotment", "allotment - disabled", kMargin, 6, kInner, kBoxHeight);
  box->setEnabled(false);
  int top = 24;
  addLabel(box, "user:", kCaptionLeft, top, 60);
  auto* user = new TComboBox(box, "al_user");
  user->SetBounds(kEditLeft, top, 200, kEditHeight);
  user->setSorted(true);
  user->OnChange = forms::handler(this, &TMainWindow::al_userChange);
  addLabel(box, "group:", kCaptionLeft, top + kRowStep, 60);
  addEdit(box, "al_group", kEditLeft, top + kRowStep, 200)->setReadOnly(true);
  addLabel(box, "credits:", kCaptionLeft, top + 2 * kRowStep, 60);
  addEdit(box, "al_credit", kEditLeft, top + 2 * kRowStep, 120)->setReadOnly(true);

  addLabel(box, "when:", kChoiceLeft, top, 50);
  TPanel* when = addPanel(box, "al_when", kChoiceEditLeft, top - 2, 225, kEditHeight + 4);
  addRadio(when, "alwhen_day", "daily", 8, 3, 66);
  addRadio(when, "alwhen_week", "weekly", 78, 3, 68)->setChecked(true);
  addRadio(when, "alwhen_month", "monthly", 150, 3, 72);
  addLabel(box, "mode:", kChoiceLeft, top + kRowStep, 50);
  TPanel* mode =
      addPanel(box, "al_mode", kChoiceEditLeft, top + kRowStep - 2, 225, kEditHeight + 4);
  addRadio(mode, "almode_off", "off", 8, 3, 66)->setChecked(true);
  addRadio(mode, "almode_add", "add", 78, 3, 68);
  addRadio(mode, "almode_fill", "fill", 150, 3, 72);
  addEdit(box, "al_number", kChoiceEditLeft, top + 2 * kRowStep, 70)->setMaxLength(7);
  addLabel(box, "MB credits", kChoiceEditLeft + 76, top + 2 * kRowStep, 100);
  addCheck(box, "al_fillless", "fill only if user has less", kChoiceEditLeft,
           top + 3 * kRowStep + 1, 225)
      ->setChecked(true);

  int buttons = top + 4 * kRowStep + 14;
  TButton* one = addButton(box, "al_updateuser", "update user", kChoiceEditLeft, buttons, 108);
  one->OnClick = forms::handler(this, &TMainWindow::al_updateuserClick);
  TButton* group =
      addButton(box, "al_updategroup", "update group", kChoiceEditLeft + 117, buttons, 108);
  group->OnClick = forms::handler(this, &TMainWindow::al_updategroupClick);

  TButton* load =
      addButton(p, "al_loaduserfile", "load userfile", kMargin, 6 + kBoxHeight + 8, 120);
  load->OnClick = forms::handler(this, &TMainWindow::al_loaduserfileClick);
}

// The saved path comes first; when it gives no users, the path as typed on
// the general panel, which the administrator may just have corrected.
bool TMainWindow::loadUserFile() {
  Userfile file(globalConfig.userfile.c_str());
  if (!file.ok || file.count == 0) {
    XString typed = takeText(*this, "userfile");
    if (!file.load(typed.c_str()) || file.count == 0) return false;
  }
  // Users who left the server drop out; those still there keep their
  // allotment and get the file's group and credits.
  AllotList fresh;
  TStrings* items = byName<TComboBox>(*this, "al_user")->Items();
  for (unsigned int i = 0; i < file.count; ++i) {
    const UserfileEntry* entry = file.entry(i);
    XString name = textOf(entry->user);
    XString group = textOf(entry->group);
    XString credit = entry->creditText();
    if (User* stored = globalConfig.al.find(name)) {
      stored->group = group;
      stored->credit = credit;
      fresh.add(*stored);
    } else {
      fresh.add(User(name, group, credit));
    }
    items->Add(name);
  }
  globalConfig.al.freeEntries();
  globalConfig.al.take(fresh);
  return true;
}

void TMainWindow::al_loaduserfileClick(TObject* Sender) {
  if (!loadUserFile()) return;
  TButton* load = byName<TButton>(*this, "al_loaduserfile");
  load->setEnabled(false);
  load->setVisible(false);
  TGroupBox* box = byName<TGroupBox>(*this, "allotment");
  box->setEnabled(true);
  box->setCaption("allotment");
}

void TMainWindow::al_userChange(TObject* Sender) {
  const TComponent& f = *this;
  auto* users = byName<TComboBox>(f, "al_user");
  if (users->ItemIndex() < 0) return;
  const User* user = globalConfig.al.find(users->Text());
  if (!user) return;
  showText(f, "al_group", user->group);
  showText(f, "al_credit", user->credit);
  const char* mode = user->mode == 0   ? "almode_off"
                     : user->mode == 1 ? "almode_add"
                                       : "almode_fill";
  byName<TRadioButton>(f, mode)->setChecked(true);
  const char* when = user->when == 0   ? "alwhen_day"
                     : user->when == 1 ? "alwhen_week"
                                       : "alwhen_month";
  byName<TRadioButton>(f, when)->setChecked(true);
  showSwitch(f, "al_fillless", user->fillless);
  showText(f, "al_number", XString(user->number));
}

// Nothing is written here: the list goes to disk with "save settings".
void TMainWindow::al_updateuserClick(TObject* Sender) {
  auto* users = byName<TComboBox>(*this, "al_user");
  if (users->ItemIndex() < 0) return;
  User* user = globalConfig.al.find(users->Text());
  if (!user) return;
  takeAllotment(*this, takeAllotNumber(*this), *user);
}

// The group is matched byte for byte, as the user file spells it; an empty
// group field matches the users without a group.
void TMainWindow::al_updategroupClick(TObject* Sender) {
  int number = takeAllotNumber(*this);
  XString group = takeText(*this, "al_group");
  for (AllotListEntry* entry = globalConfig.al.head; entry; entry = entry->next) {
    if (entry->user.group == group) takeAllotment(*this, number, entry->user);
  }
}
