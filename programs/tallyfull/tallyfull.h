// The SFV completed hook: run when the last file a release's SFV lists has
// passed its check.
#ifndef PROGRAMS_TALLYFULL_TALLYFULL_H_
#define PROGRAMS_TALLYFULL_TALLYFULL_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"

// Removes the SFV-incomplete marker, drops racer.sav when the upload hook
// has already answered for this file, builds the playlist, copies the
// advertisement file into the release and records in the memo that this
// file completed the release. Returns the exit code.
int runSfvCompletedHook(const XString& commandLine);

// Copies the text file `source` into the DirSet's folder under its own name
// (an existing file of that name is overwritten). 0 when copied; -1, with
// nothing made, when the source is not a readable file or the target cannot
// be created.
int copyFileIntoRelease(const DirSet* dirSet, const XString& source);

#endif  // PROGRAMS_TALLYFULL_TALLYFULL_H_
