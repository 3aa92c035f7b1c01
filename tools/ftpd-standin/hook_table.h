// The server's side of the hook contract: the entries of its ".ftpd" file
// that start the suite's programs, and the %-variables it puts into them.
// What the entries say for each program is the suite's own table
// (hookkit/hook_programs.h).
#ifndef TOOLS_FTPD_STANDIN_HOOK_TABLE_H_
#define TOOLS_FTPD_STANDIN_HOOK_TABLE_H_

#include <map>
#include <string>
#include <vector>

#include "hookkit/hook_programs.h"

namespace ftpd {

// One registered hook as read from a ".ftpd" line.
struct HookEntry {
  std::string key;      // as written, without '='
  std::string scheme;   // "ask://" or "exec://"
  std::string program;  // the first path after the scheme: what is started
  std::string command;  // the text after it and one blank, before substitution
};

// Parses one line (its line end already removed). False for lines that are
// no hook entry: no '=', no "://" after it, or nothing to start.
bool parseHookEntry(const std::string& line, HookEntry* entry);

// The hook entries of a whole ".ftpd" file (LF or CR LF line ends); lines of
// other kinds are passed over.
class HookTable {
 public:
  void parse(const std::string& text);
  // The first entry whose key equals `key` ignoring ASCII case; null when
  // none.
  const HookEntry* find(const std::string& key) const;
  const std::vector<HookEntry>& entries() const { return entries_; }

 private:
  std::vector<HookEntry> entries_;
};

// Substitutes the server's variables into a command: "%x" becomes the value
// of x, "%%" becomes "%", and a letter without a value stays as written.
std::string substitute(const std::string& command, const std::map<char, std::string>& values);

// The file name of a program path (the text after its last separator).
std::string programName(const std::string& program);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_HOOK_TABLE_H_
