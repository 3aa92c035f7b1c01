#include "tools/listing_cache.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/paths.h"

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

// Looks `name` up in the folder's kept listing (read now when there is
// none): of the names that fold alike, the first listed.
bool findInListing(const std::string& folder, const std::string& name, platform::DirEntry* found) {
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

// A separator (on Windows either one) or a drive's ':' would lead out of
// the folder.
bool leavesFolder(const std::string& name) {
  if (name.find('/') != std::string::npos) return true;
  if (name.find(platform::kPathSep) != std::string::npos) return true;
  return platform::kPathSep == '\\' && name.find(':') != std::string::npos;
}

}  // namespace

bool findNoCase(const std::string& folder, const std::string& name, platform::DirEntry* found) {
  if (name.empty() || name == "." || name == ".." || leavesFolder(name)) return false;
  const std::string exact = folder.empty() ? name : folder + platform::kPathSepText + name;
  if (!platform::kNamesFoldCase) {
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
    return findInListing(folder, name, found);
  }
  // Where the system itself finds a name whatever its case, what it finds
  // is reported under its own name, from the listing; one that came after
  // the listing was read has the listing read again.
  if (findInListing(folder, name, found)) return true;
  if (!platform::pathExists(exact.c_str())) return false;
  forgetListing(folder);
  return findInListing(folder, name, found);
}

void forgetListing(const std::string& folder) {
  std::string key = keyOf(folder);
  if (!key.empty()) kept().erase(key);
}

}  // namespace tools
