#include "tools/ftpd-standin/sfv_list.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

#include "foundation/xstring.h"
#include "platform/fs.h"

namespace ftpd {

namespace {

bool equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && equalNoCase(a.c_str(), b.c_str(), static_cast<unsigned>(a.size()));
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool parseCrc(const std::string& text, uint32_t* crc) {
  if (text.size() != 8) return false;
  uint32_t value = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  *crc = value;
  return true;
}

}  // namespace

void SfvList::parse(const std::string& text) {
  files_.clear();
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || isBlank(line.back()))) line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    std::string::size_type blank = line.find_last_of(" \t");
    if (blank == std::string::npos) continue;
    SfvFile file;
    if (!parseCrc(line.substr(blank + 1), &file.crc)) continue;
    std::string::size_type nameEnd = blank;
    while (nameEnd > 0 && isBlank(line[nameEnd - 1])) --nameEnd;
    if (nameEnd == 0) continue;
    file.name = line.substr(0, nameEnd);
    files_.push_back(file);
  }
}

const SfvFile* SfvList::find(const std::string& name) const {
  for (const SfvFile& file : files_) {
    if (equalsNoCase(file.name, name)) return &file;
  }
  return nullptr;
}

size_t SfvList::passing(const std::string& name, uint32_t crc) const {
  size_t count = 0;
  for (const SfvFile& file : files_) {
    if (file.crc == crc && equalsNoCase(file.name, name)) ++count;
  }
  return count;
}

bool fileCrc32(const std::string& path, uint32_t* crc) {
  FILE* file = platform::openFile(path.c_str(), "rb");
  if (file == nullptr) return false;
  uLong value = crc32(0L, Z_NULL, 0);
  std::vector<unsigned char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (got > 0) value = crc32(value, buffer.data(), static_cast<uInt>(got));
    if (got < buffer.size()) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (ok) *crc = static_cast<uint32_t>(value);
  return ok;
}

bool readSmallFile(const std::string& path, size_t limit, std::string* bytes) {
  FILE* file = platform::openFile(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::string out;
  char buffer[1 << 14];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(buffer, 1, sizeof buffer, file);
    out.append(buffer, got);
    if (out.size() > limit) {
      ok = false;
      break;
    }
    if (got < sizeof buffer) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (ok) *bytes = out;
  return ok;
}

}  // namespace ftpd
