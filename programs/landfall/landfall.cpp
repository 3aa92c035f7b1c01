#include "programs/landfall/landfall.h"

#include <cmath>
#include <vector>

#include "foundation/xfile.h"
#include "hookkit/dir_set.h"
#include "hookkit/hook_frame.h"
#include "hookkit/progress_bar.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"

namespace {

// Speeds at or beyond this do not fit the statistics' number form.
constexpr float kMaxSpeed = 42949672.0f;

float speedOf(const XString& field) {
  float speed = field.toFloat();
  if (!std::isfinite(speed) || std::fabs(speed) >= kMaxSpeed) return 0.0f;
  return speed;
}

XString lowerCased(XString text) {
  text.toLower();
  return text;
}

// The upload and everything derived from it before any marker is touched.
struct Upload {
  explicit Upload(ReleaseEvent& releaseEvent)
      : event(releaseEvent),
        config(event.config),
        requestId(event.frame.field('@')),
        speed(speedOf(event.frame.field('V'))),
        extension(lowerCased(extensionOrName(event.fileName))),
        exempt(config.sfv_dirlist.matchAny(event.dirSet.dir)),
        sfv(event.dirSet.dir),
        racer(&config.racer),
        racePath(event.dirSet.dir + Racer::kFileName) {}

  // Reads the folder's SFV state; done under the release's lock, with the
  // markers.
  void readFolder() {
    present = sfv.presentCount();
    listed = sfv.fileCount();
    // Nothing this hook does makes or removes an SFV, so one look serves
    // the whole run.
    hasSfv = sfv.hasSfvFile();
  }

  // Paths of markers made under the lock, handed to the chmod program once
  // the lock is let go.
  void made(const XString& path) { owned.push_back(path); }

  ReleaseEvent& event;
  const MConfig& config;
  XString requestId;
  float speed;
  XString extension;
  bool exempt;
  // The folder's SFV as it was before any marker was touched; the markers
  // that need its figures take them from here.
  SFVStatus sfv;
  bool hasSfv = false;
  unsigned int present = 0;
  unsigned int listed = 0;
  std::vector<XString> owned;
  Racer racer;
  XString racePath;
};

// Steps for an uploaded SFV. False when the SFV cannot be read.
bool markSfvUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  ReleaseEvent& event = up.event;
  SfvLineReader sfv(event.path);
  if (!sfv.isOpen()) return false;
  // An SFV-missing marker that is not there is what the step wants.
  if (c.sfvm != 0) (void)event.sfvMissing().remove();
  if (c.mfiles != 0 && !up.exempt) {
    MissingFiles missing(&event.dirSet, c.mfiles_pat, event.path, c.mfiles);
    missing.lookup = &event.markers;
    if (missing.makeAll() != 0) up.made(missing.wildcardPath());
  }
  if (c.sfvi != 0 && !up.exempt && !memo.holds(Status::kCompleted, event.path)) {
    SFVIncomplete incomplete = event.sfvIncomplete();
    if (incomplete.make()) up.made(incomplete.markerPath);
  }
  if (up.listed == up.present && c.tinfo.merge && c.tinfo.mode != 0 && !up.exempt) {
    TagInfo tag(&event.dirSet, &c.tinfo, event.path, event.multi && c.pb.mcd, true, &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  } else if (c.pb.mode != 0 && !up.exempt) {
    ProgressBar bar(&event.dirSet, &c.pb, up.present, up.listed, event.multi && c.pb.mcd);
    bar.sfv = &up.sfv;
    bar.lookup = &event.markers;
    // A bar that a check made before this SFV's own run goes; most often
    // there is none.
    (void)bar.removeEarlier();
    if (bar.make() != 0) up.made(bar.markerPath);
  }
  return true;
}

void markMp3Upload(Upload& up) {
  const MConfig& c = up.config;
  ReleaseEvent& event = up.event;
  if (c.sfvm != 0 && !up.exempt) {
    Status memoB;  // read afresh just before its gate; never changed here
    if (!memoB.holds(Status::kChecked, event.path) && !up.hasSfv) {
      SFVMissing missing = event.sfvMissing();
      if (missing.make()) up.made(missing.markerPath);
    }
  }
  // A file that is gone by now (the server renamed it after a failed
  // check) has no tag to show: its marker would replace a true one with
  // "unknown".
  if (c.tinfo.mode != 0 && platform::isRegularFile(event.path.c_str())) {
    bool completed = up.listed == up.present && up.listed != 0 && up.hasSfv;
    TagInfo tag(&event.dirSet, &c.tinfo, event.path, event.multi && c.tinfo.mcd, completed,
                &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  }
}

void markOtherUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  ReleaseEvent& event = up.event;
  if (c.sfvm == 0 || up.exempt || memo.holds(Status::kChecked, event.path)) return;
  if (!up.hasSfv && !c.sfv_filelist.matchAny(event.fileName)) {
    SFVMissing missing = event.sfvMissing();
    if (missing.make()) up.made(missing.markerPath);
  }
}

// What the race part of a run did under the release's lock.
enum class Race {
  kOff,         // racer_en is off
  kNotRunning,  // the folder has an SFV and no race file: no race to count into
  kCounted,     // the upload is counted; racer.sav saved or, the race over, removed
};

// Counts the upload into racer.sav. A race starts with the SFV itself, or
// with any upload into a folder that has no SFV yet.
Race countUpload(Upload& up, Status& memo, bool* saved) {
  ReleaseEvent& event = up.event;
  if (!up.config.racer.en) return Race::kOff;
  if (!up.racer.load(up.racePath) && up.hasSfv && up.extension != "sfv") return Race::kNotRunning;
  // A file that is gone by now counts with 0 KB, as the race counts it.
  uint64_t bytes = 0;
  if (!platform::fileSize(event.path.c_str(), &bytes)) bytes = 0;
  up.racer.addUpload(event.path, event.virtualPath, event.user.name, event.user.group,
                     static_cast<unsigned int>(bytes / 1024), up.speed);
  if (memo.holds(Status::kRacerDone, event.path)) {
    memo.mark(Status::kRacerDone, event.path);
    // The release is complete: its race file goes. One that cannot be
    // removed is stale; the hooks report no failed step.
    (void)platform::removeFile(up.racePath.c_str());
  } else {
    *saved = up.racer.save(up.racePath);
  }
  return Race::kCounted;
}

// Renders the counted race into the reply and ".message". Neither text is
// checked: a reply or ".message" that cannot be written is skipped, as
// every failed step of the hooks is.
void answer(Upload& up, bool saved) {
  const DirSet& dirSet = up.event.dirSet;
  if (saved) {
    platform::setHidden(up.racePath.c_str(), true);
    if (up.config.racer.chmod) dirSet.applyOwner(up.racePath);
  }
  XString reply = up.event.frame.replyPath(XString("ask-landfall.") + up.requestId);
  if (!reply.empty()) (void)up.racer.writeStats(reply, true);
  XString message = dirSet.dir + ".message";
  (void)up.racer.writeStats(message, false);
  dirSet.applyOwner(message);
}

// Brings the release's markers up to date and counts the upload into its
// race. Hooks run for other uploads of the release at the same moment
// update the same files: each reads the folder, changes its markers and
// counts its file in one hold of the release's lock, so that a lock that
// cannot be had leaves the release as it was; the chmod runs and the
// texts wait until the lock is let go.
int handleUpload(ReleaseEvent& event) {
  Upload up(event);
  Status memo;
  Race race = Race::kOff;
  bool saved = false;
  bool read = true;
  // A hidden race file can be rewritten only once it is shown again.
  if (up.config.racer.en) platform::setHidden(up.racePath.c_str(), false);
  {
    platform::FolderLock lock(event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    up.readFolder();
    if (up.extension == "sfv") {
      read = markSfvUpload(up, memo);
    } else if (up.extension == "mp3") {
      markMp3Upload(up);
    } else {
      markOtherUpload(up, memo);
    }
    if (read) race = countUpload(up, memo, &saved);
  }
  if (!read) {
    // Nothing is touched but the memo, made when it is missing. The SFV's
    // failure is what the run reports; a memo that cannot be made as well
    // changes nothing more.
    (void)memo.save(true);
    return kExitSfvUnreadable;
  }
  for (const XString& path : up.owned) event.dirSet.applyOwner(path);
  // The completing upload's race is counted and answered first, so the
  // reply and the moved ".message" show the finished race.
  if (race == Race::kCounted) answer(up, saved);
  const MConfig& c = up.config;
  if (c.move_en && memo.holds(Status::kMoveDue, event.path)) {
    // A move that stops midway leaves what moved at the target; the hooks
    // report no failed step.
    (void)event.dirSet.moveTo(c.move_dir);
  }
  // The upload hook makes the memo when it is missing.
  return memo.save(true) ? kExitDone : kExitMemoNotSaved;
}

}  // namespace

int runUploadHook(const XString& commandLine) {
  return runReleaseHook(kLandfall, commandLine, handleUpload);
}
