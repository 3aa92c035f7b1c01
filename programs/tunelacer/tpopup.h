// The link builder's busy window, on the forms.
#ifndef PROGRAMS_TUNELACER_TPOPUP_H_
#define PROGRAMS_TUNELACER_TPOPUP_H_

#include <memory>

#include "forms/forms.h"
#include "programs/tunelacer/busy_window.h"

// A small always-on-top tool window that shows what the link builder does
// and how many folders it has linked. Nothing runs a message loop while the
// builder works: the window is repainted by explicit calls only.
class Tpopup : public TForm {
 public:
  explicit Tpopup(TComponent* owner);

  // Shows linkedCount in `num` and repaints.
  void showCount();

  TLabel* num;
  TLabel* Label2;
  TLabel* status;
  int linkedCount = 0;
};

// The busy window shown and repainted; null where no window can be shown.
std::unique_ptr<BusyWindow> makeBusyPopup();

#endif  // PROGRAMS_TUNELACER_TPOPUP_H_
