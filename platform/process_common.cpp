// The parts of the process layer that are the same on every platform.
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/process.h"

namespace platform {

std::string unquotedPath(const std::string& path) {
  std::string::size_type start = path.find_first_not_of(" \t");
  if (start == std::string::npos || path[start] != '"') return path;
  std::string::size_type end = path.find('"', start + 1);
  return path.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

std::string programFolder(const std::string& ownPath) {
  const std::string path = unquotedPath(ownPath);
  std::string::size_type sep = path.rfind(kPathSep);
  if (sep == std::string::npos) return executableFolder();
  if (sep == 0) return kPathSepText;
  // "c:" alone would be the drive's current folder, not its root.
  if (sep == 2 && kPathSep == '\\' && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, sep);
}

bool chmodCommandText(const ChmodCall& call, std::string* text) {
  for (const std::string* value :
       {&call.program, &call.rights, &call.user, &call.group, &call.path}) {
    if (value->find('"') != std::string::npos) return false;
  }
  *text = call.program + " " + call.rights + " " + call.user + " " + call.group + " \"" +
          call.path + "\"";
  return true;
}

std::vector<std::string> splitCommandText(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;  // "" is a word, even an empty one
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace platform
