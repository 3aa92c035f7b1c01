#include "tools/ftpd-standin/sfv_list.h"

#include <algorithm>
#include <unordered_map>

#include "foundation/xstring.h"
#include "hookkit/sfv_status.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

// One line of the SFV's text trimmed as the SFV reader trims it (line end,
// then trailing blanks), cut at its last blank.
struct RawLine {
  std::string name;
  std::string checksum;
};

std::vector<RawLine> rawLines(const std::string& bytes) {
  std::vector<RawLine> out;
  for (std::string& line : splitLines(bytes)) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::string::size_type blank = line.rfind(' ');
    if (blank == std::string::npos) {
      out.push_back({std::string(), std::string()});
    } else {
      out.push_back({line.substr(0, blank), line.substr(blank + 1)});
    }
  }
  return out;
}

}  // namespace

bool SfvList::load(const std::string& path, size_t limit) {
  files_.clear();
  bytesCrc_ = 0;
  std::string bytes;
  if (!readSmallFile(path, limit, &bytes)) return false;
  bytesCrc_ = crc32Of(bytes);

  // Which lines are file lines, and their names, is the SFV reader's
  // answer. It hands out no checksums, so each name is matched with the
  // next line of the text that has that name before its last blank: the
  // reader keeps the lines' order and skips lines, never splits them, so the
  // match is the reader's own line unless a skipped line (one inside a
  // comment block) repeats the name just before it.
  const std::vector<RawLine> raw = rawLines(bytes);
  std::unordered_map<std::string, std::vector<size_t>> linesByName;
  for (size_t i = 0; i < raw.size(); ++i) linesByName[raw[i].name].push_back(i);
  size_t next = 0;
  SfvLineReader reader{XString(path)};
  if (!reader.isOpen()) return false;
  bool isFile = false;
  XString name;
  unsigned int commentKb = 0;
  while (reader.next(isFile, name, commentKb)) {
    if (!isFile) continue;
    SfvFile file;
    file.name = name.str();
    auto lines = linesByName.find(file.name);
    if (lines != linesByName.end()) {
      auto at = std::lower_bound(lines->second.begin(), lines->second.end(), next);
      if (at != lines->second.end()) {
        file.hasCrc = parseCrc32Text(raw[*at].checksum, &file.crc);
        next = *at + 1;
      }
    }
    files_.push_back(file);
  }
  return true;
}

const SfvFile* SfvList::find(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (const SfvFile& file : files_) {
    if (equalsNoCase(file.name, name)) return &file;
  }
  return nullptr;
}

size_t SfvList::passing(const std::string& name, uint32_t crc) const {
  if (name.empty()) return 0;
  size_t count = 0;
  for (const SfvFile& file : files_) {
    if (file.hasCrc && file.crc == crc && equalsNoCase(file.name, name)) ++count;
  }
  return count;
}

}  // namespace ftpd
