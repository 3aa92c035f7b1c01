// The credit allotment program: run periodically, it gives the server's
// users the credits their allotment entries name, at most once a day.
#ifndef PROGRAMS_CREDITDOLE_CREDITDOLE_H_
#define PROGRAMS_CREDITDOLE_CREDITDOLE_H_

#include "foundation/xstring.h"
#include "stores/date_time.h"

// Exit codes of creditdole besides the frame's (0 done, 4 no data folder,
// 5 the site-wide lock cannot be had: nothing changed).
// The allotment already ran today: nothing changed.
constexpr int kExitAlreadyRan = 1;
// The user file cannot be read whole (missing, unreadable, or a line
// without exactly 22 separators): nothing changed, so the next start tries
// again.
constexpr int kExitUsersUnreadable = 6;
// The user file could not be written: the old file and "lastallot.sav"
// stay as they were, so the next start tries again.
constexpr int kExitUsersNotSaved = 7;
// "lastallot.sav" is not a regular file (nothing changed), or could not be
// written after the credits were saved (a second start today would give
// them again).
constexpr int kExitLastAllotUnusable = 8;

// The day of the last run that gave credits, in the data folder: a date in
// its stored form (7 bytes).
constexpr const char* kLastAllotFile = "lastallot.sav";

enum class LastAllot {
  kNone,      // no file, or one too short to hold a date
  kRead,      // the date was read
  kUnusable,  // something other than a regular file is there
};
LastAllot readLastAllot(const char* path, Date* date);
// Replaces the file with the date, flushed to the disk.
[[nodiscard]] bool writeLastAllot(const char* path, const Date& date);

// Gives the day's credits unless the allotment already ran today. The
// site-wide lock is held from the look at "lastallot.sav" to its write, the
// user file read and written in between. Returns the exit code.
int runAllotment(const XString& commandLine);

#endif  // PROGRAMS_CREDITDOLE_CREDITDOLE_H_
