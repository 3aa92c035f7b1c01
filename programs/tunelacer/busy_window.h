// What the link builder shows while it works, as the run sees it; the
// window itself lives with the forms (tpopup.h), so the run stays plain.
#ifndef PROGRAMS_TUNELACER_BUSY_WINDOW_H_
#define PROGRAMS_TUNELACER_BUSY_WINDOW_H_

#include <memory>

#include "foundation/xstring.h"

// A shown window that follows the run.
class BusyWindow {
 public:
  virtual ~BusyWindow() = default;
  // The run links `folder` now: the window shows it and counts it.
  virtual void linking(const XString& folder) = 0;
};

// Makes and shows the window; null where none can be shown.
using BusyWindowMaker = std::unique_ptr<BusyWindow> (*)();

#endif  // PROGRAMS_TUNELACER_BUSY_WINDOW_H_
