// The credit allotment program: run periodically, it gives the server's
// users the credits their allotment entries name, at most once a day.
#ifndef PROGRAMS_CREDITDOLE_CREDITDOLE_H_
#define PROGRAMS_CREDITDOLE_CREDITDOLE_H_

#include "foundation/xstring.h"
#include "stores/date_time.h"

class XFile;

// Exit codes of creditdole besides the frame's (0 done, 4 no data folder,
// 5 the site-wide lock cannot be had: nothing changed). The table in this
// folder's README says what each leaves.
// The allotment already ran today: nothing changed.
constexpr int kExitAlreadyRan = 1;
// The user file cannot be read whole (missing, unreadable, or a line
// without exactly 22 separators): nothing changed, so the next start tries
// again.
constexpr int kExitUsersUnreadable = 6;
// The user file could not be written: the old file and "lastallot.sav"
// stay as they were, so the next start tries again.
constexpr int kExitUsersNotSaved = 7;
// The day cannot be recorded: "lastallot.sav" is not a regular file, or a
// new one cannot be written, or it could not be put in place after the
// credits were saved and they were taken back again. Nothing changed, so
// the next start tries again.
constexpr int kExitLastAllotUnusable = 8;
// The user file's path leads to no regular file (a link to nothing, a
// folder): nothing changed.
constexpr int kExitUsersNotAFile = 9;
// The credits were saved, but neither could the day be recorded nor the
// credits be taken back: a second start today gives them again.
constexpr int kExitGivenNotRecorded = 10;

// The day of the last run that gave credits, in the data folder: a date in
// its stored form (7 bytes).
constexpr const char* kLastAllotFile = "lastallot.sav";

enum class LastAllot {
  kNone,      // no file, or one too short to hold a date
  kRead,      // the date was read
  kUnusable,  // something other than a regular file is there
};
LastAllot readLastAllot(const char* path, Date* date);
// Writes the date into a new file beside `path`, flushed to the disk, that
// `file` then puts in place with commitDurable() (or drops when closed
// without). False when it cannot be written.
[[nodiscard]] bool prepareLastAllot(const char* path, const Date& date, XFile* file);

// Gives the day's credits unless the allotment already ran today. The
// site-wide lock is held from before the clock is read to the write of
// "lastallot.sav", the user file read and written in between; the day is
// made ready to be recorded before any credit is given. Returns the exit
// code.
int runAllotment(const XString& commandLine);

#endif  // PROGRAMS_CREDITDOLE_CREDITDOLE_H_
