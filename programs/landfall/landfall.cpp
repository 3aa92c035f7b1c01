#include "programs/landfall/landfall.h"

#include <cmath>
#include <vector>

#include "foundation/xfile.h"
#include "hookkit/dir_set.h"
#include "hookkit/hook_frame.h"
#include "hookkit/progress_bar.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
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

// The upload and everything derived from it before any marker is touched.
struct Upload {
  explicit Upload(const HookFrame& frame)
      : config(*frame.config),
        physical(frame.field('m')),
        virtualPath(frame.field('r')),
        requestId(frame.field('@')),
        speed(speedOf(frame.field('V'))),
        user{frame.field('S'), frame.field('g')},
        dirSet(folderOf(physical), &config.chmod, &user),
        multi(frame.global.mcd_list.matchAny(dirSet.dirName)),
        exempt(config.sfv_dirlist.matchAny(dirSet.dir)),
        sfv(dirSet.dir) {
    XPath name(physical);
    name.toFileName();
    fileName = name;
    extension = name;
    if (extension.findLast('.') >= 0) extension.keepAfterLast('.');
    extension.toLower();
  }

  // Reads the folder's SFV state; done under the lock, with the markers.
  void readFolder() {
    present = sfv.presentCount();
    listed = sfv.fileCount();
    // Nothing this hook does makes or removes an SFV, so one look serves
    // the whole run.
    hasSfv = sfv.hasSfvFile();
  }

  bool sfvExists() const { return hasSfv; }

  SFVMissing sfvMissing() const {
    return SFVMissing(&dirSet, config.sfvm_pat, config.sfvm_patmul, multi && config.mcd_sfvm,
                      config.sfvm);
  }

  // Paths of markers made under the lock, handed to the chmod program once
  // the lock is let go.
  void made(const XString& path) { owned.push_back(path); }

  const MConfig& config;
  XString physical;
  XString virtualPath;
  XString requestId;
  float speed;
  UserInfo user;
  DirSet dirSet;
  bool multi;
  bool exempt;
  // The folder's SFV as it was before any marker was touched; the markers
  // that need its figures take them from here.
  SFVStatus sfv;
  bool hasSfv = false;
  unsigned int present = 0;
  unsigned int listed = 0;
  XString fileName;
  XString extension;
  std::vector<XString> owned;
};

// Steps for an uploaded SFV. False when the SFV cannot be read.
bool markSfvUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  XFile sfv(up.physical.c_str(), "rt", true);
  if (!sfv.isOpen()) return false;
  if (c.sfvm != 0) up.sfvMissing().remove();
  if (c.mfiles != 0 && !up.exempt) {
    MissingFiles missing(&up.dirSet, c.mfiles_pat, up.physical, c.mfiles);
    if (missing.makeAll() != 0) up.made(missing.wildcardPath());
  }
  if (c.sfvi != 0 && !up.exempt && !memo.completed.holds(up.physical)) {
    SFVIncomplete incomplete(&up.dirSet, c.sfvi_pat, c.sfvi_patmul, up.multi && c.mcd_sfvi, c.sfvi);
    if (incomplete.make()) up.made(incomplete.markerPath);
  }
  if (up.listed == up.present && c.tinfo.merge && c.tinfo.mode != 0 && !up.exempt) {
    TagInfo tag(&up.dirSet, &c.tinfo, up.physical, up.multi && c.pb.mcd, true, &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  } else if (c.pb.mode != 0 && !up.exempt) {
    ProgressBar bar(&up.dirSet, &c.pb, up.present, up.listed, up.multi && c.pb.mcd);
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
    if (!memoB.checked.holds(up.physical) && !up.sfvExists()) {
      SFVMissing missing = up.sfvMissing();
      if (missing.make()) up.made(missing.markerPath);
    }
  }
  // A file that is gone by now (the server renamed it after a failed
  // check) has no tag to show: its marker would replace a true one with
  // "unknown".
  if (c.tinfo.mode != 0 && platform::isRegularFile(up.physical.c_str())) {
    bool completed = up.listed == up.present && up.listed != 0 && up.sfvExists();
    TagInfo tag(&up.dirSet, &c.tinfo, up.physical, up.multi && c.tinfo.mcd, completed, &up.sfv);
    if (tag.make()) up.made(tag.markerPath);
  }
}

void markOtherUpload(Upload& up, const Status& memo) {
  const MConfig& c = up.config;
  if (c.sfvm == 0 || up.exempt || memo.checked.holds(up.physical)) return;
  if (!up.sfvExists() && !c.sfv_filelist.matchAny(up.fileName)) {
    SFVMissing missing = up.sfvMissing();
    if (missing.make()) up.made(missing.markerPath);
  }
}

// Counts the upload into racer.sav and renders the statistics into the
// reply and ".message".
void updateRace(Upload& up, const HookFrame& frame, const Status& memo) {
  const MConfig& c = up.config;
  if (!c.racer.en) return;
  Racer racer(&c.racer);
  XString racePath = up.dirSet.dir + Racer::kFileName;
  platform::setHidden(racePath.c_str(), false);
  uint64_t bytes = 0;
  platform::fileSize(up.physical.c_str(), &bytes);
  bool saved = false;
  {
    // Uploads that finish at the same moment must all be counted.
    platform::FileLock lock;
    // A race starts with the SFV itself, or with any upload into a folder
    // that has no SFV yet.
    if (!racer.load(racePath) && up.sfvExists() && up.extension != "sfv") return;
    racer.addUpload(up.physical, up.virtualPath, up.user.name, up.user.group,
                    static_cast<unsigned int>(bytes / 1024), up.speed);
    if (memo.racerDone.holds(up.physical)) {
      platform::removeFile(racePath.c_str());  // the release is complete
    } else {
      saved = racer.save(racePath);
    }
  }
  if (saved) {
    platform::setHidden(racePath.c_str(), true);
    if (c.racer.chmod) up.dirSet.applyOwner(racePath);
  }
  XString reply = frame.replyPath(XString("ask-landfall.") + up.requestId);
  if (!reply.empty()) racer.writeStats(reply, true);
  XString message = up.dirSet.dir + ".message";
  racer.writeStats(message, false);
  up.dirSet.applyOwner(message);
}

}  // namespace

int runUploadHook(const XString& commandLine) {
  HookFrame frame(kLandfall);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  Upload up(frame);
  Status memo(true);  // the upload hook makes the memo when it is missing
  {
    // Hooks that run for other uploads of the release at the same moment
    // update the same markers: each reads the folder and changes its
    // markers in one go, and the chmod runs wait until the lock is let go.
    platform::FileLock lock;
    up.readFolder();
    if (up.extension == "sfv") {
      if (!markSfvUpload(up, memo)) return kExitSfvUnreadable;
    } else if (up.extension == "mp3") {
      markMp3Upload(up);
    } else {
      markOtherUpload(up, memo);
    }
  }
  for (const XString& path : up.owned) up.dirSet.applyOwner(path);

  // The completing upload's race is counted and answered first, so the
  // reply and the moved ".message" show the finished race.
  updateRace(up, frame, memo);
  const MConfig& c = up.config;
  if (c.move_en && memo.moveDue.flag && memo.moveDue.path == up.physical) {
    up.dirSet.moveTo(c.move_dir);
  }
  return kExitDone;
}
