// The SFV failed hook: run after a file of a release failed its check; the
// server keeps such a file under its name with ".bad" appended.
#ifndef PROGRAMS_TALLYSOUR_TALLYSOUR_H_
#define PROGRAMS_TALLYSOUR_TALLYSOUR_H_

#include "foundation/xstring.h"

// Leaves, deletes or empties the bad file as the module's `badf` says, hands
// what is left of it to the chmod program, removes the SFV-missing marker
// and records in the memo that the file was checked. Returns the exit code.
int runSfvFailedHook(const XString& commandLine);

#endif  // PROGRAMS_TALLYSOUR_TALLYSOUR_H_
