// A sandbox site for the stand-in of the FTP server: the install folder with
// the suite's programs and their data folder, the server's folder with its
// ".ftpd" file, its virtual file system file and its output folder for
// replies, and the folder that the site's virtual root "/" maps to.
//
//   SITE/install/            the programs, the chmod stand-in, help.txt
//   SITE/install/data/       BCconfig.bcc, ModuleIndex.idx, default.bcm;
//                            newdirlist.txt, the new-directory list shown
//   SITE/server/             raidenftpd.ftpd, raidenftpd.vfs (and its backup)
//   SITE/server/output/      ask-... and site-... replies
//   SITE/server/checks/      the stand-in's record of each release's check
//   SITE/server/uploads-in-flight  uploads whose hooks are still running
//   SITE/root/               the virtual "/"
//   SITE/root/requests/      where filled requests are made
//   SITE/links/              the link builder's link trees, the virtual
//                            "/links" (in the vfs file and its backup)
//   SITE/server/wine         on a site of the Windows programs only: how
//                            they are started under Wine (wine_site.h)
//   SITE/server/kept-replies when it is there: a copy of each reply read
#ifndef TOOLS_FTPD_STANDIN_FTPD_SITE_H_
#define TOOLS_FTPD_STANDIN_FTPD_SITE_H_

#include <cstdio>
#include <string>
#include <vector>

#include "tools/ftpd-standin/hook_table.h"
#include "tools/ftpd-standin/util.h"
#include "tools/ftpd-standin/vfs_map.h"
#include "tools/ftpd-standin/wine_site.h"

namespace ftpd {

// The suite's programs that a site installs when they are built, without
// the platform's suffix; the chmod stand-in is the last.
const std::vector<std::string>& installedPrograms();

class FtpdSite {
 public:
  // A relative folder is taken from the current folder.
  explicit FtpdSite(const std::string& folder);

  const std::string& folder() const { return folder_; }
  std::string install() const { return joinPath(folder_, "install"); }
  std::string data() const { return joinPath(install(), "data"); }
  std::string server() const { return joinPath(folder_, "server"); }
  std::string output() const { return joinPath(server(), "output"); }
  std::string root() const { return joinPath(folder_, "root"); }
  // The link builder's link roots are its folders; it scans root().
  std::string links() const { return joinPath(folder_, "links"); }
  // The server program's path as the global settings name it; nothing is
  // there, only its folder matters.
  std::string serverProgram() const { return joinPath(server(), "raidenftpd"); }
  std::string ftpdFile() const { return joinPath(server(), "raidenftpd.ftpd"); }
  std::string vfsFile() const { return joinPath(server(), "raidenftpd.vfs"); }
  std::string vfsBackup() const { return joinPath(server(), "raidenftpd-backup.vfs"); }
  std::string userFile() const { return joinPath(server(), "raidenftpd.usr"); }
  // The stand-in's own lock, held while an upload is stored and checked.
  std::string lockFile() const { return joinPath(server(), "ftpd-standin.lock"); }
  // What the stand-in keeps between its runs, under that lock: the checks
  // passed per release and the uploads whose hooks are still running.
  std::string checkRecords() const { return joinPath(server(), "checks"); }
  std::string flightFile() const { return joinPath(server(), "uploads-in-flight"); }
  std::string wineFile() const { return joinPath(server(), "wine"); }
  // Where the replies are kept as well, when the folder is there (made by
  // whoever wants them; the stand-in never makes it).
  std::string keptReplies() const { return joinPath(server(), "kept-replies"); }

  // Makes the whole site in a folder that does not exist yet or is empty:
  // copies every program of `programs` found in `programsDir`, writes the
  // default settings and the module index, and registers the hooks that
  // were copied. Reports on `out`; false with `error` set on failure.
  bool create(const std::string& programsDir, std::FILE* out, std::string* error);
  // The same for the Windows programs of `programsDir`, started by `wine`:
  // every path the programs read is a Windows path.
  bool create(const std::string& programsDir, const WineRunner& wine, std::FILE* out,
              std::string* error);

  // Reads the ".ftpd" hook entries and the virtual file system file.
  bool load(std::string* error);
  const HookTable& hooks() const { return hooks_; }
  const VfsMap& vfs() const { return vfs_; }
  // How the Windows programs are started; inactive on a site of the POSIX
  // programs.
  const WineRunner& wine() const { return wine_; }
  // A path of the stand-in's as the site's programs take it: a Windows
  // path on a Wine site, else the path itself.
  std::string native(const std::string& path) const;
  // The file name of a program of the site.
  std::string programFile(const std::string& name) const;

 private:
  bool writeSettings(std::string* error) const;

  std::string folder_;
  HookTable hooks_;
  VfsMap vfs_;
  WineRunner wine_;
};

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_FTPD_SITE_H_
