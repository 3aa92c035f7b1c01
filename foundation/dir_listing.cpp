#include "foundation/dir_listing.h"

#include <string>

namespace {

bool listed(const platform::DirEntry& entry, const XString& pattern, unsigned int attributes) {
  if (entry.isFolder && (attributes & platform::kAttrFolder) == 0) return false;
  return XString(entry.name).match(pattern);
}

}  // namespace

std::vector<platform::DirEntry> listMatching(const XString& folder, const XString& pattern,
                                             unsigned int attributes) {
  std::vector<platform::DirEntry> all, out;
  if (!platform::listFolder(folder.str(), all)) return out;
  for (platform::DirEntry& entry : all) {
    if (listed(entry, pattern, attributes)) out.push_back(std::move(entry));
  }
  return out;
}

bool findFirstMatching(const XString& folder, const XString& pattern, unsigned int attributes,
                       platform::DirEntry* found) {
  std::vector<platform::DirEntry> all;
  if (!platform::listFolder(folder.str(), all)) return false;
  for (platform::DirEntry& entry : all) {
    if (listed(entry, pattern, attributes)) {
      if (found != nullptr) *found = std::move(entry);
      return true;
    }
  }
  return false;
}
