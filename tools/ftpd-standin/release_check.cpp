#include "tools/ftpd-standin/release_check.h"

#include <zlib.h>

#include "foundation/xstring.h"
#include "platform/fs.h"
#include "tools/ftpd-standin/ftpd_site.h"

namespace ftpd {

namespace {

// Larger SFVs are not read.
constexpr size_t kSfvLimit = 4 << 20;

}  // namespace

bool hasExtension(const std::string& name, const char* extension) {
  std::string::size_type dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  return XString(name.substr(dot + 1)).equalsNoCase(XString(extension));
}

bool ReleaseCheck::readSfv(const std::string& folder) {
  folder_ = folder;
  sfvName_.clear();
  sfvCrc_ = 0;
  sfv_ = SfvList();
  // Other programs change the folder between our looks at it.
  platform::forgetListing(folder);
  std::vector<platform::DirEntry> listing;
  if (!platform::listFolder(folder, 0, listing)) return false;
  for (const platform::DirEntry& entry : listing) {
    if (XString(entry.name).match(XString("*.sfv"))) {
      sfvName_ = entry.name;
      break;
    }
  }
  if (sfvName_.empty()) return false;
  std::string text;
  if (!readSmallFile(joinPath(folder, sfvName_), kSfvLimit, &text)) return false;
  sfv_.parse(text);
  uLong crc = crc32(0L, Z_NULL, 0);
  sfvCrc_ = static_cast<uint32_t>(
      crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
  return true;
}

ListedFileState ReleaseCheck::check(const SfvFile& listed) const {
  ListedFileState state;
  state.listedName = listed.name;
  platform::DirEntry found;
  if (!platform::findNoCase(folder_, listed.name, &found) || found.isFolder) return state;
  state.diskName = found.name;
  uint32_t crc = 0;
  state.passed = fileCrc32(joinPath(folder_, found.name), &crc) && crc == listed.crc;
  return state;
}

std::vector<ListedFileState> ReleaseCheck::checkAll() const {
  std::vector<ListedFileState> states;
  for (const SfvFile& listed : sfv_.files()) states.push_back(check(listed));
  return states;
}

bool ReleaseCheck::complete() const {
  if (sfv_.files().empty()) return false;
  for (const SfvFile& listed : sfv_.files()) {
    if (!check(listed).passed) return false;
  }
  return true;
}

}  // namespace ftpd
