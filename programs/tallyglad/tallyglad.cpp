#include "programs/tallyglad/tallyglad.h"

#include <climits>
#include <cstdint>

#include "hookkit/progress_bar.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"
#include "hookkit/release_event.h"

namespace {

// Whole kilobytes of a file, as the race counts them; a size past what the
// count can hold is held at its largest value.
int kilobytesOf(const XString& path) {
  uint64_t bytes = 0;
  // A file that cannot be looked at counts as empty.
  (void)platform::fileSize(path.c_str(), &bytes);
  uint64_t kb = bytes >> 10;
  return kb > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(kb);
}

// The bar of the state before this file goes, the bar of the new state is
// made. A complete MP3 release with merging on gets no complete bar: the
// completed tag marker that the upload hook makes takes its place. Checks
// of several files at once each see the folder as the one before them left
// it, so the bar of an earlier count still standing is the one that goes.
// Returns the path of the bar made, for the chmod run; empty when none.
XString moveProgressBar(ReleaseEvent& event, SFVStatus& sfv, unsigned int present,
                        unsigned int total, bool mp3Found) {
  const MConfig& c = event.config;
  ProgressBar bar(&event.dirSet, &c.pb, present, total, event.multi && c.pb.mcd);
  bar.sfv = &sfv;
  // When the file is not among the present ones (present 0) there is no
  // state below it; a complete bar, if there is one, goes.
  if (present == 0) {
    bar.set(total, total);
    bar.remove();
    bar.set(present, total);
  }
  bar.removeEarlier();
  if (present == total && c.pb.merge && mp3Found) return XString();
  return bar.make() != 0 ? XString(bar.markerPath) : XString();
}

// Counts the checked file into the running race. A release without a race
// file has no race running (it never started, or it is over): nothing is
// counted and no new race file is started, so a late check can never leave
// a race of one file behind.
int countIntoRace(ReleaseEvent& event) {
  const MConfig& c = event.config;
  Racer racer(&c.racer);
  XString racePath = event.dirSet.dir + Racer::kFileName;
  platform::setHidden(racePath.c_str(), false);
  int kb = kilobytesOf(event.path);
  bool saved = false;
  {
    // Checks that end at the same moment must all be counted.
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    if (!racer.load(racePath)) return kExitDone;
    racer.addCheckedFile(kb, event.user.name, event.user.group);
    saved = racer.save(racePath);
  }
  if (saved) platform::setHidden(racePath.c_str(), true);
  if (c.racer.chmod) event.dirSet.applyOwner(racePath);
  XString message = event.dirSet.dir + ".message";
  // A ".message" that cannot be written is skipped, as every failed step
  // of the hooks is.
  (void)racer.writeStats(message, false);
  event.dirSet.applyOwner(message);
  return kExitDone;
}

}  // namespace

int runSfvSuccessHook(const XString& commandLine) {
  HookFrame frame(kTallyglad);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  // The memo is written at the end: without the site's lock nothing of the
  // site is touched at all.
  if (!siteLockAvailable()) return kExitNoLock;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  SFVStatus sfv(event.dirSet.dir);
  XString barMade;
  {
    // The folder is read and its markers changed in one go, as every hook
    // does that updates them; the chmod run waits for the lock to go.
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    const unsigned int present = sfv.presentCount();
    const unsigned int total = sfv.fileCount();
    const bool moveBar = c.pb.mode != 0 && !c.sfv_dirlist.matchAny(event.dirSet.dir);
    const bool mp3Found = moveBar && event.dirSet.hasMatch(XString("*.mp3"));
    if (c.mfiles != 0) {
      MissingFiles(&event.dirSet, c.mfiles_pat, event.path, c.mfiles).removeOne(event.fileName);
    }
    if (moveBar) barMade = moveProgressBar(event, sfv, present, total, mp3Found);
    if (c.sfvm != 0) {
      SFVMissing(&event.dirSet, c.sfvm_pat, c.sfvm_patmul, event.multi && c.mcd_sfvm, c.sfvm)
          .remove();
    }
  }
  if (!barMade.empty()) event.dirSet.applyOwner(barMade);
  if (c.racer.en) {
    code = countIntoRace(event);
    if (code != kExitDone) return code;
  }

  Status memo;
  memo.mark(Status::kChecked, event.path);
  return memo.save() ? kExitDone : kExitNoLock;
}
