#include "platform/process.h"
#include "programs/tunelacer/tunelacer.h"
#ifdef BRINDLE_BUSY_WINDOW
#include "programs/tunelacer/tpopup.h"
#else
#include <memory>
#endif

// A build without the forms layer runs without the busy window.
int main(int argc, char** argv) {
#ifdef BRINDLE_BUSY_WINDOW
  BusyWindowMaker makeWindow = &makeBusyPopup;
#else
  BusyWindowMaker makeWindow = nullptr;
#endif
  return runLinkBuilder(XString(platform::commandLineText(argc, argv)), makeWindow);
}
