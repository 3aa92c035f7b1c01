#include "hookkit/dir_set.h"

#include <cstring>

#include "foundation/dir_listing.h"
#include "platform/fs.h"
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

// Either platform's separator or a ':' (a drive, or a stream of another
// file) would reach elsewhere; '*' and '?' the chmod program expands; the
// rest no Windows name holds.
bool isPlainName(const XString& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned int i = 0; i < name.length(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[static_cast<int>(i)]);
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  return true;
}

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

XString fileNameOf(const XString& path) {
  XPath name(path);
  name.toFileName();
  return name;
}

XPath folderOf(const XString& path) {
  XPath folder(path);
  folder.toParent();
  return folder;
}

void DirSet::applyOwner(const XString& path, int timeoutSeconds) const {
  if (chmod == nullptr || user == nullptr || path.empty()) return;
  if (platform::isLink(path.c_str())) return;
  runChmod(*chmod, path, user->name, user->group, timeoutSeconds);
}

void DirSet::setVirtualFolder(const XString& virtualFolder) {
  unsigned int depth = 0;
  bool inName = false;
  for (unsigned int i = 0; i < virtualFolder.length(); ++i) {
    bool slash = virtualFolder[static_cast<int>(i)] == '/';
    if (!slash && !inName) ++depth;
    inName = !slash;
  }
  virtualDepth = depth;
}

// The user's name becomes part of a path: a name that could reach outside
// the folder, or that the chmod program would expand as a pattern, names no
// marker.
bool DirSet::createCreatorInfo(unsigned char kind) const {
  if (user == nullptr || !isPlainName(user->name)) return false;
  XString path = dir + "@" + user->name;
  if (!makeMarker(path, kind)) return false;
  applyOwner(path);
  return true;
}

bool makeMarker(const XString& path, unsigned char kind) {
  if (path.empty()) return false;
  if (kind == 1) return platform::createEmptyFile(path.c_str());
  if (kind == 2) return platform::makeDir(path.c_str());
  return false;
}

bool removeMarker(const XString& path, unsigned char kind) {
  if (path.empty()) return false;
  if (kind == 1) return platform::removeEmptyFile(path.c_str());
  if (kind == 2) return platform::removeDir(path.c_str());
  return false;
}
