#include "hookkit/folder_index.h"

namespace {

std::string folded(const char* bytes, size_t n) {
  std::string out(bytes, n);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

FolderIndex::FolderIndex(const XString& folder) {
  readable_ = platform::listFolder(folder.str(), entries_);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const std::string& name = entries_[i].name;
    exact_.emplace(name, i);
    folded_.emplace(folded(name.data(), name.size()), i);
  }
}

const platform::DirEntry* FolderIndex::find(const XString& name) const {
  std::string key(name.c_str(), name.length());
  auto hit = exact_.find(key);
  if (hit != exact_.end()) return &entries_[hit->second];
  hit = folded_.find(folded(key.data(), key.size()));
  return hit != folded_.end() ? &entries_[hit->second] : nullptr;
}

bool isSafeListedName(const XString& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned int i = 0; i < name.length(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[static_cast<int>(i)]);
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?') {
      return false;
    }
  }
  return true;
}
