#include "programs/small/tallyglad.h"

#include <climits>
#include <cstdint>

#include "hookkit/progress_bar.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "programs/landfall/racer.h"
#include "programs/landfall/status.h"
#include "programs/small/release_event.h"

namespace {

// Whole kilobytes of a file, as the race counts them; a size past what the
// count can hold is held at its largest value.
int kilobytesOf(const XString& path) {
  uint64_t bytes = 0;
  platform::fileSize(path.c_str(), &bytes);
  uint64_t kb = bytes >> 10;
  return kb > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(kb);
}

// The bar of the state before this file goes, the bar of the new state is
// made. A complete MP3 release with merging on gets no complete bar: the
// completed tag marker that the upload hook makes takes its place.
void moveProgressBar(ReleaseEvent& event, SFVStatus& sfv, unsigned int present,
                     unsigned int total, bool mp3Found) {
  const MConfig& c = event.config;
  // The state before this file. When the file is not among the present ones
  // (present 0) there is no such state below it; the bar's count is taken
  // as total, which removes a complete bar if there is one.
  unsigned int before = present == 0 ? total : present - 1;
  ProgressBar bar(&event.dirSet, &c.pb, before, total, event.multi && c.pb.mcd);
  bar.sfv = &sfv;
  bar.remove();
  if (present == total && c.pb.merge && mp3Found) return;
  bar.set(present, total);
  bar.create();
}

void countIntoRace(ReleaseEvent& event) {
  const MConfig& c = event.config;
  Racer racer(&c.racer);
  XString racePath = event.dirSet.dir + Racer::kFileName;
  platform::setHidden(racePath.c_str(), false);
  int kb = kilobytesOf(event.path);
  {
    // Checks that end at the same moment must all be counted.
    platform::FileLock lock;
    racer.load(racePath);
    racer.addCheckedFile(kb, event.user.name, event.user.group);
    racer.save(racePath);
  }
  platform::setHidden(racePath.c_str(), true);
  if (c.racer.chmod) event.dirSet.applyOwner(racePath);
  XString message = event.dirSet.dir + ".message";
  racer.writeStats(message, false);
  event.dirSet.applyOwner(message);
}

}  // namespace

int runSfvSuccessHook(const XString& commandLine) {
  HookFrame frame(kTallyglad);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  // The release's state before any marker is touched.
  SFVStatus sfv(event.dirSet.dir);
  const unsigned int present = sfv.presentCount();
  const unsigned int total = sfv.fileCount();
  const bool moveBar = c.pb.mode != 0 && !c.sfv_dirlist.matchAny(event.dirSet.dir);
  const bool mp3Found = moveBar && event.dirSet.hasMatch(XString("*.mp3"));

  if (c.mfiles != 0) {
    MissingFiles(&event.dirSet, c.mfiles_pat, event.path, c.mfiles).removeOne(event.fileName);
  }
  if (moveBar) moveProgressBar(event, sfv, present, total, mp3Found);
  if (c.sfvm != 0) {
    SFVMissing(&event.dirSet, c.sfvm_pat, c.sfvm_patmul, event.multi && c.mcd_sfvm, c.sfvm)
        .remove();
  }
  if (c.racer.en) countIntoRace(event);

  Status memo;
  memo.checked.path = event.path;
  memo.checked.flag = false;
  return kExitDone;
}
