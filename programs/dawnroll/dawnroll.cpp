#include "programs/dawnroll/dawnroll.h"

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/formated_line.h"
#include "hookkit/chmod_runner.h"
#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "serverfiles/vfs_file.h"
#include "settings/gconfig.h"
#include "settings/mconfig.h"
#include "stores/date_time.h"

namespace {

constexpr char kSep = platform::kPathSep;

// The name of a day's folder: `format` with the day's keys. Y is the year
// in decimal and y its text's last two characters (year 5 gives "5").
std::string dayName(const XString& format, const Date& date) {
  XFormatedLine line(format);
  line.keys.add('d', XString(static_cast<unsigned int>(date.day), 2u));
  line.keys.add('o', XString(static_cast<unsigned int>(date.month), 2u));
  line.keys.add('O', XString(shortMonthName(date.month)));
  line.keys.add('p', XString(monthName(date.month)));
  std::string year = std::to_string(date.year);
  line.keys.add('Y', XString(year));
  line.keys.add('y', XString(year.size() > 2 ? year.substr(year.size() - 2) : year));
  return line.render().str();
}

std::string withTrailingSep(std::string path) {
  if (path.empty() || path.back() != kSep) path.push_back(kSep);
  return path;
}

// The levels of a day folder's name, split at the separator up to the first
// empty part. False when there is none, or when a part follows an empty
// one: the folder made would not be the one the name gives.
bool levelsOf(const std::string& name, std::vector<std::string>* parts) {
  size_t start = 0;
  while (start < name.size()) {
    size_t end = name.find(kSep, start);
    if (end == std::string::npos) end = name.size();
    if (end == start) return false;
    parts->push_back(name.substr(start, end - start));
    start = end + 1;
  }
  return !parts->empty();
}

// A folder there already counts as made; a file or a link in its place does
// not, and nothing is handed to the chmod program through a link.
bool makeLevel(const std::string& path) {
  if (platform::makeDir(path.c_str())) return true;
  return !platform::isLink(path.c_str()) && platform::isFolder(path.c_str());
}

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Two real folders are the same when they differ only in ASCII case and
// one trailing separator, as the vfs file's own lookups take them.
bool sameFolder(std::string_view a, std::string_view b) {
  if (!a.empty() && a.back() == kSep) a.remove_suffix(1);
  if (!b.empty() && b.back() == kSep) b.remove_suffix(1);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (folded(a[i]) != folded(b[i])) return false;
  }
  return true;
}

// Drops the earlier links of a link folder: every entry of kind 'r' under
// its virtual path, except one that maps the link folder itself (the
// administrator's). Other kinds stay. True when one went.
bool dropOldLinks(VFSfile& vfs, const XString& virtualPath, const XString& linkFolder) {
  if (virtualPath.empty()) return false;
  const std::string_view folder(linkFolder.c_str(), linkFolder.length());
  bool dropped = false;
  int i = vfs.indexOfVirtualPath(virtualPath);
  while (i >= 0) {
    const VFSfileEntry* entry = vfs.entry(i);
    if (entry->kind() == 'r' && !sameFolder(entry->realPath, folder)) {
      vfs.removeAt(i);
      dropped = true;
    } else {
      ++i;
    }
    i = vfs.indexOfVirtualPath(virtualPath, i);
  }
  return dropped;
}

bool addLink(VFSfile& vfs, const std::string& dayFolder, const XString& virtualPath,
             const chmod_allow& owner) {
  return vfs.addEntry(XString(dayFolder), virtualPath, owner.username, owner.group, owner.allow,
                      'r', 0, 0, 0, false, false, false, false, false);
}

// The virtual path a link takes: that of its folder. A link without a
// folder, or whose folder no vfs entry covers, is left out: it would
// otherwise land on the server's root.
XString linkPath(VFSfile& vfs, const XString& linkFolder) {
  if (linkFolder.empty()) return XString();
  return vfs.virtualPathOf(linkFolder);
}

// Renews the links in the vfs file; the caller holds the site-wide lock.
// The links that fit are saved even when one is refused.
int renewLinks(const GConfig& global, const std::string& todayFolder,
               const std::string& yesterdayFolder) {
  const char* vfsPath = global.vfsfile.c_str();
  std::string target;
  if (!serverFileTarget(vfsPath, &target) && platform::pathExists(vfsPath)) {
    return kExitVfsNotAFile;
  }
  const int limit =
      global.vfs_maxentrys > INT_MAX ? INT_MAX : static_cast<int>(global.vfs_maxentrys);
  VFSfile vfs(vfsPath, limit);
  if (vfs.count == 0) return kExitNoVfsEntry;
  if (!vfs.valid) return kExitVfsMalformed;

  const DawnrollSettings& nd = global.nd;
  // Both are looked up before any entry goes.
  const XString todayVirtual = linkPath(vfs, nd.todaylink);
  const XString yesterdayVirtual = linkPath(vfs, nd.yesterdaylink);
  bool changed = dropOldLinks(vfs, todayVirtual, nd.todaylink);
  changed = dropOldLinks(vfs, yesterdayVirtual, nd.yesterdaylink) || changed;
  bool refused = false;
  if (nd.today && !todayVirtual.empty()) {
    if (addLink(vfs, todayFolder, todayVirtual, global.tod)) {
      changed = true;
    } else {
      refused = true;
    }
  }
  if (nd.yesterday && !yesterdayVirtual.empty()) {
    if (addLink(vfs, yesterdayFolder, yesterdayVirtual, global.past)) {
      changed = true;
    } else {
      refused = true;
    }
  }
  if (changed && vfs.save(vfsPath) != 1) return kExitVfsNotSaved;
  return refused ? kExitLinkRefused : kExitDone;
}

// Today's folder levels from the top, and yesterday's folder, of one date.
struct DayFolders {
  std::vector<std::string> levels;
  std::string today;
  std::string yesterday;
};

// False when the day's name makes no folder, or makes one other than the
// name gives (an empty part before its last).
bool dayFoldersOf(const GConfig& global, const Date& today, DayFolders* folders) {
  Date yesterday = today;
  yesterday.stepBackOneDay();
  const std::string root = withTrailingSep(global.nd.path.str());
  const std::string todayName = dayName(global.nd.format, today);
  folders->today = root + todayName;
  folders->yesterday = root + dayName(global.nd.format, yesterday);
  std::vector<std::string> parts;
  if (!levelsOf(todayName, &parts)) return false;
  std::string level = root;
  for (const std::string& part : parts) {
    level = withTrailingSep(level) + part;
    folders->levels.push_back(level);
  }
  return true;
}

}  // namespace

int runDayRollover(const XString& commandLine) {
  HookFrame frame(kDawnroll);
  int code = frame.takeFields(commandLine);
  if (code != kExitDone) return code;
  frame.loadGlobal();
  const GConfig& global = frame.global;
  const DawnrollSettings& nd = global.nd;
  if (!nd.en) return kExitDone;
  // Without a root the folders would land at the top of the file system.
  if (nd.path.empty()) return kExitNoDayFolder;

  // The clock is read once, under the lock that also covers the links: of
  // two runs on either side of midnight, the one that has the lock last
  // reads the later day and leaves its links. Yesterday is the day before
  // this today. The chmod program is started only once the lock is let go,
  // on the folders of the same date.
  DayFolders folders;
  size_t made = 0;
  {
    platform::FileLock lock;
    if (!lock.held()) return kExitNoLock;
    Date today;
    today.setNow();
    if (!dayFoldersOf(global, today, &folders)) return kExitNoDayFolder;
    code = kExitDone;
    for (const std::string& level : folders.levels) {
      if (!makeLevel(level)) {
        code = kExitNoDayFolder;
        break;
      }
      ++made;
    }
    if (code == kExitDone) {
      // The link folders only give the links their virtual paths: one that
      // cannot be made is no failure of the run.
      if (nd.today && !nd.todaylink.empty()) (void)platform::makeDir(nd.todaylink.c_str());
      if (nd.yesterday && !nd.yesterdaylink.empty()) {
        (void)platform::makeDir(nd.yesterdaylink.c_str());
      }
      code = renewLinks(global, folders.today, folders.yesterday);
    }
  }

  for (size_t i = 0; i < made; ++i) {
    executeChmod(XString(folders.levels[i]), global.tod.username, global.tod.group,
                 global.tod.allow);
  }
  if (code == kExitNoDayFolder) return code;
  // Yesterday's folder is not made; when it is there it gets the owner of
  // past folders, the folder alone.
  const char* yesterday = folders.yesterday.c_str();
  if (platform::isFolder(yesterday) && !platform::isLink(yesterday)) {
    executeChmod(XString(folders.yesterday), global.past.username, global.past.group,
                 global.past.allow);
  }
  return code;
}
