// A site whose programs are the suite's Windows build, run under Wine. The
// settings, the server's files and the hooks' fields hold Windows paths on
// Wine's drive Z: (the POSIX root), as a Windows server would give them, and
// each hook is started through a small Windows launcher that hands it the
// server's command line byte for byte: Wine would quote the arguments it is
// given. The stand-in itself keeps working on POSIX paths.
#ifndef TOOLS_FTPD_STANDIN_WINE_SITE_H_
#define TOOLS_FTPD_STANDIN_WINE_SITE_H_

#include <string>
#include <vector>

namespace ftpd {

// What starts the Windows programs: the Wine loader and the launcher (the
// test build's win32_helper.exe, command "server"), both POSIX paths. A site
// without them runs the POSIX programs.
struct WineRunner {
  std::string wine;
  std::string launcher;
  bool active() const { return !wine.empty(); }
};

// "Z:\a\b" for "/a/b"; a path that does not begin with '/' is kept.
std::string windowsPath(const std::string& path);
// "/a/b" for "Z:\a\b" or "z:\a\b"; any other path is kept.
std::string posixPath(const std::string& path);
// A vfs file's text with the real path of each line (its first column) in
// POSIX form; line ends and the other columns stay.
std::string posixVfsText(const std::string& text);
// "landfall" for "Z:\site\install\landfall.exe".
std::string windowsProgramName(const std::string& program);

// The record of a site's runner: the loader, then the launcher, one a line.
// readWineRunner is false (and the runner empty) when there is none.
[[nodiscard]] bool writeWineRunner(const std::string& file, const WineRunner& runner);
bool readWineRunner(const std::string& file, WineRunner* runner);

// The settings record a folder with the platform's separator appended; the
// Windows programs want theirs. In the saved settings file, each stored
// text `t` + "/" becomes `t` (every `t` ends in '\'); false when the file
// cannot be rewritten.
[[nodiscard]] bool dropPosixSeparator(const std::string& file,
                                      const std::vector<std::string>& texts);

// Starts `program` (a Windows path) with the whole command line
// `commandLine`, as the server would, through the launcher under Wine; the
// line is handed over in `commandFile` (a POSIX path, removed again). The
// result is runAndWait's.
int runUnderWine(const WineRunner& runner, const std::string& program,
                 const std::string& commandLine, const std::string& commandFile,
                 int timeoutSeconds);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_WINE_SITE_H_
