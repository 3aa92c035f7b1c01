// Starting the outside chmod program for one path.
#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "settings/mconfig.h"

void Chmod::run(const XString& path, const XString& user, const XString& userGroup,
                int timeoutSeconds) const {
  if (touser) {
    execute(path, user, userGroup, allow, timeoutSeconds);
  } else {
    execute(path, username, group, allow, timeoutSeconds);
  }
}

// The command names the program relative to the working folder, which is the
// install folder's data folder, so it is the chmod program of the install
// folder. Only the path is quoted; the text is split into arguments as the
// Windows runtime does and the program is started directly, without a shell.
void Chmod::execute(const XString& path, const XString& owner, const XString& ownerGroup,
                    const XString& rights, int timeoutSeconds) {
  XString command("..");
  command += platform::kPathSepText;
  command += "chmod";
  command += platform::kExeSuffix;
  command += " ";
  command += rights;
  command += " ";
  command += owner;
  command += " ";
  command += ownerGroup;
  command += " \"";
  command += path;
  command += "\"";
  std::vector<std::string> argv = platform::splitCommandText(command.str());
  if (argv.empty()) return;
  // Its exit code tells nothing the hook could act on: the hooks never
  // report a failed step.
  (void)platform::runAndWait(argv, timeoutSeconds);
}
