// Starting the outside chmod program, which gives what the hooks make an
// owner, a group and rights on the server.
#ifndef HOOKKIT_CHMOD_RUNNER_H_
#define HOOKKIT_CHMOD_RUNNER_H_

#include "foundation/xstring.h"
#include "settings/mconfig.h"

// A chmod run that has not ended by then is killed and the caller goes on.
constexpr int kChmodTimeoutSeconds = 30;

// Runs the chmod program for one path with the event's user and group when
// `ownership.touser` is set, else with the configured ones; the rights are
// always `ownership.allow`.
void runChmod(const Chmod& ownership, const XString& path, const XString& user,
              const XString& group, int timeoutSeconds = kChmodTimeoutSeconds);

// Starts the chmod program of the install folder (named from the data
// folder, the working folder) for one path and waits for its end, at most
// `timeoutSeconds`. The program gets the rights, user, group and path as
// four values, never as a text a name could split; on Windows a value that
// holds a '"' starts nothing. The hooks report no failed step, so nothing
// is returned.
void executeChmod(const XString& path, const XString& user, const XString& group,
                  const XString& allow, int timeoutSeconds = kChmodTimeoutSeconds);

#endif  // HOOKKIT_CHMOD_RUNNER_H_
