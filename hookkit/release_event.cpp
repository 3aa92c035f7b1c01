#include "hookkit/release_event.h"

XString extensionOrEmpty(const XString& fileName) {
  XString extension(fileName);
  extension.keepAfterLast('.');
  return extension;
}

XString extensionOrName(const XString& fileName) {
  if (fileName.findLast('.') < 0) return fileName;
  return extensionOrEmpty(fileName);
}

ReleaseEvent::ReleaseEvent(const HookFrame& hookFrame)
    : frame(hookFrame),
      config(*hookFrame.config),
      path(hookFrame.field('m')),
      virtualPath(hookFrame.field('r')),
      fileName(fileNameOf(path)),
      user{hookFrame.field('S'), hookFrame.field('g')},
      dirSet(folderOf(path), &config.chmod, &user),
      multi(hookFrame.global.mcd_list.matchAny(dirSet.dirName)) {
  dirSet.setVirtualFolder(virtualFolder(virtualPath));
}

const XString& ReleaseEvent::releaseFolder() const {
  return multi && dirSet.reaches(1) ? dirSet.parentDir : dirSet.dir;
}

SFVMissing ReleaseEvent::sfvMissing() { return sfvMissingMarker(dirSet, config, multi, &markers); }

SFVIncomplete ReleaseEvent::sfvIncomplete() {
  return sfvIncompleteMarker(dirSet, config, multi, &markers);
}

SFVMissing sfvMissingMarker(const DirSet& dirSet, const MConfig& config, bool multi,
                            MarkerLookup* markers) {
  SFVMissing marker(&dirSet, config.sfvm_pat, config.sfvm_patmul, multi && config.mcd_sfvm,
                    config.sfvm);
  marker.lookup = markers;
  return marker;
}

SFVIncomplete sfvIncompleteMarker(const DirSet& dirSet, const MConfig& config, bool multi,
                                  MarkerLookup* markers) {
  SFVIncomplete marker(&dirSet, config.sfvi_pat, config.sfvi_patmul, multi && config.mcd_sfvi,
                       config.sfvi);
  marker.lookup = markers;
  return marker;
}

int runReleaseHook(const HookProgram& program, const XString& commandLine,
                   int (*work)(ReleaseEvent& event)) {
  HookFrame frame(program);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;
  if (!siteLockAvailable()) return kExitNoLock;
  ReleaseEvent event(frame);
  return work(event);
}
