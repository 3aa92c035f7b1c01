// "rescan": the current folder's SFV read again and every marker of its
// state brought in line with the files that are there.
#include <vector>

#include "hookkit/dir_set.h"
#include "hookkit/folder_index.h"
#include "hookkit/progress_bar.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_markers.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "programs/quipgate/quipgate.h"
#include "programs/quipgate/site_command.h"

namespace {

// The folder, its SFV state read once, and the markers made on the way,
// handed to the chmod program once the release's lock is let go.
struct Rescan {
  Rescan(const SiteCommand& command, const MConfig& settings)
      : c(settings),
        user{command.user(), command.group()},
        dirSet(command.folder(), &c.chmod, &user),
        sfv(dirSet.dir) {
    dirSet.setVirtualFolder(command.virtualFolder());
    multi = command.frame.global.mcd_list.matchAny(dirSet.dirName);
  }

  // The release whose lock guards these markers: the release that holds a
  // CD folder, or the folder itself.
  const XString& releaseFolder() const {
    return multi && dirSet.reaches(1) ? dirSet.parentDir : dirSet.dir;
  }
  SFVMissing sfvMissing() { return sfvMissingMarker(dirSet, c, multi, &markers); }
  SFVIncomplete sfvIncomplete() { return sfvIncompleteMarker(dirSet, c, multi, &markers); }
  // Makes a marker that is missing and keeps its path for the chmod run. A
  // marker that is there already, in any letter case while `folded`, is
  // left as it is: it is not made again (for a tag marker that would mean
  // removing and remaking it) nor handed to the chmod program again. `path`
  // is the marker's rendered path, which `make` keeps.
  template <class Make>
  void ensure(const XString& path, bool folded, Make make) {
    if (!markers.exists(path, folded) && make()) owned.push_back(path);
  }

  const MConfig& c;
  UserInfo user;
  DirSet dirSet;
  SFVStatus sfv;
  bool multi = false;
  std::vector<XString> owned;
  // Markers in another letter case are found and repaired as the ones
  // named from the SFV's spelling.
  MarkerLookup markers;
};

// Every bar of an incomplete count goes (the complete bar is not one of
// them), but for the bar of the present count, which the rescan makes again
// at once. The run's one listing of the bar's folder tells which of the
// names is there, in another case too while `folded`.
void removeOldBars(ProgressBar& bar, MarkerLookup& markers, bool folded, unsigned int present,
                   unsigned int total) {
  if (bar.multiCD && !bar.dirSet->reaches(1)) return;
  const XPath& base = bar.multiCD ? bar.dirSet->parentDir : bar.dirSet->dir;
  for (unsigned int i = 0; i < total; ++i) {
    if (i == present) continue;
    bar.set(i, total);
    bar.render();
    if (markers.entry(base, XString(bar.markerPath.c_str() + base.length()), folded) != nullptr) {
      // Found in the listing, so only a bar that is not a marker (a file
      // with bytes, say) stays; the reply's line stands regardless.
      (void)bar.remove();
    }
  }
}

// The reply's lines are written whether or not the marker step before each
// succeeded, or its kind is switched on.
void rescan(Rescan& r, SiteReply& reply) {
  const MConfig& c = r.c;
  const XString sfvPath = r.sfv.firstFile("*.sfv");
  if (sfvPath.empty()) {
    reply << "no sfv found\n";
    SFVMissing missing = r.sfvMissing();
    if (!missing.exists() && missing.make()) r.owned.push_back(missing.markerPath);
    reply << "...sfv missing created\n";
    return;
  }
  const unsigned int total = r.sfv.fileCount();
  const unsigned int present = r.sfv.presentCount();
  reply << "sfv found: " << sfvPath << "\n";

  MissingFiles missingFiles(&r.dirSet, c.mfiles_pat, sfvPath, c.mfiles);
  missingFiles.lookup = &r.markers;
  // One chmod run covers every marker of the folder through the wildcard.
  if (missingFiles.repairFrom(r.sfv) > 0) r.owned.push_back(missingFiles.wildcardPath());
  reply << "...missing files repaired\n";

  // The reply's line is written whether or not a marker went.
  (void)r.sfvMissing().remove();
  reply << "...sfv missing removed\n";

  SFVIncomplete incomplete = r.sfvIncomplete();
  if (present == total) {
    (void)incomplete.remove();
    reply << "...sfv incomplete removed\n";
  } else {
    if (!incomplete.exists() && incomplete.make()) r.owned.push_back(incomplete.markerPath);
    reply << "...sfv incomplete created\n";
  }

  const bool multiCD = r.multi && c.pb.mcd;
  ProgressBar bar(&r.dirSet, &c.pb, 0, total, multiCD);
  bar.sfv = &r.sfv;
  bar.lookup = &r.markers;
  // A CD folder's bar and tag stand in the release beside its other CD
  // folders' markers, named from the CD folder alike.
  const bool folded = bar.takesOtherCase(r.markers);
  removeOldBars(bar, r.markers, folded, present, total);
  reply << "...old progress bars removed\n";

  const XString mp3 = r.sfv.firstFile("*.mp3");
  if (present == total && c.tinfo.merge && c.tinfo.mode != 0 &&
      !c.sfv_dirlist.matchAny(r.dirSet.dir) && !mp3.empty()) {
    TagInfo tag(&r.dirSet, &c.tinfo, mp3, multiCD, true, &r.sfv);
    tag.render();
    r.ensure(tag.markerPath, folded, [&] { return tag.make(); });
    reply << "...completed taginfo created\n";
  } else {
    bar.set(present, total);
    bar.render();
    r.ensure(bar.markerPath, folded, [&] { return bar.make() != 0; });
    reply << "...progress bar created\n";
  }
  if (c.tinfo.mode != 0 && (present != total || !c.tinfo.merge)) {
    TagInfo tag(&r.dirSet, &c.tinfo, mp3, multiCD, false, &r.sfv);
    tag.render();
    r.ensure(tag.markerPath, folded, [&] { return tag.make(); });
    reply << "...tag info created\n";
  }
}

}  // namespace

// The upload hooks change the same markers under the release's lock: the
// rescan reads the folder and changes its markers in one go under it too.
int rescanFolder(SiteCommand& command) {
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  Rescan r(command, *command.frame.config);
  {
    platform::FolderLock lock(r.releaseFolder().c_str());
    if (!lock.held()) return kExitNoLock;
    rescan(r, reply);
  }
  for (const XString& path : r.owned) r.dirSet.applyOwner(path);
  return reply.finish();
}
