// What the library's sources share about Qt: the byte-exact text
// conversion, the map from widgets to controls, and the one place where
// handlers started by Qt report their exceptions. Included by forms/
// sources only.
#ifndef FORMS_QT_GLUE_H_
#define FORMS_QT_GLUE_H_

#include <QString>
#include <exception>

#include "foundation/xstring.h"

class QWidget;
class TControl;
class TForm;

namespace forms::glue {

// Texts are bytes: each byte is one character of Latin-1 and back, so
// 8-bit bytes survive unchanged. A character beyond Latin-1 that a person
// types comes back as '?'.
QString toQ(const XString& text);
XString fromQ(const QString& text);

// Makes the QApplication when nobody has yet, and installs the library's
// routing of mouse moves, typed keys and hints.
void ensureApp();
// Destroys the QApplication that ensureApp made, if it made one.
void closeApp();
// True on a platform without a screen (offscreen, minimal): nobody could
// answer a window there. The library's own tests of the real windows turn
// this off and answer them by timers.
bool headless();
void setHeadlessGuard(bool on);
// Ends the program when a question would wait for a person who cannot see
// it: a test that forgot its hook fails at once instead of hanging.
[[noreturn]] void noAnswer(const char* what);

void registerControl(QWidget* widget, TControl* control);
void unregisterControl(QWidget* widget);
// The control that `widget` belongs to: the nearest registered widget at
// or above it within its window; null when none.
TControl* controlOf(QWidget* widget);
TForm* formOf(TControl* control);

void reportException(const std::exception* e);
// Runs a handler that Qt started. Exceptions must never unwind through
// Qt's frames: the application reports them and the program goes on.
template <class F>
void fromQt(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    reportException(&e);
  } catch (...) {
    reportException(nullptr);
  }
}

// Qt's key code for a typed character.
int qtKeyFor(char c);

// "Text files (*.txt)|*.txt|All files|*.*" in Qt's form of name filters.
QString qtNameFilters(const XString& filter);

}  // namespace forms::glue

#endif  // FORMS_QT_GLUE_H_
