// tunelacer, the MP3 link builder: rebuilds the site's browsing tree of MP3
// releases by artist, genre, group, year, first letter and all in one.
#ifndef PROGRAMS_TUNELACER_TUNELACER_H_
#define PROGRAMS_TUNELACER_TUNELACER_H_

#include "foundation/xstring.h"
#include "hookkit/hook_frame.h"
#include "programs/tunelacer/busy_window.h"

// Exit codes besides the frame's kExitDone (also when the vfs file filled
// up and the scan stopped early), kExitNoDataFolder and kExitNoLock (the
// site-wide lock, or the link builder's own lock, cannot be had: at the
// start nothing is touched, at the end the live vfs file stays as it was).
// The table in this folder's README says what each leaves.
constexpr int kExitLinkerOff = 2;       // link_en is off: nothing touched, no log
constexpr int kExitNoBackupEntry = -1;  // the vfs backup is missing, unreadable or empty
constexpr int kExitBusy = 6;            // another run holds the link builder's lock
constexpr int kExitBadBackup = 7;       // the vfs backup holds a malformed line: nothing cleared
constexpr int kExitSameVfsFile = 8;     // vfsbackup names the live vfs file: nothing touched
constexpr int kExitSaveFailed = 9;      // the live vfs file could not be written; the old one stays
// The live vfs file or its backup leads to no regular file (a link to
// nothing, a folder): nothing touched, logged.
constexpr int kExitVfsNotAFile = 10;

// The lock file, in the data folder, that keeps a second run from working
// beside the first.
constexpr const char* kLinkerLockFile = "tunelacer.lock";

// The periodic run: takes its own path from the command line, enters its
// data folder, walks the source folders, clears the link roots of all but
// this run's link folders, makes those that are missing, and writes the
// live vfs file as the backup plus one entry per link, carrying over the
// new-day program's today and yesterday links. `makeWindow` shows the
// busy window when the settings ask for it (null: never). Returns the exit
// code.
int runLinkBuilder(const XString& commandLine, BusyWindowMaker makeWindow);

#endif  // PROGRAMS_TUNELACER_TUNELACER_H_
