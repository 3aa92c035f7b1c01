// The pre-upload rules hook: asked before the server accepts an upload.
#ifndef PROGRAMS_LANDGUARD_LANDGUARD_H_
#define PROGRAMS_LANDGUARD_LANDGUARD_H_

#include "foundation/xstring.h"

// Checks the file about to arrive against the global deny patterns and the
// module's SFV and playlist rules and answers through an Ask reply. Makes,
// changes and deletes nothing else. Returns the exit code.
int runPreUploadHook(const XString& commandLine);

#endif  // PROGRAMS_LANDGUARD_LANDGUARD_H_
