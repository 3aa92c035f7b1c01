// The parts of the file-system layer that are the same on every platform:
// the listing order, the attribute mask, the entry points of the tree
// pruning and the failures tests plan.
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/fault.h"
#include "platform/fs.h"
#include "platform/fs_prune.h"

namespace platform {

namespace {

inline unsigned char foldByte(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

std::mutex faultMutex;
// Per step: how many more steps of that kind go well before one fails (the
// count + 1), 0 when none is planned.
int faultCountdown[static_cast<int>(FaultStep::kFolderFlush) + 1] = {};

}  // namespace

void failStepAt(FaultStep step, int nth) {
  std::lock_guard<std::mutex> guard(faultMutex);
  faultCountdown[static_cast<int>(step)] = nth > 0 ? nth : 0;
}

bool faultPlanned(FaultStep step) {
  std::lock_guard<std::mutex> guard(faultMutex);
  return faultCountdown[static_cast<int>(step)] != 0;
}

bool stepFails(FaultStep step) {
  std::lock_guard<std::mutex> guard(faultMutex);
  int& left = faultCountdown[static_cast<int>(step)];
  if (left == 0) return false;
  return --left == 0;
}

bool removeEmptyTree(const std::string& path, int maxDepth, std::vector<std::string>* left) {
  return internal::pruneTree(path, maxDepth, internal::Pruning{nullptr, nullptr, left});
}

bool pruneFolderTree(const std::string& path, int maxDepth,
                     const std::function<bool(const std::string&)>& keep,
                     std::vector<std::string>* kept, std::vector<std::string>* left) {
  return internal::pruneTree(path, maxDepth, internal::Pruning{&keep, kept, left});
}

int compareFolded(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = foldByte(a[i]), y = foldByte(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool listedBefore(const DirEntry& a, const DirEntry& b) {
  int folded = compareFolded(a.name, b.name);
  if (folded != 0) return folded < 0;
  return a.name < b.name;  // char_traits<char> compares as unsigned bytes
}

bool passesMask(const DirEntry& entry, unsigned int attributes) {
  if (entry.isFolder && (attributes & kAttrFolder) == 0) return false;
  return (entry.attributes & (kAttrHidden | kAttrSystem) & ~attributes) == 0;
}

bool listFolder(const std::string& folder, std::vector<DirEntry>& out) {
  if (!listFolderUnsorted(folder, true, out)) return false;
  std::sort(out.begin(), out.end(), listedBefore);
  return true;
}

bool listFolder(const std::string& folder, unsigned int attributes, std::vector<DirEntry>& out) {
  if (!listFolder(folder, out)) return false;
  out.erase(std::remove_if(out.begin(), out.end(),
                           [&](const DirEntry& e) { return !passesMask(e, attributes); }),
            out.end());
  return true;
}

}  // namespace platform
