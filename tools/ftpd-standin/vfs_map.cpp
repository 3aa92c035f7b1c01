#include "tools/ftpd-standin/vfs_map.h"

#include <algorithm>

#include "platform/paths.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

constexpr int kColumns = 15;
// The server's columns after the owner triple for a real folder.
constexpr const char* kFolderColumns = "r|0|0|0|0|0|0|0|0|";

std::string withTrailing(std::string text, char c) {
  if (text.empty() || text.back() != c) text += c;
  return text;
}

}  // namespace

void VfsMap::parse(const std::string& text) {
  mappings_.clear();
  malformed_ = 0;
  for (const std::string& line : splitLines(text)) {
    if (std::count(line.begin(), line.end(), '|') != kColumns - 1) {
      ++malformed_;
      continue;
    }
    std::string::size_type first = line.find('|');
    std::string::size_type second = line.find('|', first + 1);
    mappings_.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1)});
  }
}

bool VfsMap::toPhysical(const std::string& virtualPath, std::string* physical) const {
  const std::string wanted = withTrailing(virtualPath, '/');
  const VfsMapping* best = nullptr;
  size_t bestLength = 0;
  for (const VfsMapping& mapping : mappings_) {
    std::string prefix = withTrailing(mapping.virtualPath, '/');
    if (!startsWithNoCase(wanted, prefix)) continue;
    if (best == nullptr || prefix.size() > bestLength) {
      best = &mapping;
      bestLength = prefix.size();
    }
  }
  if (best == nullptr) return false;

  std::string tail = wanted.substr(bestLength);
  std::replace(tail.begin(), tail.end(), '/', platform::kPathSep);
  std::string out = withTrailing(best->realPath, platform::kPathSep) + tail;
  while (out.size() > 1 && out.back() == platform::kPathSep) out.pop_back();
  *physical = out;
  return true;
}

std::string vfsLine(const std::string& realPath, const std::string& virtualPath,
                    const std::string& owner, const std::string& group, const std::string& rights) {
  std::string real = realPath;
  if (!real.empty() && real.back() == platform::kPathSep) real.pop_back();
  if (real.empty()) real = platform::kPathSepText;
  std::string virt = virtualPath;
  if (!virt.empty() && virt.back() == '/') virt.pop_back();
  if (virt.empty()) virt = "/";
  return real + "|" + virt + "|" + owner + "|" + group + "|" + rights + "|" + kFolderColumns + "\n";
}

}  // namespace ftpd
