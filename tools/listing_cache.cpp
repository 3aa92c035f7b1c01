#include "tools/listing_cache.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

namespace tools {

namespace {

// Keyed by the folder itself, not by how its path is spelled.
std::string keyOf(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::canonical(folder.empty() ? "." : folder, error);
  return error ? std::string() : path.string();
}

std::map<std::string, std::vector<platform::DirEntry>>& kept() {
  static std::map<std::string, std::vector<platform::DirEntry>> listings;
  return listings;
}

}  // namespace

bool findNoCase(const std::string& folder, const std::string& name, platform::DirEntry* found) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    return false;
  }
  std::string exact = folder.empty() ? name : folder + "/" + name;
  if (platform::pathExists(exact.c_str())) {
    if (found != nullptr) {
      found->name = name;
      found->isLink = platform::isLink(exact.c_str());
      found->isFolder = platform::isFolder(exact.c_str());
      uint64_t size = 0;
      found->size = platform::fileSize(exact.c_str(), &size) ? size : 0;
    }
    return true;
  }
  std::string key = keyOf(folder);
  if (key.empty()) return false;
  auto listing = kept().find(key);
  if (listing == kept().end()) {
    std::vector<platform::DirEntry> entries;
    if (!platform::listFolder(folder, entries)) return false;
    listing = kept().emplace(key, std::move(entries)).first;
  }
  const std::vector<platform::DirEntry>& entries = listing->second;
  // Sorted by folded name first, so the first folded match is the first listed.
  auto at = std::lower_bound(entries.begin(), entries.end(), name,
                             [](const platform::DirEntry& e, const std::string& n) {
                               return platform::compareFolded(e.name, n) < 0;
                             });
  if (at == entries.end() || platform::compareFolded(at->name, name) != 0) return false;
  if (found != nullptr) *found = *at;
  return true;
}

void forgetListing(const std::string& folder) {
  std::string key = keyOf(folder);
  if (!key.empty()) kept().erase(key);
}

}  // namespace tools
