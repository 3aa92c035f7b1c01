#include "tools/ftpd-standin/util.h"

#include <zlib.h>

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "platform/fs.h"
#include "platform/paths.h"

namespace ftpd {

std::string joinPath(const std::string& a, const std::string& b) {
  if (!a.empty() && a.back() == platform::kPathSep) return a + b;
  return a + platform::kPathSepText + b;
}

std::vector<std::string> splitLines(const std::string& text, bool wholeLinesOnly) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) {
      if (wholeLinesOnly) break;
      end = text.size();
    }
    std::string::size_type last = end;
    while (last > start && text[last - 1] == '\r') --last;
    lines.push_back(text.substr(start, last - start));
    start = end + 1;
  }
  return lines;
}

bool equalsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && equalNoCase(a.c_str(), b.c_str(), static_cast<unsigned>(a.size()));
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
  return prefix.size() <= text.size() &&
         equalNoCase(text.c_str(), prefix.c_str(), static_cast<unsigned>(prefix.size()));
}

bool parseCrc32Text(const std::string& text, uint32_t* crc) {
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

std::string crc32Text(uint32_t crc) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc));
  return text;
}

bool parseDigits(const std::string& text, size_t maxDigits, uint64_t* value) {
  if (text.empty() || text.size() > maxDigits || text.size() > 19) return false;
  uint64_t out = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = out;
  return true;
}

uint32_t crc32Of(const std::string& bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes at most a uInt at a time.
  constexpr size_t kStep = 1u << 30;
  for (size_t at = 0; at < bytes.size(); at += kStep) {
    size_t n = bytes.size() - at < kStep ? bytes.size() - at : kStep;
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(n));
  }
  return static_cast<uint32_t>(crc);
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

bool writeWholeFile(const std::string& path, const std::string& bytes) {
  XFile file;
  file.openReplacing(path.c_str(), false);
  if (!file.isOpen()) return false;
  file.writeBytes(bytes.data(), bytes.size());
  return file.commit();
}

bool copyAndClose(FILE* from, FILE* to) {
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    size_t got = std::fread(buffer.data(), 1, buffer.size(), from);
    if (got > 0 && std::fwrite(buffer.data(), 1, got, to) != got) ok = false;
    if (got < buffer.size()) {
      if (std::ferror(from) != 0) ok = false;
      break;
    }
  }
  std::fclose(from);
  if (std::fclose(to) != 0) ok = false;
  return ok;
}

bool splitAssignment(const std::string& assignment, std::string* key, std::string* value,
                     std::string* error) {
  std::string::size_type equals = assignment.find('=');
  if (equals == std::string::npos) {
    *error = "not KEY=VALUE: " + assignment;
    return false;
  }
  *key = assignment.substr(0, equals);
  *value = assignment.substr(equals + 1);
  return true;
}

bool setSwitch(const std::string& key, const std::string& value, bool* flag, std::string* error) {
  if (value != "0" && value != "1") {
    *error = key + " takes 0 or 1";
    return false;
  }
  *flag = value == "1";
  return true;
}

}  // namespace ftpd
