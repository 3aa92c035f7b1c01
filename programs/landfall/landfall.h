// The upload hook: run after every upload.
#ifndef PROGRAMS_LANDFALL_LANDFALL_H_
#define PROGRAMS_LANDFALL_LANDFALL_H_

#include "foundation/xstring.h"

// Exit code when an uploaded SFV cannot be opened for reading.
constexpr int kExitSfvUnreadable = 2;

// Brings the release's markers up to date, counts the upload into the
// release's race, answers the server and writes ".message", and moves a
// release that this upload completed. Returns the exit code.
int runUploadHook(const XString& commandLine);

#endif  // PROGRAMS_LANDFALL_LANDFALL_H_
