#include "hookkit/release_event.h"

namespace {

XString fileNameOf(const XString& path) {
  XPath name(path);
  name.toFileName();
  return name;
}

XString extensionOf(const XString& fileName) {
  XString extension(fileName);
  extension.keepAfterLast('.');
  return extension;
}

}  // namespace

ReleaseEvent::ReleaseEvent(const HookFrame& frame)
    : config(*frame.config),
      path(frame.field('m')),
      fileName(fileNameOf(path)),
      extension(extensionOf(fileName)),
      user{frame.field('S'), frame.field('g')},
      dirSet(folderOf(path), &config.chmod, &user),
      multi(frame.global.mcd_list.matchAny(dirSet.dirName)) {}
