#include "programs/tallysour/tallysour.h"

#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/status.h"
#include "hookkit/release_event.h"

namespace {

// What `badf` does with the failed file; any other value leaves it.
constexpr unsigned char kBadDelete = 1;
constexpr unsigned char kBadEmpty = 2;

}  // namespace

int runSfvFailedHook(const XString& commandLine) {
  HookFrame frame(kTallysour);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  // The memo is written at the end: without the site's lock nothing of the
  // site is touched at all.
  if (!siteLockAvailable()) return kExitNoLock;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  const XString badPath = event.path + ".bad";

  // Only the ".bad" name is ever deleted or emptied, never the name the file
  // arrived under, and only a regular file: a link planted under the name is
  // left alone. A step that fails is skipped, as the hooks report none.
  if (c.badf == kBadDelete) {
    if (!platform::isLink(badPath.c_str())) (void)platform::removeFile(badPath.c_str());
  } else if (c.badf == kBadEmpty) {
    (void)platform::emptyRegularFile(badPath.c_str());
  }
  // The bad file is the one that is still there after leaving or emptying;
  // a deleted one needs no owner.
  if (c.badf != kBadDelete) event.dirSet.applyOwner(badPath);
  if (c.sfvm != 0) {
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    SFVMissing(&event.dirSet, c.sfvm_pat, c.sfvm_patmul, event.multi && c.mcd_sfvm, c.sfvm)
        .remove();
  }

  Status memo;
  memo.mark(Status::kChecked, event.path);
  return memo.save() ? kExitDone : kExitNoLock;
}
