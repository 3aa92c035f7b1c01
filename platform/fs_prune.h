// Inside the file-system layer: the folder walk that removeEmptyTree and
// pruneFolderTree share, written once per platform.
#ifndef PLATFORM_FS_PRUNE_H_
#define PLATFORM_FS_PRUNE_H_

#include <functional>
#include <string>
#include <vector>

namespace platform {
namespace internal {

// What removeEmptyTree and pruneFolderTree keep and report.
struct Pruning {
  const std::function<bool(const std::string&)>* keep;
  std::vector<std::string>* kept;
  std::vector<std::string>* left;

  bool keeps(const std::string& path) const { return keep != nullptr && (*keep)(path); }
};

// Empties the folder at `path` of what a tree of empty folders may hold, as
// removeEmptyTree describes, keeping what `p` keeps.
bool pruneTree(const std::string& path, int maxDepth, const Pruning& p);

}  // namespace internal
}  // namespace platform

#endif  // PLATFORM_FS_PRUNE_H_
