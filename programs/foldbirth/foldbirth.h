// The new-directory hook: asked by the server when a folder is made.
#ifndef PROGRAMS_FOLDBIRTH_FOLDBIRTH_H_
#define PROGRAMS_FOLDBIRTH_FOLDBIRTH_H_

#include "foundation/xstring.h"

// Refuses folder names that match the global deny patterns and answers
// through an Ask reply. An allowed folder gets its creator marker (the
// module's `cinfo`) and is entered at the head of the site's new-directory
// list and, when the module keeps one, of the module's own list, whose shown
// files are rewritten. Returns the exit code: kExitDone, kExitFieldCount (no
// reply), kExitNoModule (reply "1"), kExitNoDataFolder (no reply) or
// kExitNoLock (reply "1"; the lists cannot be locked, nothing was made).
int runNewDirHook(const XString& commandLine);

#endif  // PROGRAMS_FOLDBIRTH_FOLDBIRTH_H_
