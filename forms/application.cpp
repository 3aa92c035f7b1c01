#include "forms/application.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "forms/form.h"
#include "forms/hook.h"
#include "forms/qt_glue.h"
#include "platform/paths.h"

namespace {
TApplication theApplication;
}  // namespace

TApplication* Application = &theApplication;

void TApplication::Initialize() { forms::glue::ensureApp(); }

void TApplication::adoptForm(TForm* form) {
  forms_.push_back(form);
  if (!mainForm_) mainForm_ = form;
}

void TApplication::Run() {
  forms::glue::ensureApp();
  if (!terminated_) {
    if (mainForm_) mainForm_->Show();
    running_ = true;
    QApplication::exec();
    running_ = false;
  }
  // Now, while Qt is whole: at static destruction its own globals may be
  // gone already.
  mainForm_ = nullptr;
  while (!forms_.empty()) {
    TForm* form = forms_.back();
    forms_.pop_back();
    delete form;
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  // Leaves every loop, a modal form's included.
  if (running_) QCoreApplication::exit(0);
}

int TApplication::MessageBox(const XString& Text, const XString& Caption, int Flags) {
  forms::glue::ensureApp();
  if (forms::Hook* hook = forms::hook()) return hook->answerMessageBox(Text, Caption, Flags);
  if (forms::glue::headless()) forms::glue::noAnswer("a message box");
  QMessageBox box((Flags & MB_ICONSTOP) ? QMessageBox::Critical : QMessageBox::NoIcon,
                  forms::glue::toQ(Caption), forms::glue::toQ(Text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return IDOK;
}

bool TApplication::HelpCommand(int Command, int Data) {
  if (Command != HELP_CONTEXT) return false;
  XString file = mainForm_ ? mainForm_->HelpFile : XString();
  if (forms::Hook* hook = forms::hook()) {
    hook->answerHelp(file, Command, Data);
    return true;
  }
  XPath path;
  if (file.firstChar() != platform::kPathSep) {
    // Read now: the caller has just entered the folder the file lies in. A
    // folder that cannot be read leaves the name as the form gives it.
    (void)path.setToCurrentDir();
    path.ensureTrailing(platform::kPathSep);
  }
  path += file;
  XString text("No help viewer is available.\nHelp file: ");
  text += path;
  text += "\nContext: ";
  text += XString(Data);
  (void)MessageBox(text, title_, MB_OK);  // an OK box has one answer
  return true;
}

void TApplication::ShowException(const std::exception* E) {
  (void)MessageBox(E ? E->what() : "An unknown error occurred.", title_, MB_OK | MB_ICONSTOP);
}

namespace forms {

bool displayAvailable() {
#if defined(_WIN32) || defined(__APPLE__)
  return true;
#else
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
#endif
}

void closeWindowSystem() { glue::closeApp(); }

}  // namespace forms
