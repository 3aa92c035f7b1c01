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
  explicit Upload(const HookFrame& frame)
      : event(frame),
        config(event.config),
        requestId(frame.field('@')),
        speed(speedOf(frame.field('V'))),
        extension(lowerCased(extensionOrName(event.fileName))),
        exempt(config.sfv_dirlist.matchAny(event.dirSet.dir)),
        sfv(event.dirSet.dir) {}

  // Reads the folder's SFV state; done under the release's lock, with the
  // markers.
  void readFolder() {
    present = sfv.presentCount();
    listed = sfv.fileCount();
    // Nothing this hook does makes or removes an SFV, so one look serves
    // the whole run.
    hasSfv = sfv.hasSfvFile();
  }

  SFVMissing sfvMissing() const {
    return SFVMissing(&event.dirSet, config.sfvm_pat, config.sfvm_patmul,
                      event.multi && config.mcd_sfvm, config.sfvm);
  }

  // Paths of markers made under the lock, handed to the chmod program once
  // the lock is let go.
  void made(const XString& path) { owned.push_back(path); }

  ReleaseEvent event;
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
};

// Steps for an uploaded SFV. False when the SFV cannot be read.
bool markSfvUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  const DirSet& dirSet = up.event.dirSet;
  SfvLineReader sfv(up.event.path);
  if (!sfv.isOpen()) return false;
  if (c.sfvm != 0) up.sfvMissing().remove();
  if (c.mfiles != 0 && !up.exempt) {
    MissingFiles missing(&dirSet, c.mfiles_pat, up.event.path, c.mfiles);
    if (missing.makeAll() != 0) up.made(missing.wildcardPath());
  }
  if (c.sfvi != 0 && !up.exempt && !memo.holds(Status::kCompleted, up.event.path)) {
    SFVIncomplete incomplete(&dirSet, c.sfvi_pat, c.sfvi_patmul, up.event.multi && c.mcd_sfvi,
                             c.sfvi);
    if (incomplete.make()) up.made(incomplete.markerPath);
  }
  if (up.listed == up.present && c.tinfo.merge && c.tinfo.mode != 0 && !up.exempt) {
    TagInfo tag(&dirSet, &c.tinfo, up.event.path, up.event.multi && c.pb.mcd, true, &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  } else if (c.pb.mode != 0 && !up.exempt) {
    ProgressBar bar(&dirSet, &c.pb, up.present, up.listed, up.event.multi && c.pb.mcd);
    bar.sfv = &up.sfv;
    // A bar that a check made before this SFV's own run goes.
    bar.removeEarlier();
    if (bar.make() != 0) up.made(bar.markerPath);
  }
  return true;
}

void markMp3Upload(Upload& up) {
  const MConfig& c = up.config;
  if (c.sfvm != 0 && !up.exempt) {
    Status memoB;  // read afresh just before its gate; never changed here
    if (!memoB.holds(Status::kChecked, up.event.path) && !up.hasSfv) {
      SFVMissing missing = up.sfvMissing();
      if (missing.make()) up.made(missing.markerPath);
    }
  }
  // A file that is gone by now (the server renamed it after a failed
  // check) has no tag to show: its marker would replace a true one with
  // "unknown".
  if (c.tinfo.mode != 0 && platform::isRegularFile(up.event.path.c_str())) {
    bool completed = up.listed == up.present && up.listed != 0 && up.hasSfv;
    TagInfo tag(&up.event.dirSet, &c.tinfo, up.event.path, up.event.multi && c.tinfo.mcd,
                completed, &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  }
}

void markOtherUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  if (c.sfvm == 0 || up.exempt || memo.holds(Status::kChecked, up.event.path)) return;
  if (!up.hasSfv && !c.sfv_filelist.matchAny(up.event.fileName)) {
    SFVMissing missing = up.sfvMissing();
    if (missing.make()) up.made(missing.markerPath);
  }
}

// Brings the release's markers up to date. Hooks run for other uploads of
// the release at the same moment update the same markers: each reads the
// folder and changes its markers in one go under the release's lock, and
// the chmod runs wait until the lock is let go.
int updateMarkers(Upload& up, const Status& memo) {
  {
    platform::FolderLock lock(up.event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    up.readFolder();
    if (up.extension == "sfv") {
      if (!markSfvUpload(up, memo)) return kExitSfvUnreadable;
    } else if (up.extension == "mp3") {
      markMp3Upload(up);
    } else {
      markOtherUpload(up, memo);
    }
  }
  for (const XString& path : up.owned) up.event.dirSet.applyOwner(path);
  return kExitDone;
}

// Counts the upload into racer.sav and renders the statistics into the
// reply and ".message".
int updateRace(Upload& up, const HookFrame& frame, Status& memo) {
  const MConfig& c = up.config;
  const DirSet& dirSet = up.event.dirSet;
  if (!c.racer.en) return kExitDone;
  Racer racer(&c.racer);
  XString racePath = dirSet.dir + Racer::kFileName;
  platform::setHidden(racePath.c_str(), false);
  uint64_t bytes = 0;
  // A file that cannot be looked at counts as empty.
  (void)platform::fileSize(up.event.path.c_str(), &bytes);
  bool saved = false;
  {
    // Uploads that finish at the same moment must all be counted.
    platform::FolderLock lock(up.event.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    // A race starts with the SFV itself, or with any upload into a folder
    // that has no SFV yet.
    if (!racer.load(racePath) && up.hasSfv && up.extension != "sfv") return kExitDone;
    racer.addUpload(up.event.path, up.event.virtualPath, up.event.user.name, up.event.user.group,
                    static_cast<unsigned int>(bytes / 1024), up.speed);
    if (memo.holds(Status::kRacerDone, up.event.path)) {
      memo.mark(Status::kRacerDone, up.event.path);
      // The release is complete: its race file goes. One that cannot be
      // removed is stale; the hooks report no failed step.
      (void)platform::removeFile(racePath.c_str());
    } else {
      saved = racer.save(racePath);
    }
  }
  if (saved) {
    platform::setHidden(racePath.c_str(), true);
    if (c.racer.chmod) dirSet.applyOwner(racePath);
  }
  // Neither text is checked: a reply or ".message" that cannot be written
  // is skipped, as every failed step of the hooks is.
  XString reply = frame.replyPath(XString("ask-landfall.") + up.requestId);
  if (!reply.empty()) (void)racer.writeStats(reply, true);
  XString message = dirSet.dir + ".message";
  (void)racer.writeStats(message, false);
  dirSet.applyOwner(message);
  return kExitDone;
}

}  // namespace

int runUploadHook(const XString& commandLine) {
  HookFrame frame(kLandfall);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;
  // The memo is written at the end: without the site's lock nothing of the
  // site is touched at all.
  if (!siteLockAvailable()) return kExitNoLock;

  Upload up(frame);
  Status memo;
  code = updateMarkers(up, memo);
  if (code != kExitDone) return code;

  // The completing upload's race is counted and answered first, so the
  // reply and the moved ".message" show the finished race.
  code = updateRace(up, frame, memo);
  if (code != kExitDone) return code;
  const MConfig& c = up.config;
  if (c.move_en && memo.holds(Status::kMoveDue, up.event.path)) {
    // A move that stops midway leaves what moved at the target; the hooks
    // report no failed step.
    (void)up.event.dirSet.moveTo(c.move_dir);
  }
  // The upload hook makes the memo when it is missing.
  return memo.save(true) ? kExitDone : kExitNoLock;
}
