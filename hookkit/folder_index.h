// One listing of a folder, looked up by name as a case-insensitive file
// system would: the exact name first, then a match ignoring the case of
// 'A'..'Z'. One listing serves every lookup of a run, so the cost of checking
// a release's files grows linearly with their number.
#ifndef HOOKKIT_FOLDER_INDEX_H_
#define HOOKKIT_FOLDER_INDEX_H_

#include <string>
#include <string_view>
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
