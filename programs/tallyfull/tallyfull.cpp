#include "programs/tallyfull/tallyfull.h"

#include "foundation/xfile.h"
#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"
#include "hookkit/playlist.h"
#include "hookkit/release_event.h"

int copyFileIntoRelease(const DirSet* dirSet, const XString& source) {
  if (dirSet == nullptr || source.empty()) return -1;
  // A folder opens for reading on some systems and on others not at all;
  // it is never copied.
  if (!platform::isRegularFile(source.c_str())) return -1;
  XString name = fileNameOf(source);
  if (name.empty()) return -1;
  return copyTextFile(source, dirSet->dir + name);
}

int runSfvCompletedHook(const XString& commandLine) {
  HookFrame frame(kTallyfull);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  // The memo is written at the end: without the site's lock nothing of the
  // site is touched at all.
  if (!siteLockAvailable()) return kExitNoLock;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  Status memo;
  {
    // The release's own files change one hook at a time.
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    if (c.sfvi != 0) {
      SFVIncomplete(&event.dirSet, c.sfvi_pat, c.sfvi_patmul, event.multi && c.mcd_sfvi, c.sfvi)
          .remove();
    }
    // The upload hook has answered for this file already: the race is over.
    // A race file that cannot be removed is stale; the hooks report no
    // failed step.
    if (memo.holds(Status::kRacerDone, event.path)) {
      (void)platform::removeFile((event.dirSet.dir + Racer::kFileName).c_str());
    }
  }
  if (c.m3u_create) makePlaylist(&event.dirSet, c.m3u_skip);
  if (c.ad_en && copyFileIntoRelease(&event.dirSet, c.ad_file) == 0) {
    event.dirSet.applyOwner(event.dirSet.dir + fileNameOf(c.ad_file));
  }

  // Each role is kept for this file on its own, so that the upload hook of
  // this release finds it whatever other releases complete meanwhile.
  memo.mark(Status::kCompleted, event.path);
  memo.mark(Status::kRacerDone, event.path);
  memo.mark(Status::kMoveDue, event.path);
  return memo.save() ? kExitDone : kExitNoLock;
}
