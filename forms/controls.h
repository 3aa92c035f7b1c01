// The plain controls: containers, labels, buttons, edits, memos, check
// boxes, radio buttons and sliders.
#ifndef FORMS_CONTROLS_H_
#define FORMS_CONTROLS_H_

#include <memory>

#include "forms/component.h"
#include "forms/strings.h"

// A raised area that holds controls and shows a centred caption. A click on
// its own surface fires OnClick, so a panel can act as a button.
class TPanel : public TWinControl {
 public:
  TPanel(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
  TNotifyEvent OnClick;
};

// A framed, captioned area that holds controls. Disabling it makes the
// controls inside unusable while their own Enabled stays as set.
class TGroupBox : public TWinControl {
 public:
  TGroupBox(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
};

// A line of text, always shown as plain text.
class TLabel : public TControl {
 public:
  TLabel(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
};

// A push button. Enter anywhere on its form clicks the form's Default
// button (a focused button takes Enter itself); Esc clicks its Cancel
// button.
class TButton : public TWinControl {
 public:
  TButton(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
  bool Default() const { return default_; }
  void setDefault(bool isDefault) { default_ = isDefault; }
  bool Cancel() const { return cancel_; }
  void setCancel(bool isCancel) { cancel_ = isCancel; }
  // Runs OnClick as a click does; an exception goes to the caller.
  void Click();
  TNotifyEvent OnClick;

 private:
  bool default_ = false;
  bool cancel_ = false;
};

// A one-line edit. MaxLength limits what is typed, never a text the
// program sets; 0 means no limit.
class TEdit : public TWinControl {
 public:
  TEdit(TWinControl* parent, const XString& name);
  XString Text() const;
  void setText(const XString& text);
  int MaxLength() const { return maxLength_; }
  void setMaxLength(int maxLength) { maxLength_ = maxLength; }
  bool ReadOnly() const;
  void setReadOnly(bool readOnly);

 private:
  int maxLength_ = 0;
};

enum TAlignment { taLeftJustify, taCenter };

// A text of several lines. Its text is its lines joined by CR LF; a text
// set with CR LF, LF or lone CR line ends shows those lines. Enter types
// a line end unless the memo is read-only.
class TMemo : public TWinControl {
 public:
  TMemo(TWinControl* parent, const XString& name);
  ~TMemo() override;
  XString Text() const;
  void setText(const XString& text);
  // The lines; a line end after the last line adds no empty line.
  TStrings* Lines() const { return lines_.get(); }
  bool ReadOnly() const;
  void setReadOnly(bool readOnly);
  void setAlignment(TAlignment alignment);
  void setBorderStyle(TBorderStyle style);

 private:
  std::unique_ptr<TStrings> lines_;
};

// A check box. OnClick fires whenever Checked changes, by a click or by
// the program.
class TCheckBox : public TWinControl {
 public:
  TCheckBox(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
  bool Checked() const;
  // Fires OnClick when the state changes; an exception goes to the caller.
  void setChecked(bool checked);
  TNotifyEvent OnClick;
};

// A radio button. The radio buttons of one parent form a group: checking
// one clears the others. OnClick fires when it becomes checked, by a click
// or by the program; a click on a checked one changes nothing. The program
// may clear one, leaving its group with none checked.
class TRadioButton : public TWinControl {
 public:
  TRadioButton(TWinControl* parent, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
  bool Checked() const;
  void setChecked(bool checked);
  TNotifyEvent OnClick;

 private:
  void clearSiblings();
};

// A horizontal slider. OnChange fires whenever Position changes, by the
// mouse, the keyboard or the program.
class TTrackBar : public TWinControl {
 public:
  TTrackBar(TWinControl* parent, const XString& name);
  void setMin(int min);
  void setMax(int max);
  int Position() const;
  void setPosition(int position);
  TNotifyEvent OnChange;
};

#endif  // FORMS_CONTROLS_H_
