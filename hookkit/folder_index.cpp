#include "hookkit/folder_index.h"

#include <cstdint>

#include "hookkit/dir_set.h"

namespace {

inline unsigned char fold(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

size_t FoldedHash::operator()(std::string_view text) const {
  uint64_t h = 1469598103934665603ull;  // FNV-1a, cut to size_t
  for (char c : text) h = (h ^ fold(c)) * 1099511628211ull;
  return static_cast<size_t>(h);
}

bool FoldedEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

FolderIndex::FolderIndex(const XString& folder, bool sizes) {
  readable_ = platform::listFolderUnsorted(folder.str(), sizes, entries_);
  size_t size = 16;
  while (size < entries_.size() * 2) size *= 2;
  slots_.assign(size, 0);
  const size_t mask = size - 1;
  FoldedHash hash;
  for (size_t i = 0; i < entries_.size(); ++i) {
    size_t slot = hash(entries_[i].name) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = i + 1;
  }
}

// The exact name first; else, of the names that fold alike, the first in
// listing order.
const platform::DirEntry* FolderIndex::find(const XString& name) const {
  std::string_view key(name.c_str(), name.length());
  const size_t mask = slots_.size() - 1;
  FoldedEqual equal;
  const platform::DirEntry* first = nullptr;
  for (size_t slot = FoldedHash()(key) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const platform::DirEntry& entry = entries_[slots_[slot] - 1];
    if (!equal(entry.name, key)) continue;
    if (entry.name == key) return &entry;
    if (first == nullptr || platform::listedBefore(entry, *first)) first = &entry;
  }
  return first;
}

namespace {

std::string_view viewOf(const XString& text) {
  return std::string_view(text.c_str(), text.length());
}

}  // namespace

MarkerLookup::Listing* MarkerLookup::listing(std::string_view folder, bool listIfNew) {
  for (auto& known : folders_) {
    if (known.first == folder) return known.second.get();
  }
  if (!listIfNew) return nullptr;
  std::vector<platform::DirEntry> entries;
  std::unique_ptr<Listing> names;
  if (platform::listFolderUnsorted(std::string(folder), false, entries)) {
    names = std::make_unique<Listing>();
    for (platform::DirEntry& e : entries) {
      names->entries.push_back(std::move(e));
      const platform::DirEntry* kept = &names->entries.back();
      names->byName[kept->name].push_back(kept);
    }
  }
  folders_.emplace_back(std::string(folder), std::move(names));
  return folders_.back().second.get();
}

const platform::DirEntry* MarkerLookup::entry(const XString& folder, const XString& name,
                                              bool folded) {
  Listing* names = listing(viewOf(folder), true);
  if (names == nullptr || name.empty()) return nullptr;
  const std::string_view key = viewOf(name);
  auto alike = names->byName.find(key);
  if (alike == names->byName.end()) return nullptr;
  // The exact name; else the first in listing order.
  const platform::DirEntry* first = nullptr;
  for (const platform::DirEntry* e : alike->second) {
    if (e->name == key) return e;
    if (first == nullptr || platform::listedBefore(*e, *first)) first = e;
  }
  return folded ? first : nullptr;
}

bool MarkerLookup::holdsOtherSpelling(const XString& folder, const XString& name) {
  Listing* names = listing(viewOf(folder), true);
  if (names == nullptr || name.empty()) return false;
  const std::string_view key = viewOf(name);
  auto alike = names->byName.find(key);
  if (alike == names->byName.end()) return false;
  for (const platform::DirEntry* e : alike->second) {
    if (e->name != key) return true;
  }
  return false;
}

XString MarkerLookup::locate(const XString& path, bool folded) {
  if (path.empty()) return XString();
  if (platform::pathExists(path.c_str())) return path;
  if (!folded) return XString();
  const XPath folder = folderOf(path);
  const platform::DirEntry* found = entry(folder, fileNameOf(path));
  return found != nullptr ? folder + XString(found->name.c_str()) : XString();
}

void MarkerLookup::forget(const XString& path) {
  const XPath folder = folderOf(path);
  Listing* names = listing(viewOf(folder), false);
  if (names == nullptr) return;
  const XString name = fileNameOf(path);
  const std::string_view key = viewOf(name);
  auto alike = names->byName.find(key);
  if (alike == names->byName.end()) return;
  std::vector<const platform::DirEntry*>& list = alike->second;
  for (auto e = list.begin(); e != list.end(); ++e) {
    if ((*e)->name == key) {
      list.erase(e);
      break;
    }
  }
  if (list.empty()) names->byName.erase(alike);
}

bool MarkerLookup::remove(const XString& path, unsigned char kind, bool folded) {
  const XString found = locate(path, folded);
  if (found.empty() || !removeMarker(found, kind)) return false;
  forget(found);
  return true;
}

bool MarkerLookup::make(const XString& path, unsigned char kind) {
  if (!makeMarker(path, kind)) return false;
  const XPath folder = folderOf(path);
  Listing* names = listing(viewOf(folder), false);
  if (names == nullptr) return true;
  const XString name = fileNameOf(path);
  const std::string_view key = viewOf(name);
  auto alike = names->byName.find(key);
  if (alike != names->byName.end()) {
    for (const platform::DirEntry* e : alike->second) {
      if (e->name == key) return true;
    }
  }
  platform::DirEntry made;
  made.name = std::string(key);
  made.isFolder = kind == 2;
  names->entries.push_back(std::move(made));
  const platform::DirEntry* kept = &names->entries.back();
  names->byName[kept->name].push_back(kept);
  return true;
}

bool isHookFileName(const XString& fileName) {
  return equalNoCase(fileName.c_str(), "racer.sav") || equalNoCase(fileName.c_str(), ".message");
}

bool isSafeListedName(const XString& name) {
  if (name.empty() || name == "." || name == ".." || isHookFileName(name)) return false;
  for (unsigned int i = 0; i < name.length(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[static_cast<int>(i)]);
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?') {
      return false;
    }
  }
  return true;
}
