#include "programs/sweepguard/sweepguard.h"

#include "hookkit/progress_bar.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/lock.h"
#include "race/status.h"

int runPreDeleteHook(const XString& commandLine) {
  HookFrame frame(kSweepguard);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  if (!extensionOrEmpty(event.fileName).equalsNoCase(XString("sfv"))) return kExitDone;

  // Markers change one hook at a time, the folder read with them.
  platform::FolderLock lock(event.releaseFolder().c_str());
  if (!lock.held()) return kExitNoLock;
  // The counts of the bar to remove, read before any marker is touched.
  unsigned int present = 0;
  unsigned int total = 0;
  {
    SFVStatus sfv(event.dirSet.dir);
    present = sfv.presentCount();
    total = sfv.fileCount();
  }

  // Only names that are safe to name a marker after are removed, so an SFV
  // never reaches outside its release. An SFV that cannot be read removes
  // no missing-file marker; the other steps still run.
  if (c.mfiles != 0) {
    MissingFiles missing(&event.dirSet, c.mfiles_pat, event.path, c.mfiles);
    missing.lookup = &event.markers;
    (void)missing.removeAll();
  }
  // Markers that are not there are what these steps want.
  if (c.sfvi != 0) {
    // Read only: nothing here changes the memo, so nothing is written back.
    Status memo;
    if (!memo.holds(Status::kCompleted, event.path)) (void)event.sfvIncomplete().remove();
  }
  if (c.pb.mode != 0) {
    ProgressBar bar(&event.dirSet, &c.pb, present, total, event.multi && c.pb.mcd);
    bar.lookup = &event.markers;
    (void)bar.remove();
  }
  return kExitDone;
}
