// Folder listings with the suite's wildcard and the runtime's attribute
// masks: files are always listed, folders only when the folder bit is asked
// for. Entries come sorted by case-folded name, so "the first listed" is the
// same on every machine.
#ifndef FOUNDATION_DIR_LISTING_H_
#define FOUNDATION_DIR_LISTING_H_

#include <vector>

#include "foundation/xstring.h"
#include "platform/fs.h"

// Attribute masks the suite asks for.
constexpr unsigned int kListFiles = platform::kAttrHidden;  // files, hidden ones too
constexpr unsigned int kListAll = platform::kAttrHidden | platform::kAttrFolder;

// Entries of `folder` (with or without a trailing separator) whose whole name
// matches `pattern`, in listing order. Sizes are not looked up (they read 0).
std::vector<platform::DirEntry> listMatching(const XString& folder, const XString& pattern,
                                             unsigned int attributes);

// The first such entry; false when there is none.
bool findFirstMatching(const XString& folder, const XString& pattern, unsigned int attributes,
                       platform::DirEntry* found);

#endif  // FOUNDATION_DIR_LISTING_H_
