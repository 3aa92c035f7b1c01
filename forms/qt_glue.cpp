#include "forms/qt_glue.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace forms::glue {

namespace {

std::unordered_map<const QWidget*, TControl*>& registry() {
  static std::unordered_map<const QWidget*, TControl*> controls;
  return controls;
}

TShiftState shiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

// The character a key event types, 0 for none. Qt gives Enter, Esc and
// Backspace their control characters as text, but not every platform does.
// Tab moves the focus and Ctrl with a letter is a shortcut (copy, paste):
// neither types a character that a key handler could swallow.
char typedChar(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return '\r';
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Backspace:
      return 8;
    default:
      break;
  }
  QString text = event->text();
  if (text.size() != 1) return 0;
  char16_t c = text[0].unicode();
  if (c > 0xFF || (c < 32 && c != 8)) return 0;
  return static_cast<char>(c);
}

// An edit full to its MaxLength takes no further typed character; control
// characters (Backspace, DEL) still edit.
bool fullEdit(TControl* control, char c) {
  auto* edit = dynamic_cast<TEdit*>(control);
  auto byte = static_cast<unsigned char>(c);
  if (!edit || edit->MaxLength() <= 0 || byte < 32 || byte == 127) return false;
  auto* line = static_cast<QLineEdit*>(edit->widget());
  return line->text().size() - line->selectedText().size() >= edit->MaxLength();
}

bool takesReturn(TControl* control) {
  auto* memo = dynamic_cast<TMemo*>(control);
  return memo && !memo->ReadOnly();
}

// Routes what the old library did its own way: mouse moves to the control
// under the mouse, typed characters through the key handlers and the
// Default and Cancel buttons, and hints as plain text.
class Router : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::MouseMove:
        mouseMoved(widget, static_cast<QMouseEvent*>(event));
        return false;
      case QEvent::KeyPress:
        return keyPressed(widget, static_cast<QKeyEvent*>(event));
      case QEvent::ToolTip:
        return toolTip(widget, static_cast<QHelpEvent*>(event));
      default:
        return false;
    }
  }

 private:
  static void mouseMoved(QWidget* widget, QMouseEvent* event) {
    TControl* control = controlOf(widget);
    while (control && !control->Enabled()) control = control->Parent();
    if (!control || !control->OnMouseMove) return;
    QPoint at = control->widget()->mapFromGlobal(event->globalPosition().toPoint());
    TShiftState shift = shiftOf(event->modifiers(), event->buttons());
    fromQt([&] { control->OnMouseMove(control, shift, at.x(), at.y()); });
  }

  bool keyPressed(QWidget* target, QKeyEvent* event) {
    // The event this routing hands on itself goes its way unrouted.
    if (event == handingOn_) return false;
    TControl* control = controlOf(target);
    TForm* form = control ? formOf(control) : nullptr;
    char typed = typedChar(event);
    if (!form || typed == 0) return false;
    event->accept();

    // Enter and Esc go to the buttons before any key handler sees them.
    TButton* button = nullptr;
    if (typed == '\r' && !takesReturn(control)) {
      button = dynamic_cast<TButton*>(control);
      if (!button) button = form->defaultButton();
    } else if (typed == 27) {
      button = form->cancelButton();
    }
    if (button) {
      fromQt([button] { button->Click(); });
      return true;
    }

    char key = typed;
    bool handled = false;
    fromQt([&] {
      // The form hears first with KeyPreview, and alone when it has the focus.
      if ((form->KeyPreview || control == form) && form->OnKeyPress) form->OnKeyPress(form, key);
      auto* receiver = dynamic_cast<TWinControl*>(control);
      if (key != 0 && receiver && receiver != form && receiver->OnKeyPress) {
        receiver->OnKeyPress(receiver, key);
      }
      handled = true;
    });
    // A handler that failed swallows its key.
    if (!handled || fullEdit(control, key)) key = 0;
    bool taken = key == 0 || handOn(target, event, key, typed);
    // An Esc that nothing took closes a modal form: its result stays 0.
    if (typed == 27 && !taken && form->inModalLoop() && form->ModalResult() == 0) form->Close();
    event->accept();
    return true;
  }

  // Delivers the key (or the one a handler put in its place) to Qt; true
  // when a widget took it.
  bool handOn(QWidget* target, QKeyEvent* event, char key, char typed) {
    QKeyEvent changed(QEvent::KeyPress, qtKeyFor(key), event->modifiers(),
                      QString(QChar(static_cast<unsigned char>(key))));
    QKeyEvent* next = key == typed ? event : &changed;
    QKeyEvent* outer = handingOn_;
    handingOn_ = next;
    next->setAccepted(true);  // as Qt delivers a key: widgets ignore what they leave
    QCoreApplication::sendEvent(target, next);
    handingOn_ = outer;
    return next->isAccepted();
  }

  static bool toolTip(QWidget* widget, QHelpEvent* event) {
    TControl* control = controlOf(widget);
    if (!control) return false;
    if (control->Hint().empty()) {
      QToolTip::hideText();
      event->ignore();
      return true;
    }
    // Qt guesses rich text in tool tips; a hint is plain text.
    QString text = toQ(control->Hint()).toHtmlEscaped();
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    QToolTip::showText(event->globalPos(),
                       QLatin1String("<p style='white-space:pre'>") + text + QLatin1String("</p>"),
                       widget, QRect(), Application->HintHidePause());
    return true;
  }

  QKeyEvent* handingOn_ = nullptr;
};

}  // namespace

int qtKeyFor(char c) {
  auto byte = static_cast<unsigned char>(c);
  switch (byte) {
    case '\r':
      return Qt::Key_Return;
    case 27:
      return Qt::Key_Escape;
    case 8:
      return Qt::Key_Backspace;
    case 9:
      return Qt::Key_Tab;
    case 127:
      return Qt::Key_Delete;
    default:
      // Qt's keys for printable Latin-1 are the upper-case characters.
      return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte;
  }
}

QString toQ(const XString& text) {
  return QString::fromLatin1(text.c_str(), static_cast<qsizetype>(text.length()));
}

XString fromQ(const QString& text) {
  QByteArray bytes = text.toLatin1();
  return XString(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

namespace {
QApplication* madeApp = nullptr;
}  // namespace

void ensureApp() {
  static QObject* router = nullptr;
  static QCoreApplication* routed = nullptr;
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "brindle";
    static char* argv[] = {name, nullptr};
    madeApp = new QApplication(argc, argv);
  }
  if (routed != QCoreApplication::instance()) {
    if (!router) router = new Router;
    routed = QCoreApplication::instance();
    routed->installEventFilter(router);
    // The program ends by Terminate or by closing its main form, not
    // whenever no window happens to show.
    QApplication::setQuitOnLastWindowClosed(false);
  }
}

void closeApp() {
  if (madeApp == nullptr || QCoreApplication::instance() != madeApp) return;
  delete madeApp;
  madeApp = nullptr;
}

namespace {
bool headlessGuard = true;
}  // namespace

void setHeadlessGuard(bool on) { headlessGuard = on; }

bool headless() {
  if (!headlessGuard) return false;
  QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void noAnswer(const char* what) {
  std::fprintf(stderr, "forms: %s was shown with no screen and no hook to answer it\n", what);
  std::abort();
}

void registerControl(QWidget* widget, TControl* control) { registry()[widget] = control; }

void unregisterControl(QWidget* widget) { registry().erase(widget); }

TControl* controlOf(QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    auto found = registry().find(widget);
    if (found != registry().end()) return found->second;
    if (widget->isWindow()) break;
  }
  return nullptr;
}

TForm* formOf(TControl* control) {
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TForm*>(control);
}

void reportException(const std::exception* e) { Application->ShowException(e); }

}  // namespace forms::glue
