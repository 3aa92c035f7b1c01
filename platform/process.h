// The running program: its command-line text and its own folder.
#ifndef PLATFORM_PROCESS_H_
#define PLATFORM_PROCESS_H_

#include <string>

namespace platform {

// The command-line text as the suite expects it: the single argument when
// there is exactly one, all arguments joined by single blanks when there are
// several, the program's own path when there are none.
std::string commandLineText(int argc, char** argv);

// Folder of the running executable, without a trailing separator; empty when
// it cannot be found.
std::string executableFolder();

}  // namespace platform

#endif  // PLATFORM_PROCESS_H_
