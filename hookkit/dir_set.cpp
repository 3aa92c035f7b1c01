#include "hookkit/dir_set.h"

#include "foundation/dir_listing.h"
#include "platform/paths.h"

namespace {

using platform::kPathSep;

// The folder above `folder` (which ends in the separator), ending in the
// separator itself.
XPath parentOf(const XPath& folder) {
  XPath parent(folder);
  parent.toParent();
  parent.ensureTrailing(kPathSep);
  return parent;
}

XPath lastName(const XPath& folder) {
  XPath name(folder);
  name.dropLast(kPathSep);
  name.toFileName();
  return name;
}

}  // namespace

DirSet::DirSet(const XString& path, const Chmod* ownership, const UserInfo* eventUser)
    : chmod(ownership), user(eventUser) {
  set(path);
}

void DirSet::set(const XString& path) {
  dir = path;
  dir.ensureTrailing(kPathSep);
  parentDir = parentOf(dir);
  grandparentDir = parentOf(parentDir);
  dirName = lastName(dir);
  parentName = lastName(parentDir);
}

XString DirSet::findFirst(const XString& mask) const {
  platform::DirEntry entry;
  if (!findFirstMatching(dir, mask, kListFiles, &entry)) return XString();
  return dir + XString(entry.name);
}

bool DirSet::hasMatch(const XString& pattern) const {
  return findFirstMatching(dir, pattern, kListFiles, nullptr);
}

XPath folderOf(const XString& path) {
  XPath folder(path);
  folder.toParent();
  return folder;
}

void DirSet::applyOwner(const XString& path) const {
  if (chmod != nullptr && user != nullptr) chmod->run(path, user->name, user->group);
}
