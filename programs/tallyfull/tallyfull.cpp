#include "programs/tallyfull/tallyfull.h"

#include "foundation/xfile.h"
#include "hookkit/playlist.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"

int copyFileIntoRelease(const DirSet* dirSet, const XString& source) {
  if (dirSet == nullptr || source.empty()) return -1;
  // A folder opens for reading on some systems and on others not at all;
  // it is never copied.
  if (!platform::isRegularFile(source.c_str())) return -1;
  XString name = fileNameOf(source);
  if (name.empty()) return -1;
  return copyTextFile(source, dirSet->dir + name);
}

namespace {

int handleCompletion(ReleaseEvent& event) {
  const MConfig& c = event.config;
  Status memo;
  {
    // The release's own files change one hook at a time.
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    // A marker that is not there is what the step wants.
    if (c.sfvi != 0) (void)event.sfvIncomplete().remove();
    // The upload hook has answered for this file already: the race is over.
    // A race file that cannot be removed is stale; the hooks report no
    // failed step.
    if (memo.holds(Status::kRacerDone, event.path)) {
      (void)platform::removeFile((event.dirSet.dir + Racer::kFileName).c_str());
    }
  }
  // A playlist that cannot be written is skipped, as every failed step of
  // the hooks is; makePlaylist leaves nothing behind then.
  if (c.m3u_create) (void)makePlaylist(&event.dirSet, c.m3u_skip);
  if (c.ad_en && copyFileIntoRelease(&event.dirSet, c.ad_file) == 0) {
    event.dirSet.applyOwner(event.dirSet.dir + fileNameOf(c.ad_file));
  }

  // Each role is kept for this file on its own, so that the upload hook of
  // this release finds it whatever other releases complete meanwhile.
  memo.mark(Status::kCompleted, event.path);
  memo.mark(Status::kRacerDone, event.path);
  memo.mark(Status::kMoveDue, event.path);
  return memo.save() ? kExitDone : kExitMemoNotSaved;
}

}  // namespace

int runSfvCompletedHook(const XString& commandLine) {
  return runReleaseHook(kTallyfull, commandLine, handleCompletion);
}
