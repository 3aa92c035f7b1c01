// Moving a completed release under the module's move folder, entry by
// entry, handing every moved entry to the chmod program.
#include <string>
#include <vector>

#include "hookkit/dir_set.h"
#include "platform/fs.h"
#include "platform/paths.h"

using platform::kPathSep;

bool moveTree(const DirSet* dirSet, const XString& sourceFolder, const XString& targetFolder) {
  XString source(sourceFolder);
  XString target(targetFolder);
  source.ensureTrailing(kPathSep);
  target.ensureTrailing(kPathSep);
  platform::makeDir(target.c_str());  // an existing target is used as it is
  std::vector<platform::DirEntry> entries;
  platform::listFolder(source.str(), entries);
  for (const platform::DirEntry& entry : entries) {
    XString from = source + XString(entry.name);
    XString to = target + XString(entry.name);
    if (entry.isFolder && !entry.isLink) {
      if (!moveTree(dirSet, from, to)) return false;
    } else if (!platform::renameNoReplace(from.c_str(), to.c_str())) {
      return false;  // what moved stays moved; the rest stays put
    }
    if (dirSet != nullptr) dirSet->applyOwner(to);
  }
  source.dropLast(kPathSep);
  platform::removeDir(source.c_str());
  return true;
}

bool DirSet::moveTo(const XString& targetFolder) const {
  // No move folder configured: nothing to do (the release would otherwise
  // land in the file-system root or the working folder).
  if (targetFolder.empty()) return false;
  XString target(targetFolder);
  target.ensureTrailing(kPathSep);
  target += dirName;
  // A target that is the release or lies inside it would move the release
  // into itself.
  XString targetFolderPath = target + XString(platform::kPathSepText);
  if (dir.isPrefixOfNoCase(targetFolderPath) || dir == targetFolderPath) return false;
  return moveTree(this, dir, target);
}
