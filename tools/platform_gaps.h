// File-system calls the stand-ins need and the platform layer does not offer
// yet (POSIX only): an exclusively made temporary file under a short name,
// and permission bits set without following a link. They move into
// platform/ once the suite itself needs them.
#ifndef TOOLS_PLATFORM_GAPS_H_
#define TOOLS_PLATFORM_GAPS_H_

#include <cstdio>
#include <string>

namespace platform_gaps {

// Makes a new file in `folder` named `prefix` followed by eight random
// letters and digits, exclusively (never over anything that is there, a
// link included), and opens it for writing. The name's length does not
// depend on any other name, so a temporary file fits wherever its target
// does. Null when no such file could be made; `path` gets its path.
[[nodiscard]] FILE* createTempFile(const std::string& folder, const char* prefix,
                                   std::string* path);

// What `path` names is a symbolic link (the link itself is looked at).
bool isLink(const char* path);

// Sets the permission bits (07777) of what `path` names, unless that is a
// symbolic link: a link is never followed, and then nothing changes and
// the result is false.
[[nodiscard]] bool setModeBitsNoFollow(const char* path, unsigned int bits);

}  // namespace platform_gaps

#endif  // TOOLS_PLATFORM_GAPS_H_
