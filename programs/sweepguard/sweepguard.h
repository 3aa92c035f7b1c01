// The pre-delete hook: run before the server deletes a file.
#ifndef PROGRAMS_SWEEPGUARD_SWEEPGUARD_H_
#define PROGRAMS_SWEEPGUARD_SWEEPGUARD_H_

#include "foundation/xstring.h"

// When the file is an SFV, removes the markers its list gave the release
// (missing-file markers, the SFV-incomplete marker, the progress bar) while
// it can still be read; any other file is let go untouched. Returns the exit
// code.
int runPreDeleteHook(const XString& commandLine);

#endif  // PROGRAMS_SWEEPGUARD_SWEEPGUARD_H_
