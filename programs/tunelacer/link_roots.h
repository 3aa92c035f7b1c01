// The six folders the link trees are made in, and what may be cleared of
// them.
#ifndef PROGRAMS_TUNELACER_LINK_ROOTS_H_
#define PROGRAMS_TUNELACER_LINK_ROOTS_H_

#include <string>
#include <unordered_set>
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

// The folders a run links into, in the order it asks for them: the roots,
// then for each link its value's folder and the link folder. The run makes
// them only once the roots are cleared, so that a folder that is there
// already stays as it is instead of going and coming back.
class LinkFolders {
 public:
  // `folder` with or without its final separator; a repeat changes nothing.
  void add(const XString& folder);
  bool wants(const std::string& path) const { return wanted_.count(path) > 0; }
  // The folders that are there already.
  void found(const std::vector<std::string>& paths);
  // Makes each folder that is not there, in the order they were asked for;
  // one that cannot be made (a missing parent, a file in the way) is passed.
  void makeMissing() const;

 private:
  std::vector<std::string> order_;
  std::unordered_set<std::string> wanted_;
  std::unordered_set<std::string> there_;
};

// Deletes the link tree at `folder` with the folder itself, apart from the
// folders `keep` wants: folders, empty files and links (as links) go;
// anything else stays, and the log names it ("! left in place: ..."). An
// empty path does nothing. Refusals are the caller's, through
// linkRootRefusal.
void removeTree(const XString& folder, XLog& log, LinkFolders* keep = nullptr);

#endif  // PROGRAMS_TUNELACER_LINK_ROOTS_H_
