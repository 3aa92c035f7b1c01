// The main window's controls by name, and the moves of one setting between
// a control and its record, one kind of control at a time. A control bears
// the name of the setting it edits.
#ifndef PROGRAMS_BRINDLESET_FORM_FIELDS_H_
#define PROGRAMS_BRINDLESET_FORM_FIELDS_H_

#include "forms/forms.h"
#include "settings/gconfig.h"

namespace brindleset {

[[noreturn]] void missingControl(const char* name);

// The control of that name and type below `root`. The program asks only for
// names it made: a missing one is its own fault, and it ends at once.
template <class T>
T* byName(const TComponent& root, const char* name) {
  T* found = dynamic_cast<T*>(root.FindComponent(name));
  if (!found) missingControl(name);
  return found;
}

// An edit or a memo: the text as it stands.
void showText(const TComponent& form, const char* name, const XString& value);
XString takeText(const TComponent& form, const char* name);

// A number edit shows the unsigned value. Taking it back raises
// EConvertError for a text that StrToInt refuses and for a negative one,
// which would otherwise be stored as a huge number.
void showNumber(const TComponent& form, const char* name, unsigned int value);
unsigned int takeNumber(const TComponent& form, const char* name);

void showSwitch(const TComponent& form, const char* name, bool value);
bool takeSwitch(const TComponent& form, const char* name);

// The radio buttons `<prefix>0` ... `<prefix><count - 1>`: a value past the
// last checks the last; taken back as the first checked of all but the
// last, else the last.
void showChoice(const TComponent& form, const char* prefix, int count, unsigned char value);
unsigned char takeChoice(const TComponent& form, const char* prefix, int count);

// A list box shows the list from its head. Taken back, the list holds each
// item that is not empty, added at the head in turn; with `dropSeparator`
// an item first loses one final path separator.
void showList(const TComponent& form, const char* name, const XStringList& list);
void takeList(const TComponent& form, const char* name, XStringList& list,
              bool dropSeparator = false);

// An owner triple in three labels.
void showOwner(const TComponent& form, const char* user, const char* group, const char* allow,
               const chmod_allow& owner);
void takeOwner(const TComponent& form, const char* user, const char* group, const char* allow,
               chmod_allow& owner);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_FORM_FIELDS_H_
