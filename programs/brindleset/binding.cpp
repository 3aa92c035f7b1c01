#include "programs/brindleset/binding.h"

#include <cstdio>
#include <cstdlib>

#include "platform/paths.h"

namespace brindleset {

void missingControl(const char* name) {
  std::fprintf(stderr, "brindleset: the main window has no control %s\n", name);
  std::abort();
}

namespace {

template <class T>
T* as(TControl* control) {
  return static_cast<T*>(control);
}

XString textOf(TControl* control) {
  if (auto* memo = dynamic_cast<TMemo*>(control)) return memo->Text();
  return as<TEdit>(control)->Text();
}

void setText(TControl* control, const XString& text) {
  if (auto* memo = dynamic_cast<TMemo*>(control)) {
    memo->setText(text);
  } else {
    as<TEdit>(control)->setText(text);
  }
}

// Switches, choices and sort keys are one byte each, whatever their type.
unsigned int valueOf(const Member& member) {
  if (auto* flag = std::get_if<bool*>(&member)) return **flag ? 1 : 0;
  if (auto* choice = std::get_if<unsigned char*>(&member)) return **choice;
  return static_cast<unsigned char>(*std::get<char*>(member));
}

void setValue(const Member& member, unsigned int value) {
  if (auto* flag = std::get_if<bool*>(&member)) {
    **flag = value != 0;
  } else if (auto* choice = std::get_if<unsigned char*>(&member)) {
    **choice = static_cast<unsigned char>(value);
  } else {
    *std::get<char*>(member) = static_cast<char>(value);
  }
}

unsigned int numberOf(TControl* control) {
  XString text = as<TEdit>(control)->Text();
  int value = StrToInt(text);
  // StrToInt takes a sign; a negative length would be stored as a huge one.
  if (value < 0 || text.firstChar() == '-') {
    throw EConvertError(XString("'") + text + "' is not a valid unsigned integer value");
  }
  return static_cast<unsigned int>(value);
}

void showList(TControl* control, const XStringList& list, bool dropSeparator, bool reversed) {
  std::vector<XString> texts;
  for (const XStringListEntry* entry = list.head; entry; entry = entry->next) {
    texts.push_back(entry->text);
    if (dropSeparator) texts.back().dropLast(platform::kPathSep);
  }
  TStrings* items = as<TListBox>(control)->Items();
  items->Clear();
  if (reversed) {
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) items->Add(*text);
  } else {
    for (const XString& text : texts) items->Add(text);
  }
}

// Each item that is not empty goes to the list's head in turn.
void takeList(TControl* control, XStringList& list, Kind kind) {
  TStrings* items = as<TListBox>(control)->Items();
  list.clear();
  for (int i = 0; i < items->Count(); ++i) {
    XString item = items->Strings(i);
    if (item.empty()) continue;
    if (kind == Kind::kFolderList) item.ensureTrailing(platform::kPathSep);
    if (kind == Kind::kBareFolderList) item.dropLast(platform::kPathSep);
    list.add(item);
  }
}

XString unbracketed(XString id) {
  id.dropLast(']');
  id.dropFirst('[');
  return id;
}

XString choiceName(const char* prefix, int index) {
  XString name(prefix);
  name += XString(index);
  return name;
}

}  // namespace

std::vector<TControl*> controlsOf(const TComponent& form, const char* control, Kind kind, int count,
                                  const char* other) {
  switch (kind) {
    case Kind::kChoice: {
      std::vector<TControl*> buttons;
      for (int i = 0; i < count; ++i) {
        buttons.push_back(byName<TRadioButton>(form, choiceName(control, i).c_str()));
      }
      return buttons;
    }
    case Kind::kPair:
      return {byName<TRadioButton>(form, control), byName<TRadioButton>(form, other)};
    case Kind::kTagId:
      return {byName<TEdit>(form, control), byName<TCheckBox>(form, other)};
    case Kind::kSwitch:
    case Kind::kCopy:
      return {byName<TCheckBox>(form, control)};
    case Kind::kList:
    case Kind::kFolderList:
    case Kind::kBareFolderList:
      return {byName<TListBox>(form, control)};
    case Kind::kCaption:
      return {byName<TLabel>(form, control)};
    case Kind::kText:
      if (auto* memo = dynamic_cast<TMemo*>(form.FindComponent(control))) return {memo};
      return {byName<TEdit>(form, control)};
    case Kind::kNumber:
    case Kind::kFolder:
      return {byName<TEdit>(form, control)};
  }
  missingControl(control);
}

void showMember(Kind kind, const std::vector<TControl*>& controls, const Member& member,
                bool listsReversed) {
  TControl* control = controls[0];
  switch (kind) {
    case Kind::kText:
    case Kind::kFolder:
      setText(control, *std::get<XString*>(member));
      break;
    case Kind::kTagId:
      setText(control, unbracketed(*std::get<XString*>(member)));
      break;
    case Kind::kCaption:
      as<TLabel>(control)->setCaption(*std::get<XString*>(member));
      break;
    case Kind::kNumber:
      setText(control, XString(*std::get<unsigned int*>(member)));
      break;
    case Kind::kSwitch:
      as<TCheckBox>(control)->setChecked(valueOf(member) != 0);
      break;
    case Kind::kChoice: {
      unsigned int last = static_cast<unsigned int>(controls.size()) - 1;
      unsigned int value = valueOf(member);
      as<TRadioButton>(controls[value < last ? value : last])->setChecked(true);
      break;
    }
    case Kind::kPair:
      as<TRadioButton>(controls[valueOf(member) != 0 ? 0 : 1])->setChecked(true);
      break;
    case Kind::kCopy:
      break;
    case Kind::kList:
    case Kind::kBareFolderList:
      showList(control, *std::get<XStringList*>(member), false, listsReversed);
      break;
    case Kind::kFolderList:
      showList(control, *std::get<XStringList*>(member), true, listsReversed);
      break;
  }
}

void takeMember(Kind kind, const std::vector<TControl*>& controls, const Member& member) {
  TControl* control = controls[0];
  switch (kind) {
    case Kind::kText:
      *std::get<XString*>(member) = textOf(control);
      break;
    case Kind::kFolder: {
      XString folder = textOf(control);
      // The folders of filled requests are made inside it.
      if (!folder.empty()) folder.ensureTrailing(platform::kPathSep);
      *std::get<XString*>(member) = folder;
      break;
    }
    case Kind::kTagId:
      // Without "show only last tag" no id is looked for, and none is kept.
      *std::get<XString*>(member) =
          as<TCheckBox>(controls[1])->Checked() ? XString("[") + textOf(control) + "]" : XString();
      break;
    case Kind::kCaption:
      *std::get<XString*>(member) = as<TLabel>(control)->Caption();
      break;
    case Kind::kNumber:
      *std::get<unsigned int*>(member) = numberOf(control);
      break;
    case Kind::kSwitch:
    case Kind::kCopy:
      setValue(member, as<TCheckBox>(control)->Checked() ? 1 : 0);
      break;
    case Kind::kPair:
      setValue(member, as<TRadioButton>(control)->Checked() ? 1 : 0);
      break;
    case Kind::kChoice: {
      unsigned int last = static_cast<unsigned int>(controls.size()) - 1;
      unsigned int value = last;
      for (unsigned int i = 0; i < last; ++i) {
        if (as<TRadioButton>(controls[i])->Checked()) {
          value = i;
          break;
        }
      }
      setValue(member, value);
      break;
    }
    case Kind::kList:
    case Kind::kFolderList:
    case Kind::kBareFolderList:
      takeList(control, *std::get<XStringList*>(member), kind);
      break;
  }
}

}  // namespace brindleset
