#include "forms/component.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QWidget>
#include <algorithm>

#include "forms/qt_glue.h"

TComponent::TComponent(TComponent* owner, const XString& name) : owner_(owner), name_(name) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  destroyComponents();
  if (owner_) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::destroyComponents() {
  // Each one takes itself out of the list as it goes.
  while (!components_.empty()) delete components_.back();
}

TComponent* TComponent::FindComponent(const XString& name) const {
  for (TComponent* c : components_) {
    if (c->name_.length() == name.length() && equalNoCase(c->name_, name)) return c;
    if (TComponent* below = c->FindComponent(name)) return below;
  }
  return nullptr;
}

TControl::TControl(TComponent* owner, TWinControl* parent, const XString& name, QWidget* widget)
    : TComponent(owner, name), parent_(parent), widget_(widget) {
  forms::glue::registerControl(widget_, this);
  if (parent_) {
    // A click or a move over a control is that control's alone, as it was
    // in the old library; Qt would hand what a child ignores to its parent.
    widget_->setAttribute(Qt::WA_NoMousePropagation);
    widget_->show();
  }
}

TControl::~TControl() {
  // Children first, while this widget still holds theirs; no signal may
  // reach a handler of a half-destroyed control.
  destroyComponents();
  widget_->blockSignals(true);
  forms::glue::unregisterControl(widget_);
  delete widget_;
}

QWidget* TControl::clientOf(TWinControl* parent) {
  forms::glue::ensureApp();
  return parent ? parent->widget() : nullptr;
}

void TControl::setEnabled(bool enabled) {
  enabled_ = enabled;
  widget_->setEnabled(enabled);
}

void TControl::setVisible(bool visible) {
  visible_ = visible;
  widget_->setVisible(visible);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  widget_->setGeometry(left, top, width, height);
}

void TControl::Repaint() {
  // A window just shown is mapped by pending events; handle those, but no
  // input, so that no handler runs in the middle of the caller's work.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  widget_->repaint();
}

void TControl::setFixedPitch(bool fixedPitch) {
  QFont font = fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont();
  // The fixed font keeps the size of the text around it.
  font.setPointSizeF(QApplication::font().pointSizeF());
  widget_->setFont(font);
}

void TWinControl::setTabStop(bool tabStop) {
  widget()->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}
