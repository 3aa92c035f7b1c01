// The new-day program: run once a day, it makes today's folder below the
// configured root and points the server's today and yesterday links at
// today's and yesterday's folders.
#ifndef PROGRAMS_DAWNROLL_DAWNROLL_H_
#define PROGRAMS_DAWNROLL_DAWNROLL_H_

#include "foundation/xstring.h"

// Exit codes of dawnroll besides the frame's (0 done or switched off, 4 no
// data folder, 5 the site-wide lock cannot be had: nothing made). The table
// in this folder's README says what each leaves.
// The vfs file holds no entry (missing, empty, or its first line
// malformed): today's folder was made, no link touched.
constexpr int kExitNoVfsEntry = -1;
// Today's folder cannot be made: `nd_path` is empty, the name has no folder
// in it or an empty part before its last one, or something other than a
// folder is in the way. Levels made before the failing one stay; no link
// is touched.
constexpr int kExitNoDayFolder = 6;
// The vfs file holds a malformed line after its first: it is left as it is.
constexpr int kExitVfsMalformed = 7;
// The vfs file could not be written: the old file stays.
constexpr int kExitVfsNotSaved = 8;
// A link entry was refused (the vfs file is at its entry limit, or a value
// holds a '|' or a line break): the old links are gone and the links that
// fit are saved.
constexpr int kExitLinkRefused = 9;
// The vfs file's path leads to no regular file (a link to nothing, a
// folder): today's folder was made, no link touched.
constexpr int kExitVfsNotAFile = 10;

// Under the site-wide lock, reads the date, makes today's folder and renews
// the links in the vfs file; then, with the lock let go, hands today's
// folder levels and yesterday's folder of that date to the chmod program.
// Returns the exit code.
int runDayRollover(const XString& commandLine);

#endif  // PROGRAMS_DAWNROLL_DAWNROLL_H_
