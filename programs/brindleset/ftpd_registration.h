// Registering the suite's programs with the FTP server: the hook lines of
// the server's ".ftpd" file rewritten to start the programs of one install
// folder, after a backup copy of the file.
#ifndef PROGRAMS_BRINDLESET_FTPD_REGISTRATION_H_
#define PROGRAMS_BRINDLESET_FTPD_REGISTRATION_H_

#include <string>
#include <string_view>

#include "foundation/xstring.h"

namespace brindleset {

// What the closing box says after a rewrite.
constexpr const char* kFtpdChanged =
    "Your .ftpd has been changed. A backup has been made in Brindlecast\\data directory.";

// The install folder that holds `workingFolder` (the data folder), with a
// trailing path separator.
XString installFolderOf(const XString& workingFolder);

// "backup of " and the file's name without its folder.
XString backupNameOf(const XString& ftpdFile);

// The text of a ".ftpd" file with each line that registers one of the
// suite's hooks, or a site-command slot that is free or already holds
// quipgate, replaced by the entry for the programs in `installDir` (which
// ends in the path separator). Every other line stays as it is. Lines are
// taken whole and matched without their line end; each line is written
// with CR LF, as the server writes the file, except a last line that had
// no line end and is kept.
std::string registerHooks(std::string_view ftpd, const XString& installDir);

enum class FtpdChange {
  kChanged,     // rewritten; the backup holds the file as it was
  kNotRegular,  // the path leads to no regular file (through a link or not): nothing written
  kNotRead,     // a file that could not be read whole: nothing written
  kBadFolder,   // the install folder's path holds a line break: nothing written
  kReadOnly,    // the file is read-only: nothing written
  kNoBackup,    // the backup could not be written: the file is as it was
  kNotWritten,  // the new file could not be written: the old one stays
};

// Reads `ftpdFile`, writes its bytes unchanged to `backupFile`, then puts
// the registered text in place of the file (through a temporary file beside
// it, keeping its permission bits). The file is rewritten only when the
// backup is complete. A `ftpdFile` that is a link is the administrator's
// own: the file it leads to is rewritten, and the link stays.
[[nodiscard]] FtpdChange changeFtpdFile(const XString& ftpdFile, const XString& backupFile,
                                        const XString& installDir);

// The message for a change that failed where the administrator chose a
// file; empty for kChanged and for kNotRead, which end without a word.
XString ftpdChangeError(FtpdChange change);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_FTPD_REGISTRATION_H_
