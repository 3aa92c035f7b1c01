// The SFV success hook: run after a file of a release passed its check.
#ifndef PROGRAMS_TALLYGLAD_TALLYGLAD_H_
#define PROGRAMS_TALLYGLAD_TALLYGLAD_H_

#include "foundation/xstring.h"

// Removes the file's missing-file marker and the SFV-missing marker, moves
// the progress bar one step, counts the file into the release's race and
// ".message", and records in the memo that the file was checked. Returns the
// exit code.
int runSfvSuccessHook(const XString& commandLine);

#endif  // PROGRAMS_TALLYGLAD_TALLYGLAD_H_
