// The base classes of the window library: objects, components that own
// other components and carry a name, and controls that sit on a parent.
//
// Properties follow one rule: state that a control shows is read with the
// property's name and written with set<Name> (`edit->Text()`,
// `edit->setText(...)`); plain data that the library only reads later, and
// the event handlers, are public fields (`dialog->Title = ...`,
// `button->OnClick = ...`).
#ifndef FORMS_COMPONENT_H_
#define FORMS_COMPONENT_H_

#include <functional>
#include <vector>

#include "foundation/xstring.h"

class QWidget;
class TWinControl;

// Keys and mouse buttons held while an event happened.
using TShiftState = unsigned int;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

// Borders of forms (all four) and of memos (bsNone, bsSingle).
enum TFormBorderStyle { bsNone, bsSingle, bsDialog, bsToolWindow };
using TBorderStyle = TFormBorderStyle;

// The root of every class of the library, so that a handler's Sender can
// be any of them.
class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Gets each typed character. Setting Key to 0 swallows it; setting it to
// another character types that one instead.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Binds a handler method to its object:
// `save->OnClick = forms::handler(this, &TMainWindow::saveClick);`
namespace forms {
template <class T, class... A>
std::function<void(A...)> handler(T* object, void (T::*method)(A...)) {
  return [object, method](A... args) { (object->*method)(args...); };
}
}  // namespace forms

// A named object that owns the components made with it as their owner and
// destroys them, the last made first, when it is destroyed.
class TComponent : public TObject {
 public:
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  ~TComponent() override;

  const XString& Name() const { return name_; }
  TComponent* Owner() const { return owner_; }
  // The first component below this one, depth first, whose name equals
  // `name` ignoring ASCII case; null when none does.
  TComponent* FindComponent(const XString& name) const;

 protected:
  TComponent(TComponent* owner, const XString& name);
  void destroyComponents();

 private:
  TComponent* owner_;
  XString name_;
  std::vector<TComponent*> components_;
};

// A control: a component shown on its parent, which also owns it. Enabled
// and Visible are the control's own settings, as set, whatever its parent
// shows.
class TControl : public TComponent {
 public:
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void setVisible(bool visible);
  void SetBounds(int left, int top, int width, int height);
  // The hint shown while the mouse rests on the control, as plain text, for
  // Application->HintHidePause milliseconds.
  const XString& Hint() const { return hint_; }
  void setHint(const XString& hint) { hint_ = hint; }
  // Paints the control at once, without running any handler of user input.
  void Repaint();
  // Shows the control's text in the system's fixed-pitch font (or back in
  // the usual one), for texts whose columns must line up.
  void setFixedPitch(bool fixedPitch);

  // Fires for moves over the control itself. A move over a child control
  // is that child's alone, even when it has no handler; a move over a
  // disabled control counts as a move over its parent.
  TMouseMoveEvent OnMouseMove;

  // The widget that shows the control: for the library and its tests.
  QWidget* widget() const { return widget_; }

 protected:
  // `widget` is made by the derived class inside clientOf(parent).
  TControl(TComponent* owner, TWinControl* parent, const XString& name, QWidget* widget);
  static QWidget* clientOf(TWinControl* parent);
  void setVisibleFlag(bool visible) { visible_ = visible; }

 private:
  TWinControl* parent_;
  QWidget* widget_;
  XString hint_;
  bool enabled_ = true;
  bool visible_ = true;
};

// A control that can hold other controls or take the keyboard focus.
class TWinControl : public TControl {
 public:
  // false keeps the control out of the Tab order; a click still focuses it.
  void setTabStop(bool tabStop);
  TKeyPressEvent OnKeyPress;

 protected:
  using TControl::TControl;
};

#endif  // FORMS_COMPONENT_H_
