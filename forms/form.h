// Forms: the windows of the program, shown freely or modally.
#ifndef FORMS_FORM_H_
#define FORMS_FORM_H_

#include "forms/component.h"

class QEventLoop;
class TButton;

// Border icons, or-ed together; 0 shows none.
using TBorderIcons = unsigned int;
constexpr TBorderIcons biSystemMenu = 1;
constexpr TBorderIcons biMinimize = 2;

enum TFormStyle { fsNormal, fsStayOnTop };
// Where a form appears when shown: where it was put, or centred on the
// screen, on its owner form or on the main form.
enum TPosition { poDesigned, poScreenCenter, poDesktopCenter, poOwnerFormCenter, poMainFormCenter };

// A window holding controls, of a fixed client size. A form owned by
// another form is destroyed with it, unless destroyed first. ShowModal
// returns the ModalResult that a handler set; closing the form by its
// frame, by Close() or by an Esc that nothing else takes returns 0. While
// a hook is set (forms/hook.h) ShowModal asks the hook instead of waiting
// for a person.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner, const XString& name = XString());
  ~TForm() override;

  XString Caption() const;
  void setCaption(const XString& caption);
  void setClientWidth(int width);
  void setClientHeight(int height);
  // Window decorations are set before the form is shown.
  void setBorderStyle(TFormBorderStyle style);
  void setBorderIcons(TBorderIcons icons);
  void setFormStyle(TFormStyle style);
  void setPosition(TPosition position) { position_ = position; }

  // A non-zero result ends ShowModal.
  int ModalResult() const { return modalResult_; }
  void setModalResult(int result);
  int ShowModal();
  void Show();
  // Hides the form; ends ShowModal with the result set so far (0 when
  // none), and ends the program when this is the main form.
  void Close();

  // The file the help call names (Application->HelpCommand uses the main
  // form's).
  XString HelpFile;
  // With KeyPreview on, the form's OnKeyPress sees each typed character
  // before the focused control does.
  bool KeyPreview = false;

  // The control that has the keyboard focus when the form comes up; null
  // leaves it to the first control in the Tab order. A form that asks a
  // question sets the control whose answer Enter should give.
  TWinControl* ActiveControl() const { return activeControl_; }
  void setActiveControl(TWinControl* control) { activeControl_ = control; }

  // The enabled, visible buttons that Enter and Esc click; null when none.
  TButton* defaultButton() const;
  TButton* cancelButton() const;
  bool inModalLoop() const { return modal_; }

 private:
  friend class FormWidget;
  void applyWindowFlags();
  void showWindow();
  void closed();

  TFormBorderStyle borderStyle_ = bsSingle;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize;
  TFormStyle formStyle_ = fsNormal;
  TPosition position_ = poDesigned;
  int modalResult_ = 0;
  bool modal_ = false;
  QEventLoop* loop_ = nullptr;
  TWinControl* activeControl_ = nullptr;
};

#endif  // FORMS_FORM_H_
