#include "platform/process.h"
#include "programs/tunelacer/tpopup.h"
#include "programs/tunelacer/tunelacer.h"

int main(int argc, char** argv) {
  return runLinkBuilder(XString(platform::commandLineText(argc, argv)), &makeBusyPopup);
}
