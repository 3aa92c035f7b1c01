#include "programs/brindleset/form_fields.h"

#include <cstdio>
#include <cstdlib>

#include "platform/paths.h"

namespace brindleset {

void missingControl(const char* name) {
  std::fprintf(stderr, "brindleset: the main window has no control %s\n", name);
  std::abort();
}

void showText(const TComponent& form, const char* name, const XString& value) {
  if (auto* memo = dynamic_cast<TMemo*>(form.FindComponent(name))) {
    memo->setText(value);
  } else {
    byName<TEdit>(form, name)->setText(value);
  }
}

XString takeText(const TComponent& form, const char* name) {
  if (auto* memo = dynamic_cast<TMemo*>(form.FindComponent(name))) return memo->Text();
  return byName<TEdit>(form, name)->Text();
}

void showNumber(const TComponent& form, const char* name, unsigned int value) {
  byName<TEdit>(form, name)->setText(XString(value));
}

unsigned int takeNumber(const TComponent& form, const char* name) {
  XString text = byName<TEdit>(form, name)->Text();
  int value = StrToInt(text);
  if (value < 0 || text.firstChar() == '-') {
    throw EConvertError(XString("'") + text + "' is not a valid unsigned integer value");
  }
  return static_cast<unsigned int>(value);
}

void showSwitch(const TComponent& form, const char* name, bool value) {
  byName<TCheckBox>(form, name)->setChecked(value);
}

bool takeSwitch(const TComponent& form, const char* name) {
  return byName<TCheckBox>(form, name)->Checked();
}

namespace {

TRadioButton* choiceButton(const TComponent& form, const char* prefix, int index) {
  XString name(prefix);
  name += XString(index);
  return byName<TRadioButton>(form, name.c_str());
}

}  // namespace

void showChoice(const TComponent& form, const char* prefix, int count, unsigned char value) {
  int index = value < count ? value : count - 1;
  choiceButton(form, prefix, index)->setChecked(true);
}

unsigned char takeChoice(const TComponent& form, const char* prefix, int count) {
  for (int i = 0; i < count - 1; ++i) {
    if (choiceButton(form, prefix, i)->Checked()) return static_cast<unsigned char>(i);
  }
  return static_cast<unsigned char>(count - 1);
}

void showList(const TComponent& form, const char* name, const XStringList& list) {
  TStrings* items = byName<TListBox>(form, name)->Items();
  for (const XStringListEntry* entry = list.head; entry; entry = entry->next) {
    items->Add(entry->text);
  }
}

void takeList(const TComponent& form, const char* name, XStringList& list, bool dropSeparator) {
  TStrings* items = byName<TListBox>(form, name)->Items();
  list.clear();
  for (int i = 0; i < items->Count(); ++i) {
    XString item = items->Strings(i);
    if (item.empty()) continue;
    if (dropSeparator) item.dropLast(platform::kPathSep);
    list.add(item);
  }
}

void showOwner(const TComponent& form, const char* user, const char* group, const char* allow,
               const chmod_allow& owner) {
  byName<TLabel>(form, user)->setCaption(owner.username);
  byName<TLabel>(form, group)->setCaption(owner.group);
  byName<TLabel>(form, allow)->setCaption(owner.allow);
}

void takeOwner(const TComponent& form, const char* user, const char* group, const char* allow,
               chmod_allow& owner) {
  owner.username = byName<TLabel>(form, user)->Caption();
  owner.group = byName<TLabel>(form, group)->Caption();
  owner.allow = byName<TLabel>(form, allow)->Caption();
}

}  // namespace brindleset
