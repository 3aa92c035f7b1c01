// The virtual paths of link folders, looked up by their real path's
// folders instead of by a walk over every entry of the vfs file.
#ifndef PROGRAMS_TUNELACER_VFS_LINK_INDEX_H_
#define PROGRAMS_TUNELACER_VFS_LINK_INDEX_H_

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/xstring.h"
#include "serverfiles/vfs_file.h"

// The entries a VFSfile holds when the index is made, keyed by their real
// paths with 'A'..'Z' folded. virtualPathOf answers as VFSfile::virtualPathOf
// over those entries would, in time that grows with the depth of the folder
// and not with the number of entries. Entries added to the file later are
// not seen: the link builder adds only entries for its source folders, and
// no link folder lies below one of those.
class VfsLinkIndex {
 public:
  explicit VfsLinkIndex(const VFSfile& vfs);
  VfsLinkIndex(const VfsLinkIndex&) = delete;
  VfsLinkIndex& operator=(const VfsLinkIndex&) = delete;

  // The virtual path of a real folder, ending in '/'; empty when no entry
  // covers it.
  XString virtualPathOf(const XString& realDir) const;
  // Some indexed entry has this virtual path (ASCII case ignored, one
  // trailing '/' dropped from each side).
  bool hasVirtualPath(std::string_view virtualPath) const;

 private:
  std::vector<std::string> virtualPaths_;  // by list position, the head first
  std::vector<std::string> keys_;          // folded real paths ending in the separator
  std::unordered_map<std::string_view, int> byKey_;
  int coversAll_ = -1;  // the entry with an empty real path that wins, -1 for none
};

// Two virtual paths name one folder: ASCII case ignored, one trailing '/'
// dropped from each.
bool sameVirtualPath(std::string_view a, std::string_view b);

#endif  // PROGRAMS_TUNELACER_VFS_LINK_INDEX_H_
