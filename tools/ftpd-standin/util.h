// Small helpers the parts of the server stand-in share: paths, lines, case-
// folded compares, numbers and checksums in text, and whole-file reads.
#ifndef TOOLS_FTPD_STANDIN_UTIL_H_
#define TOOLS_FTPD_STANDIN_UTIL_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ftpd {

// `a` + the separator + `b` (no second separator when `a` ends in one).
std::string joinPath(const std::string& a, const std::string& b);

// The lines of `text` without their line ends: a line ends at LF, and any
// CRs before the LF go with it. A last line without a line end is kept,
// unless `wholeLinesOnly` (a record cut short loses its cut line).
std::vector<std::string> splitLines(const std::string& text, bool wholeLinesOnly = false);

// Equal, or `text` begins with `prefix`, ignoring the case of 'A'..'Z'.
bool equalsNoCase(const std::string& a, const std::string& b);
bool startsWithNoCase(const std::string& text, const std::string& prefix);

// Exactly eight hex digits of either case, as SFVs and the stand-in's
// records write a CRC32.
bool parseCrc32Text(const std::string& text, uint32_t* crc);
// Eight lower-case hex digits.
std::string crc32Text(uint32_t crc);
// One to `maxDigits` decimal digits and nothing else.
bool parseDigits(const std::string& text, size_t maxDigits, uint64_t* value);

// The CRC32 (zlib's, the one SFVs use) of bytes in memory and of a file's
// bytes; fileCrc32 is false when the file cannot be read.
uint32_t crc32Of(const std::string& bytes);
bool fileCrc32(const std::string& path, uint32_t* crc);

// Reads a whole file of at most `limit` bytes; false when it cannot be read
// or is larger.
bool readSmallFile(const std::string& path, size_t limit, std::string* bytes);

// Writes a whole file through a temporary file renamed over the old one, so
// no reader ever sees half of it; false when it cannot be written.
[[nodiscard]] bool writeWholeFile(const std::string& path, const std::string& bytes);

// Copies the bytes of `from` into `to` (both open); false when a read or a
// write failed or `to` did not close cleanly. Closes both.
bool copyAndClose(FILE* from, FILE* to);

// Splits "KEY=VALUE"; false with `error` set when there is no '='.
bool splitAssignment(const std::string& assignment, std::string* key, std::string* value,
                     std::string* error);
// Sets a switch from "0" or "1"; false with `error` set for any other value.
bool setSwitch(const std::string& key, const std::string& value, bool* flag, std::string* error);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_UTIL_H_
