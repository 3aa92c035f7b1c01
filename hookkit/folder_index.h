// One listing of a folder, looked up by name as a case-insensitive file
// system would: the exact name first, then a match ignoring the case of
// 'A'..'Z'. One listing serves every lookup of a run, so the cost of checking
// a release's files grows linearly with their number.
#ifndef HOOKKIT_FOLDER_INDEX_H_
#define HOOKKIT_FOLDER_INDEX_H_

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/xstring.h"
#include "platform/fs.h"

// Hashing and equality that ignore the case of 'A'..'Z'.
struct FoldedHash {
  size_t operator()(std::string_view text) const;
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const;
};

class FolderIndex {
 public:
  // Without `sizes` the entries' sizes read 0: the listing then costs no
  // look at each entry.
  explicit FolderIndex(const XString& folder, bool sizes = false);

  bool readable() const { return readable_; }
  // The entry that `name` names, or null.
  const platform::DirEntry* find(const XString& name) const;
  // The entries, in no particular order.
  const std::vector<platform::DirEntry>& entries() const { return entries_; }

 private:
  bool readable_ = false;
  std::vector<platform::DirEntry> entries_;
  // An open-addressed table of entry numbers + 1 (0: empty slot) by folded
  // name; names that fold alike lie in one probe run.
  std::vector<size_t> slots_;
};

// Finds the markers of a run as a case-insensitive file system finds them:
// a marker named from the SFV's spelling ("01-A.mp3-missing") is found and
// removed when its file arrived as "01-a.MP3". The exact path first; when
// nothing is there, the first name of its folder's listing that matches
// ignoring the case of 'A'..'Z'. Each folder is listed once, on its first
// such lookup, and the listing follows what the run makes and removes
// through this object. A run keeps one and looks its markers up through it
// while it holds the release's lock.
class MarkerLookup {
 public:
  MarkerLookup() = default;
  MarkerLookup(const MarkerLookup&) = delete;
  MarkerLookup& operator=(const MarkerLookup&) = delete;

  // The path of what stands at `path` in some letter case: `path` itself
  // when it is there, else (with `folded`) the folded match; empty when
  // there is none. Without `folded` only the exact name counts, for a
  // marker whose folded match may be another folder's.
  XString locate(const XString& path, bool folded = true);
  bool exists(const XString& path, bool folded = true) { return !locate(path, folded).empty(); }
  // The entry of `folder` (ending in the separator) that `name` names, from
  // the folder's listing: the exact name first, then (with `folded`) the
  // folded match.
  const platform::DirEntry* entry(const XString& folder, const XString& name, bool folded = true);
  // The listing of `folder` holds a name other than `name` that matches it
  // ignoring case.
  bool holdsOtherSpelling(const XString& folder, const XString& name);
  // Removes the marker of `kind` found at `path` (see removeMarker); false
  // when none went.
  [[nodiscard]] bool remove(const XString& path, unsigned char kind, bool folded = true);
  // Makes a marker at `path` (see makeMarker) and keeps it in the listing.
  [[nodiscard]] bool make(const XString& path, unsigned char kind);

 private:
  // The listing of one folder: every entry it held or the run made there, in
  // a deque so that the names keep their place; by folded name, the ones
  // that still stand.
  struct Listing {
    std::deque<platform::DirEntry> entries;
    std::unordered_map<std::string_view, std::vector<const platform::DirEntry*>, FoldedHash,
                       FoldedEqual>
        byName;
  };
  // The listing of `folder`; null when the folder could not be read.
  Listing* listing(std::string_view folder, bool listIfNew);
  void forget(const XString& path);

  std::vector<std::pair<std::string, std::unique_ptr<Listing>>> folders_;
};

// A name taken from an SFV, which uploaders write, that is safe to look up
// and to name a marker after: not empty, not "." or "..", holding no
// separator, ':', wildcard or control character, and not the name of a file
// the hooks keep in a release.
bool isSafeListedName(const XString& name);

// Names of the files the hooks keep in a release ("racer.sav", ".message",
// any case): an upload may not take them, and an SFV that lists them never
// counts them as present.
bool isHookFileName(const XString& fileName);

#endif  // HOOKKIT_FOLDER_INDEX_H_
