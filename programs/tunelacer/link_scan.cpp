#include "programs/tunelacer/link_scan.h"

#include <algorithm>

#include "platform/paths.h"
#include "programs/tunelacer/link_names.h"

namespace {

constexpr const char* kUnknown = "unknown";
constexpr const char* kNoYear = "n-a";

bool isMP3Name(const std::string& name) {
  return matchWildcard(name.data(), name.size(), "*.mp3", 5);
}

std::string& operator<<(std::string& out, const char* text) { return out.append(text); }
std::string& operator<<(std::string& out, const XString& text) {
  return out.append(text.c_str(), text.length());
}

// A value that would break a line of the server's vfs file apart.
bool fitsVfsLine(const XString& value) {
  for (unsigned int i = 0; i < value.length(); ++i) {
    char c = value[static_cast<int>(i)];
    if (c == '|' || c == '\r' || c == '\n') return false;
  }
  return true;
}

}  // namespace

LinkScan::LinkScan(const LConfig& config, const XString (&roots)[kLinkKinds], VFSfile& vfs,
                   const VfsLinkIndex& index, LinkFolders& folders, std::string& log,
                   BusyWindow* window)
    : config_(config),
      roots_(roots),
      vfs_(vfs),
      index_(index),
      folders_(folders),
      log_(log),
      window_(window) {}

void LinkScan::logScanning() { log_ << "|--scanning dir: " << path_ << "\n"; }

bool LinkScan::scanSource(const XString& source) {
  path_ = source;
  path_.ensureTrailing(platform::kPathSep);
  level_.reset();
  logScanning();
  if (!enterFolder()) return false;
  for (;;) {
    // The level's listing resumes after the subfolder it entered last.
    FInfo& level = *level_;
    const platform::DirEntry* subfolder = nullptr;
    while (subfolder == nullptr && level.next < level.listing.size()) {
      const platform::DirEntry& entry = level.listing[level.next++];
      if (entry.isFolder && !entry.isLink) subfolder = &entry;
    }
    if (subfolder != nullptr) {
      path_ += XString(subfolder->name);
      path_ += platform::kPathSep;
      logScanning();
      if (!enterFolder()) return false;
      continue;
    }
    level_ = std::move(level_->above);
    if (!level_) return true;  // the source's own level is done
    path_.truncate(level_->pathLength);
    logScanning();
  }
}

bool LinkScan::enterFolder() {
  auto level = std::make_unique<FInfo>();
  level->pathLength = path_.length();
  // A folder that cannot be listed has neither an MP3 file nor subfolders.
  if (platform::listFolderUnsorted(path_.str(), false, level->listing)) {
    std::sort(level->listing.begin(), level->listing.end(), platform::listedBefore);
  }
  const XString mp3 = firstMP3(level->listing);
  level->above = std::move(level_);
  level_ = std::move(level);
  return mp3.empty() || linkFolder(mp3);
}

XString LinkScan::firstMP3(const std::vector<platform::DirEntry>& listing) const {
  for (const platform::DirEntry& entry : listing) {
    if (entry.isFolder || entry.isLink || !isMP3Name(entry.name)) continue;
    const XString path = path_ + XString(entry.name);
    uint64_t size = 0;
    if (platform::fileSize(path.c_str(), &size) && size > 0) return path;
  }
  return XString();
}

bool LinkScan::linkFolder(const XString& mp3) {
  const XString name = lastFolderName(path_);
  const XString linkName = linkSafeText(name.c_str(), "");
  if (linkName.empty()) {
    log_ << "! cannot link directory \"" << path_ << "\": no usable name\n";
    return true;
  }
  if (window_ != nullptr) window_->linking(path_);

  MP3Info info;
  bool tagRead = false;
  auto tag = [&]() -> const MP3Info& {
    if (!tagRead) info.read(mp3.c_str());
    tagRead = true;
    return info;
  };
  for (int kind = 0; kind < kLinkKinds; ++kind) {
    if (roots_[kind].empty()) continue;
    XString value;
    bool unknown = false;
    switch (kind) {
      case kArtistLinks:
        value = linkSafeText(tag().artist, kUnknown);
        log_ << "|  |--artist: " << value << "\n";
        unknown = value == kUnknown;
        break;
      case kGenreLinks:
        value = linkSafeText(tag().genre, kUnknown);
        log_ << "|  |--genre: " << value << "\n";
        unknown = value == kUnknown;
        break;
      case kGroupLinks: {
        XString group;
        const char* note = "\n";
        if (releaseGroupOf(name, &group)) {
          const bool listed = config_.link_list.matchAny(group);
          if (config_.link_listp && !listed) {
            group = XString();
            note = " (groupname not in filterlist)\n";
          } else if (!config_.link_listp && listed) {
            group = XString();
            note = " (groupname in filterlist)\n";
          }
        }
        value = linkSafeText(group.c_str(), kUnknown);
        log_ << "|  |--group: " << value << note;
        unknown = value == kUnknown;
        break;
      }
      case kYearLinks:
        value = linkSafeText(tag().year.c_str(), kNoYear);
        log_ << "|  |--year: " << value << "\n";
        unknown = value == kNoYear || value == "0";
        break;
      case kDirnameLinks:
        value = linkSafeText(dirnameValueOf(name).c_str(), kUnknown);
        log_ << "|  |--dirname: " << value << "\n";
        unknown = value == kUnknown;
        break;
      default:
        log_ << "|  |--all in one: " << linkName << "\n";
        break;
    }
    if (unknown && !config_.link_makeunknown) {
      log_ << "|  |  skipping (makeunknown = false)\n";
      continue;
    }
    if (!link(roots_[kind], value, linkName)) return false;
  }
  log_ << "|\n";
  return true;
}

bool LinkScan::link(const XString& root, const XString& value, const XString& name) {
  // Two releases of one artist share the artist's folder: asked for twice,
  // it is made once.
  XString folder = root;
  if (!value.empty()) {
    folder += value;
    folder += platform::kPathSep;
    folders_.add(folder);
  }
  folder += name;
  folders_.add(folder);

  const XString virtualPath = index_.virtualPathOf(folder);
  if (virtualPath.empty()) {
    log_ << "! cannot calculate virtual path for directory \"" << folder << "\"\n";
    return true;
  }
  const chmod_allow& owner = config_.link_owner;
  for (const XString* text : {&static_cast<const XString&>(path_), &virtualPath, &owner.username,
                              &owner.group, &owner.allow}) {
    if (!fitsVfsLine(*text)) {
      log_ << "! cannot link directory \"" << path_ << "\" to \"" << folder
           << "\": '|' or a line break cannot stand in the vfs file\n";
      return true;
    }
  }
  if (!vfs_.addEntry(path_, virtualPath, owner.username, owner.group, owner.allow, 'r', 0, 0, 0,
                     false, false, false, false, false)) {
    log_ << "! vfs max entrys reached. Aborting";
    return false;
  }
  log_ << "|  |  link: " << virtualPath << "\n";
  return true;
}
