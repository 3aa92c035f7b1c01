#include "programs/tallyglad/tallyglad.h"

#include <climits>
#include <cstdint>

#include "hookkit/progress_bar.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"

namespace {

// Whole kilobytes of a file, as the race counts them; a size past what the
// count can hold is held at its largest value.
int kilobytesOf(const XString& path) {
  // A file that is gone by now counts with 0 KB.
  uint64_t bytes = 0;
  if (!platform::fileSize(path.c_str(), &bytes)) bytes = 0;
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
  bar.lookup = &event.markers;
  // When the file is not among the present ones (present 0) there is no
  // state below it; a complete bar, if there is one, goes. A bar that is
  // not there is nothing to report, here and below.
  if (present == 0) {
    bar.set(total, total);
    (void)bar.remove();
    bar.set(present, total);
  }
  (void)bar.removeEarlier();
  if (present == total && c.pb.merge && mp3Found) return XString();
  return bar.make() != 0 ? XString(bar.markerPath) : XString();
}

// Counts the checked file into the running race, under the release's lock.
// A release without a race file has no race running (it never started, or
// it is over): nothing is counted and no new race file is started, so a
// late check can never leave a race of one file behind. True when a race
// runs; `saved` tells whether racer.sav was written.
bool countIntoRace(ReleaseEvent& event, Racer& racer, const XString& racePath, bool* saved) {
  if (!racer.load(racePath)) return false;
  racer.addCheckedFile(kilobytesOf(event.path), event.user.name, event.user.group);
  *saved = racer.save(racePath);
  return true;
}

// Brings the markers up to date and counts the file into the race, both in
// one hold of the release's lock, so that a lock that cannot be had leaves
// the release as it was; the chmod runs and ".message" wait for the lock to
// go.
int handleCheck(ReleaseEvent& event) {
  const MConfig& c = event.config;
  SFVStatus sfv(event.dirSet.dir);
  XString barMade;
  Racer racer(&c.racer);
  const XString racePath = event.dirSet.dir + Racer::kFileName;
  bool racing = false;
  bool saved = false;
  if (c.racer.en) platform::setHidden(racePath.c_str(), false);
  {
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    const unsigned int present = sfv.presentCount();
    const unsigned int total = sfv.fileCount();
    const bool moveBar = c.pb.mode != 0 && !c.sfv_dirlist.matchAny(event.dirSet.dir);
    const bool mp3Found = moveBar && event.dirSet.hasMatch(XString("*.mp3"));
    if (c.mfiles != 0) {
      MissingFiles missing(&event.dirSet, c.mfiles_pat, event.path, c.mfiles);
      missing.lookup = &event.markers;
      (void)missing.removeOne(event.fileName);  // always 1
    }
    if (moveBar) barMade = moveProgressBar(event, sfv, present, total, mp3Found);
    // A marker that is not there is what the step wants.
    if (c.sfvm != 0) (void)event.sfvMissing().remove();
    if (c.racer.en) racing = countIntoRace(event, racer, racePath, &saved);
  }
  if (!barMade.empty()) event.dirSet.applyOwner(barMade);
  if (racing) {
    if (saved) platform::setHidden(racePath.c_str(), true);
    if (c.racer.chmod) event.dirSet.applyOwner(racePath);
    XString message = event.dirSet.dir + ".message";
    // A ".message" that cannot be written is skipped, as every failed step
    // of the hooks is.
    (void)racer.writeStats(message, false);
    event.dirSet.applyOwner(message);
  }

  Status memo;
  memo.mark(Status::kChecked, event.path);
  return memo.save() ? kExitDone : kExitMemoNotSaved;
}

}  // namespace

int runSfvSuccessHook(const XString& commandLine) {
  return runReleaseHook(kTallyglad, commandLine, handleCheck);
}
