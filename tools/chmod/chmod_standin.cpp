// Stand-in for the outside chmod program: chmod RIGHTS USER GROUP PATH.
//
// It expands '*' and '?' in the last part of PATH itself (the suite's
// wildcard: whole name, ASCII case ignored), sets the three octal RIGHTS
// digits as the permission bits of every match, and appends one line
// "RIGHTS USER GROUP PATH" per match to chmod.log in its own folder. A path
// without wildcards is looked up as a case-insensitive file system would.
// USER and GROUP are only logged. Nothing that matches, nothing logged.
// A symbolic link is skipped: neither it nor what it points to is changed,
// and it is not logged, so the log names only what was set.
// Exit code 0; 2 with nothing done when the arguments are malformed.
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/xstring.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "tools/listing_cache.h"

namespace {

constexpr const char* kLogName = "chmod.log";

bool parseRights(const std::string& text, unsigned int* bits) {
  if (text.size() != 3) return false;
  unsigned int value = 0;
  for (char c : text) {
    if (c < '0' || c > '7') return false;
    value = value * 8 + static_cast<unsigned int>(c - '0');
  }
  *bits = value;
  return true;
}

// The paths that `path` names: its last part expanded against the listing
// of its folder, in listing order.
std::vector<std::string> expand(std::string path) {
  std::vector<std::string> paths;
  // "dir/" names the folder itself.
  while (path.size() > 1 && path.back() == platform::kPathSep) path.pop_back();
  std::string::size_type sep = path.rfind(platform::kPathSep);
  std::string prefix = sep == std::string::npos ? "" : path.substr(0, sep + 1);
  std::string last = sep == std::string::npos ? path : path.substr(sep + 1);
  if (last.empty()) {
    if (platform::pathExists(path.c_str())) paths.push_back(path);
    return paths;
  }
  if (last.find_first_of("*?") == std::string::npos) {
    platform::DirEntry found;
    if (tools::findNoCase(prefix, last, &found)) paths.push_back(prefix + found.name);
    return paths;
  }
  std::vector<platform::DirEntry> listing;
  if (!platform::listFolder(prefix, listing)) return paths;
  XString pattern(last);
  for (const platform::DirEntry& entry : listing) {
    if (XString(entry.name).match(pattern)) paths.push_back(prefix + entry.name);
  }
  return paths;
}

}  // namespace

int main(int argc, char** argv) {
  // The four values as the suite hands them over: on Windows the command
  // text split with nothing escaped, so a quoted path that ends in a
  // backslash stays whole.
  const std::vector<std::string> args = platform::programArguments(argc, argv);
  unsigned int bits = 0;
  if (args.size() != 4 || !parseRights(args[0], &bits)) {
    std::fprintf(stderr,
                 "usage: chmod RIGHTS USER GROUP PATH (RIGHTS: three octal digits; symbolic "
                 "links are skipped and not logged)\n");
    return 2;
  }
  std::vector<std::string> paths = expand(args[3]);
  if (paths.empty()) return 0;

  std::string lines;
  for (const std::string& path : paths) {
    if (platform::isLink(path.c_str())) continue;
    // A link put in place since the look above is not followed either. The
    // log says what was asked for; whether the bits took shows on the path.
    static_cast<void>(platform::setModeBits(path.c_str(), bits));
    lines += args[0] + " " + args[1] + " " + args[2] + " " + path + "\n";
  }
  if (lines.empty()) return 0;

  std::string folder = platform::executableFolder();
  std::string log = (folder.empty() ? std::string() : folder + platform::kPathSepText) + kLogName;
  // Hooks may run several of us at once: the lock keeps their lines whole.
  platform::FileLock lock(log.c_str());
  FILE* file = platform::openFile(log.c_str(), "at");
  if (file == nullptr) return 0;
  std::fwrite(lines.data(), 1, lines.size(), file);
  std::fclose(file);
  return 0;
}
