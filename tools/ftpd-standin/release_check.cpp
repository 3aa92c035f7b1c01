#include "tools/ftpd-standin/release_check.h"

#include "foundation/xstring.h"
#include "platform/fs.h"
#include "tools/ftpd-standin/util.h"
#include "tools/listing_cache.h"

namespace ftpd {

namespace {

// Larger SFVs are not read.
constexpr size_t kSfvLimit = 4 << 20;

}  // namespace

bool hasExtension(const std::string& name, const char* extension) {
  std::string::size_type dot = name.rfind('.');
  return dot != std::string::npos && equalsNoCase(name.substr(dot + 1), extension);
}

bool ReleaseCheck::readSfv(const std::string& folder) {
  folder_ = folder;
  sfvName_.clear();
  sfv_ = SfvList();
  // Other programs change the folder between our looks at it.
  tools::forgetListing(folder);
  std::vector<platform::DirEntry> listing;
  if (!platform::listFolder(folder, 0, listing)) return false;
  for (const platform::DirEntry& entry : listing) {
    if (XString(entry.name).match(XString("*.sfv"))) {
      sfvName_ = entry.name;
      break;
    }
  }
  if (sfvName_.empty()) return false;
  return sfv_.load(joinPath(folder, sfvName_), kSfvLimit);
}

ListedFileState ReleaseCheck::check(const SfvFile& listed) const {
  ListedFileState state;
  state.listedName = listed.name;
  if (!listed.name.empty() && equalsNoCase(listed.name, sfvName_)) {
    state.diskName = sfvName_;
    state.passed = true;
    state.isSfv = true;
    return state;
  }
  platform::DirEntry found;
  if (!tools::findNoCase(folder_, listed.name, &found) || found.isFolder) return state;
  state.diskName = found.name;
  uint32_t crc = 0;
  state.passed =
      listed.hasCrc && fileCrc32(joinPath(folder_, found.name), &crc) && crc == listed.crc;
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
