#include "tools/ftpd-standin/check_tally.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

#include "foundation/xfile.h"
#include "platform/fs.h"
#include "tools/ftpd-standin/ftpd_site.h"
#include "tools/ftpd-standin/sfv_list.h"

namespace ftpd {

namespace {

// The record: this first line, the release's physical folder, the SFV's
// name, the SFV's CRC32 in eight hex digits, then "listed passed".
constexpr const char* kHeader = "ftpd-standin check tally 1";
// A record is a few lines; anything larger is not one.
constexpr size_t kRecordLimit = 64 << 10;
// More entries than this no SFV of ours lists.
constexpr size_t kMaxEntries = 100000000;

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) break;  // a record ends with its line end
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool parseCount(const std::string& text, size_t* value) {
  if (text.empty() || text.size() > 9) return false;
  size_t out = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<size_t>(c - '0');
  }
  *value = out;
  return true;
}

bool parseHex(const std::string& text, uint32_t* value) {
  if (text.size() != 8) return false;
  uint32_t out = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    out = out << 4 | static_cast<uint32_t>(digit);
  }
  *value = out;
  return true;
}

}  // namespace

CheckTally::CheckTally(const std::string& recordFolder, const std::string& release)
    : release_(release) {
  // Named by the CRC32 of the folder's path; the record names its folder,
  // so two folders with the same number only rebuild each other's record.
  uLong crc = crc32(0L, Z_NULL, 0);
  crc =
      crc32(crc, reinterpret_cast<const Bytef*>(release.data()), static_cast<uInt>(release.size()));
  char name[32];
  std::snprintf(name, sizeof name, "%08lx.tally", static_cast<unsigned long>(crc & 0xffffffffUL));
  path_ = joinPath(recordFolder, name);
}

std::string CheckTally::text() const {
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08lx", static_cast<unsigned long>(sfvCrc_));
  return std::string(kHeader) + "\n" + release_ + "\n" + sfvName_ + "\n" + crc + "\n" +
         std::to_string(listed_) + " " + std::to_string(passed_) + "\n";
}

bool CheckTally::parse(const std::string& text) {
  std::vector<std::string> lines = splitLines(text);
  if (lines.size() != 5 || lines[0] != kHeader) return false;
  std::string::size_type blank = lines[4].find(' ');
  size_t listed = 0;
  size_t passed = 0;
  uint32_t crc = 0;
  if (blank == std::string::npos || !parseCount(lines[4].substr(0, blank), &listed) ||
      !parseCount(lines[4].substr(blank + 1), &passed) || !parseHex(lines[3], &crc) ||
      listed > kMaxEntries || passed > listed || lines[2].empty()) {
    return false;
  }
  release_ = lines[1];
  sfvName_ = lines[2];
  sfvCrc_ = crc;
  listed_ = listed;
  passed_ = passed;
  return true;
}

bool CheckTally::load(const std::string& sfvName, uint32_t sfvCrc) {
  std::string text;
  if (!readSmallFile(path_, kRecordLimit, &text)) return false;
  CheckTally read(*this);
  if (!read.parse(text) || read.release_ != release_ || read.sfvName_ != sfvName ||
      read.sfvCrc_ != sfvCrc) {
    return false;
  }
  *this = read;
  return true;
}

void CheckTally::reset(const std::string& sfvName, uint32_t sfvCrc, size_t listed, size_t passed) {
  sfvName_ = sfvName;
  sfvCrc_ = sfvCrc;
  listed_ = listed;
  passed_ = passed > listed ? listed : passed;
}

void CheckTally::add(long delta) {
  if (delta < 0) {
    size_t down = static_cast<size_t>(-delta);
    passed_ = down > passed_ ? 0 : passed_ - down;
  } else {
    passed_ += static_cast<size_t>(delta);
    if (passed_ > listed_) passed_ = listed_;
  }
}

bool CheckTally::save() const {
  std::string bytes = text();
  XFile file;
  file.openReplacing(path_.c_str(), false);
  if (!file.isOpen()) return false;
  file.writeBytes(bytes.data(), bytes.size());
  return file.commit();
}

// A record that cannot be removed is only stale: the next check rewrites it.
void CheckTally::forget() const { (void)platform::removeFile(path_.c_str()); }

}  // namespace ftpd
