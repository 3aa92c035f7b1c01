#include "foundation/dir_listing.h"

#include <algorithm>
#include <string>

namespace {

bool listed(const platform::DirEntry& entry, const XString& pattern, unsigned int attributes) {
  if (!platform::passesMask(entry, attributes)) return false;
  return matchWildcard(entry.name.data(), entry.name.size(), pattern.c_str(), pattern.length());
}

}  // namespace

// Only the matches are put in order; sizes are not looked up.
std::vector<platform::DirEntry> listMatching(const XString& folder, const XString& pattern,
                                             unsigned int attributes) {
  std::vector<platform::DirEntry> all, out;
  if (!platform::listFolderUnsorted(folder.str(), false, all)) return out;
  for (platform::DirEntry& entry : all) {
    if (listed(entry, pattern, attributes)) out.push_back(std::move(entry));
  }
  std::sort(out.begin(), out.end(), platform::listedBefore);
  return out;
}

bool findFirstMatching(const XString& folder, const XString& pattern, unsigned int attributes,
                       platform::DirEntry* found) {
  std::vector<platform::DirEntry> all;
  if (!platform::listFolderUnsorted(folder.str(), false, all)) return false;
  const platform::DirEntry* first = nullptr;
  for (const platform::DirEntry& entry : all) {
    if (listed(entry, pattern, attributes) &&
        (first == nullptr || platform::listedBefore(entry, *first))) {
      first = &entry;
    }
  }
  if (first == nullptr) return false;
  if (found != nullptr) *found = *first;
  return true;
}
