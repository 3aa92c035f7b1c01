#include "programs/tunelacer/vfs_link_index.h"

#include "platform/paths.h"

namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string foldedText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = folded(c);
  return out;
}

std::string_view withoutTrailingSlash(std::string_view path) {
  if (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return path;
}

}  // namespace

bool sameVirtualPath(std::string_view a, std::string_view b) {
  a = withoutTrailingSlash(a);
  b = withoutTrailingSlash(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (folded(a[i]) != folded(b[i])) return false;
  }
  return true;
}

// Of entries with one real path the one nearest the end of the list wins,
// as in VFSfile::virtualPathOf: walking from the head, a later one replaces
// an earlier one.
VfsLinkIndex::VfsLinkIndex(const VFSfile& vfs) {
  const char sep = platform::kPathSep;
  for (int i = 0; const VFSfileEntry* e = vfs.entry(i); ++i) {
    virtualPaths_.emplace_back(e->virtualPath);
    std::string key = foldedText(e->realPath);
    if (!key.empty() && key.back() != sep) key.push_back(sep);
    keys_.push_back(std::move(key));
  }
  byKey_.reserve(keys_.size());
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i].empty()) {
      coversAll_ = static_cast<int>(i);
    } else {
      byKey_[keys_[i]] = static_cast<int>(i);
    }
  }
}

XString VfsLinkIndex::virtualPathOf(const XString& realDir) const {
  const char sep = platform::kPathSep;
  std::string dir(realDir.c_str(), realDir.length());
  if (dir.empty() || dir.back() != sep) dir.push_back(sep);
  const std::string key = foldedText(dir);

  // The longest folder of the path that an entry names: each prefix that
  // ends in a separator, longest first.
  int best = -1;
  size_t bestLength = 0;
  for (size_t end = key.size(); end > 0;) {
    auto hit = byKey_.find(std::string_view(key.data(), end));
    if (hit != byKey_.end()) {
      best = hit->second;
      bestLength = end;
      break;
    }
    if (end < 2) break;
    size_t at = key.rfind(sep, end - 2);
    if (at == std::string::npos) break;
    end = at + 1;
  }
  // An empty real path counts as one character long: it ties with the root.
  if (coversAll_ >= 0 && (best < 0 || (bestLength == 1 && coversAll_ > best))) {
    best = coversAll_;
    bestLength = 1;
  }
  if (best < 0) return XString();

  std::string result = virtualPaths_[static_cast<size_t>(best)];
  if (result.empty() || result.back() != '/') result.push_back('/');
  if (bestLength < dir.size()) result.append(dir, bestLength, std::string::npos);
  for (char& c : result) {
    if (c == sep) c = '/';
  }
  return XString(result);
}

bool VfsLinkIndex::hasVirtualPath(std::string_view virtualPath) const {
  for (const std::string& path : virtualPaths_) {
    if (sameVirtualPath(path, virtualPath)) return true;
  }
  return false;
}
