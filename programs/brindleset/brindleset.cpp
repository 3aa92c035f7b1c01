#include "programs/brindleset/brindleset.h"

#include <cstdio>
#include <exception>

#include "forms/forms.h"
#include "programs/brindleset/chmod_popup.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

int WinMain() {
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
