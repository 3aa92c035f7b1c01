#include "tools/ftpd-standin/check_tally.h"

#include <vector>

#include "platform/fs.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

// The record: this first line, the release's physical folder, the SFV's
// name, the SFV's CRC32 in eight hex digits, then "listed passed".
constexpr const char* kHeader = "ftpd-standin check tally 1";
// A record is a few lines; anything larger is not one.
constexpr size_t kRecordLimit = 64 << 10;
// More entries than this no SFV of ours lists.
constexpr size_t kMaxEntries = 100000000;

}  // namespace

CheckTally::CheckTally(const std::string& recordFolder, const std::string& release)
    : release_(release) {
  // Named by the CRC32 of the folder's path; the record names its folder,
  // so two folders with the same number only rebuild each other's record.
  path_ = joinPath(recordFolder, crc32Text(crc32Of(release)) + ".tally");
}

std::string CheckTally::text() const {
  return std::string(kHeader) + "\n" + release_ + "\n" + sfvName_ + "\n" + crc32Text(sfvCrc_) +
         "\n" + std::to_string(listed_) + " " + std::to_string(passed_) + "\n";
}

bool CheckTally::parse(const std::string& text) {
  std::vector<std::string> lines = splitLines(text, true);  // a record ends with its line end
  if (lines.size() != 5 || lines[0] != kHeader) return false;
  std::string::size_type blank = lines[4].find(' ');
  uint64_t listed = 0;
  uint64_t passed = 0;
  uint32_t crc = 0;
  // The checksum only as text() writes it, in lower case.
  if (blank == std::string::npos || !parseDigits(lines[4].substr(0, blank), 9, &listed) ||
      !parseDigits(lines[4].substr(blank + 1), 9, &passed) || !parseCrc32Text(lines[3], &crc) ||
      crc32Text(crc) != lines[3] || listed > kMaxEntries || passed > listed || lines[2].empty()) {
    return false;
  }
  release_ = lines[1];
  sfvName_ = lines[2];
  sfvCrc_ = crc;
  listed_ = static_cast<size_t>(listed);
  passed_ = static_cast<size_t>(passed);
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

bool CheckTally::save() const { return writeWholeFile(path_, text()); }

// A record that cannot be removed is only stale: the next check rewrites it.
void CheckTally::forget() const { (void)platform::removeFile(path_.c_str()); }

}  // namespace ftpd
