#include "forms/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/hook.h"
#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::toQ;

// The form's window: closing it by its frame tells the form.
class FormWidget : public QWidget {
 public:
  FormWidget(QWidget* parent, TForm* form) : QWidget(parent, Qt::Window), form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    form_->closed();
  }

 private:
  TForm* form_;
};

namespace {

QWidget* makeFormWidget(TComponent* owner, TForm* form) {
  forms::glue::ensureApp();
  // An owned form is a window of its own that stays with its owner's.
  auto* ownerControl = dynamic_cast<TControl*>(owner);
  return new FormWidget(ownerControl ? ownerControl->widget()->window() : nullptr, form);
}

TButton* findButton(const TForm* form, bool (TButton::*role)() const) {
  for (QWidget* w : form->widget()->findChildren<QWidget*>()) {
    // Widgets of owned forms are children too; they belong to other windows.
    if (w->window() != form->widget()) continue;
    auto* button = dynamic_cast<TButton*>(forms::glue::controlOf(w));
    if (button && button->widget() == w && (button->*role)() && w->isEnabled() &&
        w->isVisibleTo(form->widget())) {
      return button;
    }
  }
  return nullptr;
}

}  // namespace

TForm::TForm(TComponent* owner, const XString& name)
    : TWinControl(owner, nullptr, name, makeFormWidget(owner, this)) {
  setVisibleFlag(false);
  applyWindowFlags();
}

TForm::~TForm() = default;

XString TForm::Caption() const {
  // Qt reads "[*]" in a title as a placeholder; the text shown doubles it.
  QString title = widget()->windowTitle();
  title.replace(QLatin1String("[*][*]"), QLatin1String("[*]"));
  return fromQ(title);
}

void TForm::setCaption(const XString& caption) {
  QString title = toQ(caption);
  title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
  widget()->setWindowTitle(title);
}

void TForm::setClientWidth(int width) { widget()->setFixedWidth(width); }

void TForm::setClientHeight(int height) { widget()->setFixedHeight(height); }

void TForm::setBorderStyle(TFormBorderStyle style) {
  borderStyle_ = style;
  applyWindowFlags();
}

void TForm::setBorderIcons(TBorderIcons icons) {
  borderIcons_ = icons;
  applyWindowFlags();
}

void TForm::setFormStyle(TFormStyle style) {
  formStyle_ = style;
  applyWindowFlags();
}

void TForm::applyWindowFlags() {
  Qt::WindowFlags flags = Qt::Window;
  if (borderStyle_ == bsDialog) flags = Qt::Dialog;
  if (borderStyle_ == bsToolWindow) flags = Qt::Tool;
  if (borderStyle_ == bsNone) flags |= Qt::FramelessWindowHint;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (borderIcons_ & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (borderIcons_ & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
  if (formStyle_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  bool shown = widget()->isVisible();
  widget()->setWindowFlags(flags);
  if (shown) widget()->show();
}

void TForm::setModalResult(int result) {
  modalResult_ = result;
  if (result != 0 && loop_) loop_->quit();
}

void TForm::showWindow() {
  QWidget* anchor = nullptr;
  if (position_ == poOwnerFormCenter) {
    auto* owner = dynamic_cast<TForm*>(Owner());
    anchor = owner ? owner->widget() : nullptr;
  } else if (position_ == poMainFormCenter && Application->MainForm() != this) {
    anchor = Application->MainForm() ? Application->MainForm()->widget() : nullptr;
  }
  if (anchor && !anchor->isVisible()) anchor = nullptr;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (position_ != poDesigned && (anchor || screen)) {
    QRect area = anchor ? anchor->frameGeometry() : screen->availableGeometry();
    QRect frame(QPoint(0, 0), widget()->frameGeometry().size());
    frame.moveCenter(area.center());
    widget()->move(frame.topLeft());
  }
  // Qt focuses the window's first control when it is activated, unless a
  // control was given the focus before.
  if (activeControl_) activeControl_->widget()->setFocus(Qt::ActiveWindowFocusReason);
  widget()->show();
  widget()->raise();
  widget()->activateWindow();
  setVisibleFlag(true);
}

void TForm::Show() {
  forms::glue::ensureApp();
  showWindow();
}

void TForm::Close() { widget()->close(); }

void TForm::closed() {
  setVisibleFlag(false);
  if (loop_) loop_->quit();
  if (Application->MainForm() == this) Application->Terminate();
}

int TForm::ShowModal() {
  forms::Hook* hook = forms::hook();
  if (!hook && forms::glue::headless()) forms::glue::noAnswer("a modal form");
  modalResult_ = 0;
  modal_ = true;
  if (hook) {
    showWindow();
    hook->answerModal(*this);
  } else {
    widget()->setWindowModality(Qt::ApplicationModal);
    showWindow();
    QEventLoop loop;
    loop_ = &loop;
    if (modalResult_ == 0 && Visible()) loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
  }
  modal_ = false;
  widget()->hide();
  widget()->setWindowModality(Qt::NonModal);
  setVisibleFlag(false);
  return modalResult_;
}

TButton* TForm::defaultButton() const { return findButton(this, &TButton::Default); }

TButton* TForm::cancelButton() const { return findButton(this, &TButton::Cancel); }
