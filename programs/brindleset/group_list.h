// The link builder's group list as a text file of its own, one name a
// line, that the administrator saves and loads on the link-builder panel.
#ifndef PROGRAMS_BRINDLESET_GROUP_LIST_H_
#define PROGRAMS_BRINDLESET_GROUP_LIST_H_

#include <vector>

#include "foundation/xstring.h"

namespace brindleset {

// A line longer than this is left out; so are the lines after the first
// kGroupListLimit.
constexpr unsigned int kGroupNameLimit = 1023;
constexpr int kGroupListLimit = 10000;

// Each name followed by CR LF, written to a temporary file that replaces
// `path`. False leaves the old file as it was.
[[nodiscard]] bool writeGroupList(const char* path, const std::vector<XString>& names);

// The lines of the file, first to last, each without its line end (LF,
// CR LF, or CR CR LF as older versions wrote) and without any CR at its
// end; a last line without a line end counts too. False when the file cannot be opened or read.
[[nodiscard]] bool readGroupList(const char* path, std::vector<XString>& names);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_GROUP_LIST_H_
