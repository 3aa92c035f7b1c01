#include "programs/tunelacer/tunelacer.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "hookkit/hook_programs.h"
#include "media/xlog.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "programs/tunelacer/link_roots.h"
#include "programs/tunelacer/link_scan.h"
#include "programs/tunelacer/vfs_link_index.h"
#include "serverfiles/server_file.h"
#include "serverfiles/vfs_file.h"
#include "settings/lconfig.h"

namespace {

// The resolved folder that holds `file`.
std::string folderOf(const XString& file) {
  const std::string resolved = platform::resolvedPath(file.str());
  const size_t sep = resolved.rfind(platform::kPathSep);
  if (sep == std::string::npos) return std::string();
  return sep == 0 ? std::string(platform::kPathSepText) : resolved.substr(0, sep);
}

// A backup that is the live file would gain this run's links and hand them
// to the next run as fixed entries, so links would pile up run after run.
bool sameVfsFile(const XString& backup, const XString& live) {
  if (backup.empty() || live.empty()) return false;
  return backup == live ||
         platform::resolvedPath(backup.str()) == platform::resolvedPath(live.str()) ||
         platform::sameFile(backup.c_str(), live.c_str());
}

ProtectedFolders protectedFolders(const GConfig& global, const LConfig& links) {
  ProtectedFolders keep;
  keep.data = platform::resolvedPath(".");
  keep.install = platform::resolvedPath("..");
  for (const XString* file : {&global.vfsfile, &global.vfsbackup}) {
    if (!file->empty()) keep.vfsFolders.push_back(folderOf(*file));
  }
  for (const XStringListEntry* e = links.link_pathes.head; e != nullptr; e = e->next) {
    if (e->text.empty()) continue;
    keep.sources.push_back(platform::resolvedPath(e->text.str()));
    std::string typed = e->text.str();
    if (typed.back() != platform::kPathSep) typed.push_back(platform::kPathSep);
    keep.sourcesAsTyped.push_back(typed);
  }
  return keep;
}

// The new-day program's today and yesterday links in `live`: the first
// entry of kind 'r' with the virtual path of each new-day link folder,
// unless the backup maps that virtual path itself. Today's comes first, so
// that added in this order they stand as the new-day program puts them.
std::vector<const VFSfileEntry*> newDayLinks(const VFSfile& live, const VfsLinkIndex& backup,
                                             const GConfig& global) {
  std::vector<const VFSfileEntry*> found;
  for (const XString* folder : {&global.nd.todaylink, &global.nd.yesterdaylink}) {
    if (folder->empty()) continue;
    const XString virtualPath = backup.virtualPathOf(*folder);
    if (virtualPath.empty() || backup.hasVirtualPath(virtualPath.c_str())) continue;
    for (int i = 0; const VFSfileEntry* e = live.entry(i); ++i) {
      if (e->kind() != 'r' || !sameVirtualPath(e->virtualPath, virtualPath.c_str())) continue;
      if (std::find(found.begin(), found.end(), e) == found.end()) found.push_back(e);
      break;
    }
  }
  return found;
}

XString text(std::string_view view) {
  return XString(view.data(), static_cast<unsigned int>(view.size()));
}

// Writes the live vfs file under the site-wide lock, with the new-day links
// it holds now carried over in front.
int saveLinks(VFSfile& vfs, const VfsLinkIndex& backup, const GConfig& global, XLog& log) {
  platform::FileLock lock;
  if (!lock.held()) {
    log.write("! cannot lock the site: vfs file \"")
        .writeString(global.vfsfile)
        .write("\" not written\n");
    return kExitNoLock;
  }
  const VFSfile live(global.vfsfile.c_str(), vfs.maxEntries);
  for (const VFSfileEntry* e : newDayLinks(live, backup, global)) {
    if (!vfs.addEntry(text(e->realPath), text(e->virtualPath), text(e->owner()), text(e->group()),
                      text(e->rights()), e->kind(), e->column7(), e->column10(), e->column9(),
                      e->column8(), e->column11(), e->column12(), e->column13(), e->column14())) {
      log.write("! cannot carry over the link \"").writeString(text(e->virtualPath)).write("\"\n");
    }
  }
  if (vfs.save(global.vfsfile.c_str()) != 1) {
    log.write("! cannot write vfs file \"").writeString(global.vfsfile).write("\"\n");
    return kExitSaveFailed;
  }
  return kExitDone;
}

// The administrator's vfs files behind links are followed; a path that
// leads to something else is neither read nor replaced. False when one
// does, logged.
bool vfsFilesAreFiles(const GConfig& global, XLog& log) {
  for (const XString* file : {&global.vfsbackup, &global.vfsfile}) {
    std::string target;
    if (!serverFileTarget(file->c_str(), &target) && platform::pathExists(file->c_str())) {
      log.write("! vfs file \"")
          .writeString(*file)
          .write("\" is not a regular file: nothing changed\n");
      return false;
    }
  }
  return true;
}

// Each kind's link root as set and whether the kind is on; of a root that
// is set or on, why it is refused (null: it is not), and the root this run
// links into (empty: none).
struct LinkRootChoice {
  const XPath* folders[kLinkKinds];
  bool on[kLinkKinds];
  const char* refusals[kLinkKinds];
  XString roots[kLinkKinds];

  bool considered(int kind) const { return !folders[kind]->empty() || on[kind]; }
};

LinkRootChoice chooseLinkRoots(const GConfig& global, const LConfig& links) {
  LinkRootChoice choice{{&links.link_artistdir, &links.link_genredir, &links.link_groupdir,
                         &links.link_yeardir, &links.link_dirnamedir, &links.link_allinonedir},
                        {links.link_artisten, links.link_genreen, links.link_groupen,
                         links.link_yearen, links.link_dirnameen, links.link_allinoneen},
                        {},
                        {}};
  const ProtectedFolders keep = protectedFolders(global, links);
  for (int kind = 0; kind < kLinkKinds; ++kind) {
    if (!choice.considered(kind)) continue;
    choice.refusals[kind] = linkRootRefusal(*choice.folders[kind], keep);
    if (choice.refusals[kind] == nullptr && choice.on[kind]) {
      choice.roots[kind] = *choice.folders[kind];
      choice.roots[kind].ensureTrailing(platform::kPathSep);
    }
  }
  return choice;
}

// Clears every root that is not refused of all but this run's link
// folders; a refused root is logged and left alone.
void clearLinkRoots(const LinkRootChoice& choice, LinkFolders* linkFolders, XLog& log) {
  log.write("clearing old directories.\n");
  for (int kind = 0; kind < kLinkKinds; ++kind) {
    if (!choice.considered(kind)) continue;
    const XString& root = *choice.folders[kind];
    if (choice.refusals[kind] != nullptr) {
      log.write("! refusing link root \"")
          .writeString(root)
          .write("\": ")
          .write(choice.refusals[kind])
          .write("\n");
      continue;
    }
    removeTree(root, log, linkFolders);
  }
}

}  // namespace

int runLinkBuilder(const XString& commandLine, BusyWindowMaker makeWindow) {
  HookFrame frame(kTunelacer);
  int code = frame.takeFields(commandLine);
  if (code != kExitDone) return code;
  frame.loadGlobal();
  LConfig links;
  // Without a readable file the builder stays off, as a fresh record has it.
  (void)links.load(kLinkerConfigFile);
  if (!links.link_en) return kExitLinkerOff;

  platform::RunLock running(kLinkerLockFile);
  if (!running.held()) return running.busy() ? kExitBusy : kExitNoLock;
  if (!siteLockAvailable()) return kExitNoLock;
  const GConfig& global = frame.global;
  if (sameVfsFile(global.vfsbackup, global.vfsfile)) return kExitSameVfsFile;

  XLog log(links.link_logfile);
  if (!vfsFilesAreFiles(global, log)) return kExitVfsNotAFile;
  std::unique_ptr<BusyWindow> window;
  if (links.link_show && makeWindow != nullptr) window = makeWindow();

  const int limit = static_cast<int>(std::min<unsigned int>(global.vfs_maxentrys, INT_MAX));
  VFSfile vfs(global.vfsbackup.c_str(), limit);
  if (!vfs.valid) {
    log.write("! vfs backup \"")
        .writeString(global.vfsbackup)
        .write("\" holds a malformed line: nothing changed\n");
    return kExitBadBackup;
  }
  if (vfs.count == 0) return kExitNoBackupEntry;
  const VfsLinkIndex index(vfs);
  // The links leave room for the new-day links that the live file holds.
  size_t reserved = 0;
  {
    const VFSfile live(global.vfsfile.c_str(), limit);
    reserved = newDayLinks(live, index, global).size();
  }

  const LinkRootChoice choice = chooseLinkRoots(global, links);
  const XString(&roots)[kLinkKinds] = choice.roots;

  // The scan comes first, so that the roots are cleared of only what this
  // run does not link again: a folder linked in the last run and in this
  // one stays, where removing it and making it again would cost a run over
  // a large site most of its time. The log tells the steps in their order.
  LinkFolders linkFolders;
  for (int kind :
       {kArtistLinks, kGroupLinks, kGenreLinks, kYearLinks, kDirnameLinks, kAllInOneLinks}) {
    if (!roots[kind].empty()) linkFolders.add(roots[kind]);
  }
  std::string scanned;
  vfs.maxEntries = std::max(0, limit - static_cast<int>(reserved));
  LinkScan scan(links, roots, vfs, index, linkFolders, scanned, window.get());
  for (const XStringListEntry* e = links.link_pathes.head; e != nullptr; e = e->next) {
    if (e->text.empty()) continue;  // an empty line names no folder
    if (!scan.scanSource(e->text)) break;
  }
  vfs.maxEntries = limit;

  clearLinkRoots(choice, &linkFolders, log);
  log.write("creating new directories.\n");
  linkFolders.makeMissing();
  log.write("scanning directorys.\n");
  log.writeString(XString(scanned));
  window.reset();
  return saveLinks(vfs, index, global, log);
}
