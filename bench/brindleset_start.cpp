// The configuration utility as its benchmark times it: the main window
// started on the install folder given, shown, and saved with "save
// settings". Ends with 0 when the save went through.
#include <QWidget>

#include "bench/window_shown.h"
#include "forms/forms.h"
#include "programs/brindleset/main_window.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Application->Initialize();
  auto* window = new TMainWindow(nullptr, XString(argv[1]));
  window->Show();
  if (!bench::waitShown(window->widget())) return 1;
  window->save->Click();
  bool saved = Application->Terminated();
  delete window;
  return saved ? 0 : 1;
}
