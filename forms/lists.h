// List boxes and drop-down lists.
#ifndef FORMS_LISTS_H_
#define FORMS_LISTS_H_

#include <memory>

#include "forms/component.h"
#include "forms/strings.h"

// A list of texts, with one or, when MultiSelect is on, several selected
// items. OnClick fires when the person clicks an item or moves the
// selection with the keyboard, never for changes the program makes.
class TListBox : public TWinControl {
 public:
  TListBox(TWinControl* parent, const XString& name);
  ~TListBox() override;
  TStrings* Items() const { return items_.get(); }
  void setMultiSelect(bool multiSelect);
  bool Selected(int index) const;
  void setSelected(int index, bool selected);
  TNotifyEvent OnClick;

 private:
  std::unique_ptr<TStrings> items_;
};

// A drop-down list to choose one of its texts from (no typing). Nothing is
// chosen (ItemIndex -1) until the person or the program chooses. A sorted
// one keeps its items in order, ASCII case ignored. OnChange fires when
// the person chooses, never for the program's ItemIndex.
class TComboBox : public TWinControl {
 public:
  TComboBox(TWinControl* parent, const XString& name);
  ~TComboBox() override;
  TStrings* Items() const { return items_.get(); }
  bool Sorted() const { return sorted_; }
  // Sorts the items already there too.
  void setSorted(bool sorted);
  int ItemIndex() const;
  void setItemIndex(int index);
  // The chosen item's text; empty when none is chosen.
  XString Text() const;
  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TStrings> items_;
  bool sorted_ = false;
};

#endif  // FORMS_LISTS_H_
