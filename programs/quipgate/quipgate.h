// The site command hook: answers a user's SITE command with a reply file
// the server shows.
#ifndef PROGRAMS_QUIPGATE_QUIPGATE_H_
#define PROGRAMS_QUIPGATE_QUIPGATE_H_

#include "foundation/xstring.h"

// The reply file could not be made or written.
constexpr int kExitNoReply = -1;

// Splits the SITE text into a keyword and its arguments and runs the
// keyword's command: the version, the help text, the message and request
// boards, the new-directory lists, a playlist of the current folder or a
// rescan of its SFV state. An unknown keyword writes nothing. Returns the
// exit code.
int runSiteCommandHook(const XString& commandLine);

#endif  // PROGRAMS_QUIPGATE_QUIPGATE_H_
