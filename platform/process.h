// The running program and the programs it starts.
#ifndef PLATFORM_PROCESS_H_
#define PLATFORM_PROCESS_H_

#include <string>
#include <vector>

namespace platform {

// The command-line text as the suite expects it: the single argument when
// there is exactly one, all arguments joined by single blanks when there are
// several, the program's own path when there are none.
std::string commandLineText(int argc, char** argv);

// Folder of the running executable, without a trailing separator; empty when
// it cannot be found.
std::string executableFolder();

// Splits a command text as the Windows runtime does: blanks separate, double
// quotes group (and are dropped), nothing is escaped.
std::vector<std::string> splitCommandText(const std::string& text);

// Result of runAndWait when the program could not be started, or was killed
// because it did not end in time.
constexpr int kNotStarted = -1;
constexpr int kTimedOut = -2;

// Starts argv[0] directly, never through a shell, with the current folder
// and environment, and waits for it, blocking. After `timeoutSeconds` the
// child is killed. Returns its exit code, kNotStarted or kTimedOut.
int runAndWait(const std::vector<std::string>& argv, int timeoutSeconds);

}  // namespace platform

#endif  // PLATFORM_PROCESS_H_
