#include "programs/brindleset/brindleset.h"

#include <cstdio>
#include <exception>

#include "forms/forms.h"
#include "platform/process.h"
#include "programs/brindleset/chmod_popup.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

namespace brindleset {

namespace {
std::string startedAs;
}  // namespace

std::string installFolder() { return platform::programFolder(startedAs); }
void setOwnPath(const char* ownPath) { startedAs = ownPath != nullptr ? ownPath : ""; }

}  // namespace brindleset

int WinMain(const char* ownPath) {
  brindleset::setOwnPath(ownPath);
  // Without a display the window library cannot start at all.
  if (!forms::displayAvailable()) {
    std::fprintf(stderr,
                 "brindleset: no display to show the window on (DISPLAY or WAYLAND_DISPLAY is "
                 "not set)\n");
    return 1;
  }
  try {
    Application->Initialize();
    Application->setTitle("Brindlecast Configuration Utility");
    Application->CreateForm(MainWindow);
    Application->CreateForm(Chmod_popup);
    Application->CreateForm(MBox);
    Application->CreateForm(YesNoBox);
    Application->Run();
  } catch (const std::exception& e) {
    Application->ShowException(&e);
  }
  return 0;
}
