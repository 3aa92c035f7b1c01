// The application object: the program's forms, its message loop, message
// boxes, the help call and the report of errors.
#ifndef FORMS_APPLICATION_H_
#define FORMS_APPLICATION_H_

#include <exception>
#include <vector>

#include "foundation/xstring.h"

class TForm;

namespace forms::testing {
void clearTerminated();
}  // namespace forms::testing

constexpr int MB_OK = 0;
constexpr int MB_ICONSTOP = 0x10;
constexpr int IDOK = 1;
constexpr int HELP_CONTEXT = 1;

// The running program as the window library sees it. The forms made by
// CreateForm belong to it; the first is the main form, and closing that
// ends the program. Handlers that Qt starts run inside guards: an
// exception that escapes one is reported by ShowException and the program
// goes on.
class TApplication {
 public:
  TApplication() = default;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Starts the window system; forms start it as well when they need it.
  void Initialize();
  const XString& Title() const { return title_; }
  void setTitle(const XString& title) { title_ = title; }
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(nullptr);
    adoptForm(reference);
  }
  TForm* MainForm() const { return mainForm_; }
  // Shows the main form and handles events until Terminate; then destroys
  // the forms made by CreateForm, the last made first.
  void Run();
  // Ends Run, at once or, when it has not started yet, as soon as it does.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // A box with the text, the caption and an OK button (MB_OK, optionally
  // with MB_ICONSTOP); the text is shown as plain text. Returns IDOK.
  int MessageBox(const XString& Text, const XString& Caption, int Flags);
  // HELP_CONTEXT with a context number: there is no viewer for the help
  // file, so a message box names the main form's help file (from the
  // working folder) and the context. Changes no folder. False for any
  // other command.
  bool HelpCommand(int Command, int Data);
  // Reports an error in a message box with the application's title.
  void ShowException(const std::exception* E);
  // How long a hint stays up, in milliseconds.
  int HintHidePause() const { return hintHidePause_; }
  void setHintHidePause(int milliseconds) { hintHidePause_ = milliseconds; }

 private:
  friend void forms::testing::clearTerminated();
  void adoptForm(TForm* form);

  XString title_;
  std::vector<TForm*> forms_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;
  int hintHidePause_ = 2500;
};

extern TApplication* Application;

namespace forms {

// Whether windows can be shown: always on Windows and macOS; elsewhere when
// the environment names a display (DISPLAY, WAYLAND_DISPLAY) or a Qt
// platform (QT_QPA_PLATFORM, offscreen included). Ask before making the
// first form of a program that can do without one.
bool displayAvailable();

// Ends the window system that the forms started themselves (never one the
// program made), when no form is left: a program that shows a window only
// for a while lets it go, with what it holds, before it ends.
void closeWindowSystem();

}  // namespace forms

#endif  // FORMS_APPLICATION_H_
