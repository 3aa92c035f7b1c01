#include "programs/tallyfull/tallyfull.h"

#include "foundation/xfile.h"
#include "hookkit/sfv_markers.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "race/racer.h"
#include "race/status.h"
#include "hookkit/playlist.h"
#include "hookkit/release_event.h"

namespace {

XString nameOf(const XString& path) {
  XPath name(path);
  name.toFileName();
  return name;
}

}  // namespace

int copyFileIntoRelease(const DirSet* dirSet, const XString& source) {
  if (dirSet == nullptr || source.empty()) return -1;
  // A folder opens for reading on some systems and on others not at all;
  // it is never copied.
  if (!platform::isRegularFile(source.c_str())) return -1;
  XString name = nameOf(source);
  if (name.empty()) return -1;
  return copyTextFile(source, dirSet->dir + name);
}

int runSfvCompletedHook(const XString& commandLine) {
  HookFrame frame(kTallyfull);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  Status memo;

  if (c.sfvi != 0) {
    platform::FileLock lock;  // markers change one hook at a time
    SFVIncomplete(&event.dirSet, c.sfvi_pat, c.sfvi_patmul, event.multi && c.mcd_sfvi, c.sfvi)
        .remove();
  }
  // The upload hook has answered for this file already: the race is over.
  if (memo.racerDone.holds(event.path)) {
    platform::removeFile((event.dirSet.dir + Racer::kFileName).c_str());
  }
  if (c.m3u_create) makePlaylist(&event.dirSet, c.m3u_skip);
  if (c.ad_en && copyFileIntoRelease(&event.dirSet, c.ad_file) == 0) {
    event.dirSet.applyOwner(event.dirSet.dir + nameOf(c.ad_file));
  }

  memo.completed.path = event.path;
  memo.completed.flag = false;
  memo.racerDone.path = event.path;
  memo.racerDone.flag = false;
  memo.moveDue.path = event.path;
  memo.moveDue.flag = true;
  return kExitDone;
}
