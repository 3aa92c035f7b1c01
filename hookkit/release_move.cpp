// Moving a completed release under the module's move folder. A target that
// is not there yet on the same file system takes the release folder in one
// rename, so the move is whole or not at all; otherwise the release moves
// entry by entry. Every moved entry is handed to the chmod program, each
// after its own contents, within one time budget for the whole move.
#include <chrono>
#include <string>
#include <vector>

#include "hookkit/dir_set.h"
#include "platform/fs.h"
#include "platform/paths.h"

using platform::kPathSep;

namespace {

// All chmod runs of one move together: a program that hangs on every entry
// must not hold the hook for 30 seconds per entry.
constexpr int kMoveChmodSeconds = 60;

class ChmodBudget {
 public:
  ChmodBudget()
      : deadline_(std::chrono::steady_clock::now() + std::chrono::seconds(kMoveChmodSeconds)) {}
  // Seconds the next run may take; 0 when the budget is spent.
  int left() const {
    auto rest = std::chrono::duration_cast<std::chrono::seconds>(deadline_ -
                                                                 std::chrono::steady_clock::now());
    if (rest.count() <= 0) return 0;
    return rest.count() < kChmodTimeoutSeconds ? static_cast<int>(rest.count())
                                               : kChmodTimeoutSeconds;
  }

 private:
  std::chrono::steady_clock::time_point deadline_;
};

void applyOwner(const DirSet* dirSet, const XString& path, const ChmodBudget& budget) {
  if (dirSet == nullptr) return;
  int seconds = budget.left();
  if (seconds > 0) dirSet->applyOwner(path, seconds);
}

// Hands every entry below `folder` to the chmod program, contents first.
void applyOwnerTree(const DirSet* dirSet, const XString& folder, const ChmodBudget& budget) {
  std::vector<platform::DirEntry> entries;
  if (!platform::listFolder(folder.str(), entries)) return;
  for (const platform::DirEntry& entry : entries) {
    if (budget.left() == 0) return;
    XString path = folder + XString(entry.name);
    if (entry.isFolder && !entry.isLink) {
      applyOwnerTree(dirSet, path + XString(platform::kPathSepText), budget);
    }
    applyOwner(dirSet, path, budget);
  }
}

bool moveEntries(const DirSet* dirSet, const XString& sourceFolder, const XString& targetFolder,
                 const ChmodBudget& budget) {
  XString source(sourceFolder);
  XString target(targetFolder);
  source.ensureTrailing(kPathSep);
  target.ensureTrailing(kPathSep);
  // An existing target folder is used as it is; anything else in its place
  // stops the move.
  if (!platform::makeDir(target.c_str())) {
    if (platform::isLink(target.c_str()) || !platform::isFolder(target.c_str())) return false;
  }
  std::vector<platform::DirEntry> entries;
  if (!platform::listFolder(source.str(), entries)) return false;
  for (const platform::DirEntry& entry : entries) {
    XString from = source + XString(entry.name);
    XString to = target + XString(entry.name);
    if (entry.isFolder && !entry.isLink) {
      if (!moveEntries(dirSet, from, to, budget)) return false;
    } else if (!platform::renameNoReplace(from.c_str(), to.c_str())) {
      return false;  // what moved stays moved; the rest stays put
    }
    applyOwner(dirSet, to, budget);
  }
  source.dropLast(kPathSep);
  // A source that is still there (it gained an entry meanwhile, say) means
  // the release is split.
  return platform::removeDir(source.c_str());
}

}  // namespace

bool moveTree(const DirSet* dirSet, const XString& sourceFolder, const XString& targetFolder) {
  ChmodBudget budget;
  return moveEntries(dirSet, sourceFolder, targetFolder, budget);
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

  XString source(dir);
  source.dropLast(kPathSep);
  if (!platform::pathExists(target.c_str()) &&
      platform::renameWithinFileSystem(source.c_str(), target.c_str())) {
    ChmodBudget budget;
    applyOwnerTree(this, target + XString(platform::kPathSepText), budget);
    return true;
  }
  return moveTree(this, dir, target);
}
