#include "hookkit/chmod_runner.h"

#include <string>

#include "platform/paths.h"
#include "platform/process.h"

void runChmod(const Chmod& ownership, const XString& path, const XString& user,
              const XString& group, int timeoutSeconds) {
  if (ownership.touser) {
    executeChmod(path, user, group, ownership.allow, timeoutSeconds);
  } else {
    executeChmod(path, ownership.username, ownership.group, ownership.allow, timeoutSeconds);
  }
}

// The program is named relative to the working folder, the install folder's
// data folder, so it is the chmod program of the install folder.
void executeChmod(const XString& path, const XString& user, const XString& group,
                  const XString& allow, int timeoutSeconds) {
  platform::ChmodCall call;
  call.program = std::string("..") + platform::kPathSepText + "chmod" + platform::kExeSuffix;
  call.rights = allow.str();
  call.user = user.str();
  call.group = group.str();
  call.path = path.str();
  // Its exit code tells nothing the hook could act on, and a call that
  // cannot be started leaves what was made with the owner it has.
  (void)platform::runChmod(call, timeoutSeconds);
}
