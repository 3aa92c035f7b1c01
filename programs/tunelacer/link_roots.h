// The six folders the link trees are made in, and what may be cleared of
// them.
#ifndef PROGRAMS_TUNELACER_LINK_ROOTS_H_
#define PROGRAMS_TUNELACER_LINK_ROOTS_H_

#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "media/xlog.h"

// The kinds of link, in the order the run clears their roots.
enum LinkKind { kArtistLinks, kGenreLinks, kGroupLinks, kYearLinks, kDirnameLinks, kAllInOneLinks };
constexpr int kLinkKinds = 6;

// The folders a link root must keep away from, each as resolvedPath gives
// it and, for the source folders, also as typed.
struct ProtectedFolders {
  std::string install;
  std::string data;
  std::vector<std::string> vfsFolders;      // the folders of the vfs file and its backup
  std::vector<std::string> sources;         // resolved
  std::vector<std::string> sourcesAsTyped;  // with the separator at the end
};

// Why a link root may be neither cleared nor linked into; null when it may.
// A root that is the file-system root, the install or data folder or holds
// one of them, holds the folder of the vfs files, is, holds or lies in a
// source folder (as typed or after its links are followed), or is itself a
// symbolic link is refused, and so is an empty one.
const char* linkRootRefusal(const XString& root, const ProtectedFolders& keep);

// Deletes the link tree at `folder` with the folder itself: folders, empty
// files and links (as links) go; anything else stays, and the log names it
// ("! left in place: ..."). An empty path does nothing. Refusals are the
// caller's, through linkRootRefusal.
void removeTree(const XString& folder, XLog& log);

#endif  // PROGRAMS_TUNELACER_LINK_ROOTS_H_
