#include "programs/tallysour/tallysour.h"

#include <cstdio>

#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/status.h"
#include "hookkit/release_event.h"

namespace {

// What `badf` does with the failed file; any other value leaves it.
constexpr unsigned char kBadDelete = 1;
constexpr unsigned char kBadEmpty = 2;

// Cuts the bad file to zero bytes (or makes it empty when it is not there).
// Only the ".bad" name is ever emptied, never the name the file arrived
// under.
void emptyFile(const XString& badPath) {
  FILE* file = platform::openFile(badPath.c_str(), "wb");
  if (file != nullptr) std::fclose(file);
}

}  // namespace

int runSfvFailedHook(const XString& commandLine) {
  HookFrame frame(kTallysour);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  const XString badPath = event.path + ".bad";

  if (c.badf == kBadDelete) {
    platform::removeFile(badPath.c_str());
  } else if (c.badf == kBadEmpty) {
    emptyFile(badPath);
  }
  // The bad file is the one that is still there after leaving or emptying;
  // a deleted one needs no owner.
  if (c.badf != kBadDelete) event.dirSet.applyOwner(badPath);
  if (c.sfvm != 0) {
    platform::FileLock lock;  // markers change one hook at a time
    SFVMissing(&event.dirSet, c.sfvm_pat, c.sfvm_patmul, event.multi && c.mcd_sfvm, c.sfvm)
        .remove();
  }

  Status memo;
  memo.checked.path = event.path;
  memo.checked.flag = false;
  return kExitDone;
}
