// The running program and the programs it starts.
#ifndef PLATFORM_PROCESS_H_
#define PLATFORM_PROCESS_H_

#include <string>
#include <vector>

namespace platform {

// The command-line text as the suite expects it. On Windows it is the
// runtime's command line after the program's own name, byte for byte. On
// POSIX: the single argument when there is exactly one, all arguments joined
// by single blanks when there are several. On both, the program's own path
// when there is nothing after it.
std::string commandLineText(int argc, char** argv);

// The arguments after the program's own name as they were handed over: on
// POSIX argv[1] on, as they stand; on Windows the runtime's command line
// after the program's name, split as splitCommandText does (nothing
// escaped), so the words of a chmodCommandText come back as they went in.
std::vector<std::string> programArguments(int argc, char** argv);

// Folder of the running executable, without a trailing separator; empty when
// it cannot be found.
std::string executableFolder();

// `path` without the double quotes an administrator may put round a path
// with blanks: when its first character that is not a blank is a '"', the
// text up to the next '"' (or the end); otherwise `path` as it stands.
std::string unquotedPath(const std::string& path);

// The folder a program works from, without a trailing separator: the folder
// of its own path (unquoted) when that holds a separator, the root for a
// path just below it (on Windows also a drive's root, "c:\"), else the
// folder of the running executable (empty when that is unknown). The own path is the one the
// program was started by, so a program started through a link finds the folder the link stands in.
std::string programFolder(const std::string& ownPath);

// Splits a command text as the Windows runtime does: blanks (space, tab)
// separate, double quotes group and are dropped, nothing is escaped. A run
// of blanks is one separator and makes no empty word, so "a  b" is two words;
// only a pair of quotes makes an empty word ("a \"\" b" is three). So an
// empty value put bare between two blanks is lost and the words after it
// move up by one. A quote left open runs to the end of the text.
std::vector<std::string> splitCommandText(const std::string& text);

// Results of runAndWait other than an exit code (0..255 on POSIX; on
// Windows the program's whole 32-bit code, so there a program's own -1 to -3
// read as these).
constexpr int kNotStarted = -1;  // the program could not be started
constexpr int kTimedOut = -2;    // killed because it did not end in time
constexpr int kNoExitCode = -3;  // ended by a signal, or its status was lost

// Starts argv[0] directly, never through a shell and without a search of
// PATH (a relative program path is relative to the current folder), with
// the current folder and environment, in a process group of its own (a job
// object on Windows, where it is started hidden), with stdin, stdout and
// stderr on the null device (stdout and stderr shared with ours when
// `shareOutput`, for the test tools) and no other open file. Waits for it
// blocking; after `timeoutSeconds` (none when 0 or less) its whole process
// group (job) is killed and the child reaped. On Windows the arguments are
// quoted so that the runtime's parsing in the child gives them back.
int runAndWait(const std::vector<std::string>& argv, int timeoutSeconds, bool shareOutput = false);

// One run of the outside chmod program: the program (a path), the three
// rights digits, the owner, the group and the path it is for.
struct ChmodCall {
  std::string program;
  std::string rights;
  std::string user;
  std::string group;
  std::string path;
};

// The command text that starts the chmod program on Windows: program,
// rights, user and group, each followed by one blank, then the path in
// double quotes; nothing is escaped, so an empty user or group is an empty
// stretch between two blanks. False, with no text, when a value holds a
// '"': it would end the quoted path early or open a quote of its own.
[[nodiscard]] bool chmodCommandText(const ChmodCall& call, std::string* text);

// Starts the chmod program as runAndWait does and waits for it. On POSIX it
// gets the four values as exactly four arguments, whatever they hold; on
// Windows it is started with chmodCommandText. kNotStarted, with nothing
// started, when there is no such text.
[[nodiscard]] int runChmod(const ChmodCall& call, int timeoutSeconds);

}  // namespace platform

#endif  // PLATFORM_PROCESS_H_
