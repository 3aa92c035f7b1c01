#include "tools/ftpd-standin/hook_table.h"

#include <cstring>

#include "platform/paths.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

bool parseHookEntry(const std::string& line, HookEntry* entry) {
  std::string::size_type equals = line.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  std::string::size_type scheme = line.find("://", equals + 1);
  if (scheme == std::string::npos) return false;
  std::string rest = line.substr(scheme + 3);
  if (rest.empty()) return false;

  // The entry names the program twice: "P P??-??...". A path may hold
  // blanks, so the split is the first blank after which the same path
  // starts again; without one, the first blank.
  std::string::size_type split = std::string::npos;
  for (std::string::size_type i = rest.find(' '); i != std::string::npos;
       i = rest.find(' ', i + 1)) {
    if (rest.compare(i + 1, i, rest, 0, i) == 0) {
      split = i;
      break;
    }
  }
  if (split == std::string::npos) split = rest.find(' ');
  if (split == 0) return false;

  entry->key = line.substr(0, equals);
  entry->scheme = line.substr(equals + 1, scheme + 3 - (equals + 1));
  entry->program = split == std::string::npos ? rest : rest.substr(0, split);
  entry->command = split == std::string::npos ? rest : rest.substr(split + 1);
  return true;
}

void HookTable::parse(const std::string& text) {
  entries_.clear();
  for (const std::string& line : splitLines(text)) {
    HookEntry entry;
    if (parseHookEntry(line, &entry)) entries_.push_back(entry);
  }
}

const HookEntry* HookTable::find(const std::string& key) const {
  for (const HookEntry& entry : entries_) {
    if (equalsNoCase(entry.key, key)) return &entry;
  }
  return nullptr;
}

std::string substitute(const std::string& command, const std::map<char, std::string>& values) {
  std::string out;
  out.reserve(command.size());
  for (size_t i = 0; i < command.size(); ++i) {
    if (command[i] != '%' || i + 1 == command.size()) {
      out += command[i];
      continue;
    }
    char letter = command[++i];
    auto value = values.find(letter);
    if (letter == '%') {
      out += '%';
    } else if (value != values.end()) {
      out += value->second;
    } else {
      out += '%';
      out += letter;
    }
  }
  return out;
}

std::string programName(const std::string& program) {
  std::string::size_type sep = program.rfind(platform::kPathSep);
  std::string name = sep == std::string::npos ? program : program.substr(sep + 1);
  size_t suffix = std::strlen(platform::kExeSuffix);
  if (suffix > 0 && name.size() > suffix &&
      equalsNoCase(name.substr(name.size() - suffix), platform::kExeSuffix)) {
    name.resize(name.size() - suffix);
  }
  return name;
}

}  // namespace ftpd
