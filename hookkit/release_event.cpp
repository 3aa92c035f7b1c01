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

ReleaseEvent::ReleaseEvent(const HookFrame& frame)
    : config(*frame.config),
      path(frame.field('m')),
      virtualPath(frame.field('r')),
      fileName(fileNameOf(path)),
      user{frame.field('S'), frame.field('g')},
      dirSet(folderOf(path), &config.chmod, &user),
      multi(frame.global.mcd_list.matchAny(dirSet.dirName)) {
  dirSet.setVirtualFolder(virtualFolder(virtualPath));
}

const XString& ReleaseEvent::releaseFolder() const {
  return multi && dirSet.reaches(1) ? dirSet.parentDir : dirSet.dir;
}
