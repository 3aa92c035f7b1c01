#include "programs/tallysour/tallysour.h"

#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/status.h"

namespace {

// What `badf` does with the failed file; any other value leaves it.
constexpr unsigned char kBadDelete = 1;
constexpr unsigned char kBadEmpty = 2;

// The failed file and the SFV-missing marker change in one hold of the
// release's lock, so that a lock that cannot be had leaves the release as
// it was; the chmod run waits for the lock to go.
int handleFailure(ReleaseEvent& event) {
  const MConfig& c = event.config;
  const XString badPath = event.path + ".bad";
  {
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    // Only the ".bad" name is ever deleted or emptied, never the name the
    // file arrived under, and only a regular file: a link planted under the
    // name is left alone. A step that fails is skipped, as the hooks report
    // none.
    if (c.badf == kBadDelete) {
      if (!platform::isLink(badPath.c_str())) (void)platform::removeFile(badPath.c_str());
    } else if (c.badf == kBadEmpty) {
      (void)platform::emptyRegularFile(badPath.c_str());
    }
    // A marker that is not there is what the step wants.
    if (c.sfvm != 0) (void)event.sfvMissing().remove();
  }
  // The bad file is the one that is still there after leaving or emptying;
  // a deleted one needs no owner.
  if (c.badf != kBadDelete) event.dirSet.applyOwner(badPath);

  Status memo;
  memo.mark(Status::kChecked, event.path);
  return memo.save() ? kExitDone : kExitMemoNotSaved;
}

}  // namespace

int runSfvFailedHook(const XString& commandLine) {
  return runReleaseHook(kTallysour, commandLine, handleFailure);
}
