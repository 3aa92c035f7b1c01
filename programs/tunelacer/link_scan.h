// The scan of the MP3 source folders: a walk over each, and for every
// folder with an MP3 file a link folder and a vfs entry per kind of link.
#ifndef PROGRAMS_TUNELACER_LINK_SCAN_H_
#define PROGRAMS_TUNELACER_LINK_SCAN_H_

#include <memory>
#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "media/mp3_info.h"
#include "platform/fs.h"
#include "programs/tunelacer/busy_window.h"
#include "programs/tunelacer/link_roots.h"
#include "programs/tunelacer/vfs_link_index.h"
#include "serverfiles/vfs_file.h"
#include "settings/lconfig.h"

// Walks the source folders depth first without recursing: one FInfo per
// folder level holds that folder's listing and where the walk is in it.
// Each folder is listed once; its first non-empty MP3 file (in listing
// order, not a link) names the folder's artist, genre and year, and its
// subfolders, links to folders aside, are walked in listing order. Every
// step goes into the log text as the administrator knows the log; the link
// folders are asked for from `folders`, which makes them later.
class LinkScan {
 public:
  // `roots` holds, per kind of link, the root to link into (ending in the
  // separator), or an empty text when that kind is off or its root was
  // refused. Entries go into `vfs`; link folders are looked up in `index`.
  LinkScan(const LConfig& config, const XString (&roots)[kLinkKinds], VFSfile& vfs,
           const VfsLinkIndex& index, LinkFolders& folders, std::string& log, BusyWindow* window);
  LinkScan(const LinkScan&) = delete;
  LinkScan& operator=(const LinkScan&) = delete;

  // Walks `source` (a separator is added when it lacks one). False when
  // the vfs file filled up: the whole scan ends there.
  bool scanSource(const XString& source);

 private:
  // One folder level of the walk; the chain of them is the walk's stack.
  struct FInfo {
    std::vector<platform::DirEntry> listing;
    size_t next = 0;               // the first entry not looked at yet
    unsigned int pathLength = 0;   // of the folder's path, its separator included
    std::unique_ptr<FInfo> above;  // the level of the parent folder
  };

  // Lists the folder `path_` names into a new level; false when the
  // vfs file filled up while the folder was linked.
  bool enterFolder();
  // The first non-empty MP3 file of a listing; empty when there is none.
  XString firstMP3(const std::vector<platform::DirEntry>& listing) const;
  // Links the folder in every kind that is on; false when the vfs file
  // filled up.
  bool linkFolder(const XString& mp3);
  // One link of the folder under root + value (no value for all in one);
  // false when the vfs file is full.
  bool link(const XString& root, const XString& value, const XString& name);
  void logScanning();

  const LConfig& config_;
  const XString (&roots_)[kLinkKinds];
  VFSfile& vfs_;
  const VfsLinkIndex& index_;
  LinkFolders& folders_;
  std::string& log_;
  BusyWindow* window_;
  XString path_;  // the folder the walk is in, ending in the separator
  std::unique_ptr<FInfo> level_;
};

#endif  // PROGRAMS_TUNELACER_LINK_SCAN_H_
