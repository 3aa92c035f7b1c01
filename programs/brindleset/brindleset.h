// brindleset, the configuration utility: the one program of the suite with
// a window.
#ifndef PROGRAMS_BRINDLESET_BRINDLESET_H_
#define PROGRAMS_BRINDLESET_BRINDLESET_H_

#include <string>

// Shows the main window on the data folder beside the program and runs
// until the settings are saved or the window is left. Needs a display.
// `ownPath` is the path the program was started by (its argv[0]).
int WinMain(const char* ownPath);

namespace brindleset {

// The install folder whose data folder the utility edits: the program's
// folder by the rule every program of the suite follows, from the path it
// was started by (through a link, the link's folder). WinMain records the
// path; until then, and without one, the folder of the running executable.
std::string installFolder();
void setOwnPath(const char* ownPath);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_BRINDLESET_H_
