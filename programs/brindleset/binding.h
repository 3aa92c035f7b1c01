// How the main window's controls edit the settings: one table per settings
// record, whose rows each name a control, the kind of control and the
// member it edits. The same rows, in their order, fill the controls from a
// record and take them back into it, so the two directions cannot differ.
#ifndef PROGRAMS_BRINDLESET_BINDING_H_
#define PROGRAMS_BRINDLESET_BINDING_H_

#include <cstddef>
#include <variant>
#include <vector>

#include "forms/forms.h"
#include "foundation/xstring_list.h"

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

enum class Kind {
  // An edit or a memo: the text as it stands (a memo's lines joined by CR LF).
  kText,
  // An edit: the unsigned value in decimal. Taken back with StrToInt;
  // EConvertError for a text that is no whole number from 0 to 2147483647.
  kNumber,
  kSwitch,  // a check box
  // The radio buttons `<control>0` to `<control><count - 1>`: a value past
  // the last checks the last; taken back as the first checked of all but
  // the last, else the last.
  kChoice,
  // Two radio buttons for one switch: `control` checked while it is on,
  // `other` while it is off. Taken back from `control`.
  kPair,
  // A switch taken back from the check box of another setting (`control`),
  // never shown from this one.
  kCopy,
  // A list box: an item per entry from the list's head. Taken back, the
  // list holds each item that is not empty, added at its head in turn.
  kList,
  // kList of folders kept with a final separator and shown without it.
  kFolderList,
  // kList of folders kept without a final separator: each item taken back
  // loses one; shown as kept.
  kBareFolderList,
  // kText of a folder, taken back with a final separator unless empty.
  kFolder,
  // kText of a tag id kept in brackets: shown without them, taken back in
  // brackets while the check box `other` is ticked, else empty.
  kTagId,
  // A label's caption, which a dialog sets.
  kCaption,
};

// A member of a settings record, of one of the types a control edits.
using Member = std::variant<bool*, unsigned char*, char*, unsigned int*, XString*, XStringList*>;

template <class T>
struct ClassOf;
template <class C, class T>
struct ClassOf<T C::*> {
  using type = C;
};

// The member that `First`, then each of `Rest`, lead to from a record:
// at<&GConfig::mb, &BoardSettings::en> is the message board's switch.
template <auto First, auto... Rest>
Member at(typename ClassOf<decltype(First)>::type& record) {
  return Member(&((record.*First).*....*Rest));
}

template <class Record>
struct Binding {
  using Reach = Member (*)(Record&);
  constexpr Binding(const char* controlName, Kind controlKind, Reach reach, int buttons = 0,
                    const char* otherControl = nullptr)
      : control(controlName),
        kind(controlKind),
        member(reach),
        count(buttons),
        other(otherControl) {}

  const char* control;
  Kind kind;
  Reach member;
  int count;          // kChoice: how many buttons
  const char* other;  // kPair: the button of "off"; kTagId: the switch that keeps ids
};

// The rows of one panel or page, in the order both directions read them.
template <class Record>
struct Block {
  const Binding<Record>* rows;
  size_t count;
};

template <class Record, size_t n>
constexpr Block<Record> blockOf(const Binding<Record> (&rows)[n]) {
  return Block<Record>{rows, n};
}

// The controls a row names: the control itself, then the rest of a choice's
// buttons, the other button of a pair, or a tag id's switch.
std::vector<TControl*> controlsOf(const TComponent& form, const char* control, Kind kind, int count,
                                  const char* other);
void showMember(Kind kind, const std::vector<TControl*>& controls, const Member& member,
                bool listsReversed);
// Raises EConvertError, leaving the member as it was, for a bad number.
void takeMember(Kind kind, const std::vector<TControl*>& controls, const Member& member);

// A block's rows with their controls, found once when the form is built.
template <class Record>
class BoundRows {
 public:
  // Finds the controls of `block` below `form`, which holds them all.
  void bind(const TComponent& form, Block<Record> block) {
    rows_.clear();
    for (size_t i = 0; i < block.count; ++i) {
      const Binding<Record>& row = block.rows[i];
      rows_.push_back({&row, controlsOf(form, row.control, row.kind, row.count, row.other)});
    }
  }

  // With `listsReversed` the list boxes show each list from its tail: a
  // list that was taken back in this run stands in the reverse of the
  // order shown, as it is saved.
  void show(Record& record, bool listsReversed = false) const {
    for (const Row& row : rows_) {
      showMember(row.binding->kind, row.controls, row.binding->member(record), listsReversed);
    }
  }

  // Row by row: at a number that does not convert it stops with
  // EConvertError, the rows before it taken, that row and the rest not.
  void take(Record& record) const {
    for (const Row& row : rows_) {
      takeMember(row.binding->kind, row.controls, row.binding->member(record));
    }
  }

 private:
  struct Row {
    const Binding<Record>* binding;
    std::vector<TControl*> controls;
  };
  std::vector<Row> rows_;
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_BINDING_H_
