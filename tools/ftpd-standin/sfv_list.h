// What an SFV file lists: file names with their CRC32, as the server reads
// them to check uploads. A line is "name crc" with the eight hex digits of
// the checksum after the last blank; lines that begin with ';' are comments.
#ifndef TOOLS_FTPD_STANDIN_SFV_LIST_H_
#define TOOLS_FTPD_STANDIN_SFV_LIST_H_

#include <cstdint>
#include <string>
#include <vector>

namespace ftpd {

struct SfvFile {
  std::string name;
  uint32_t crc = 0;
};

class SfvList {
 public:
  // Reads the lines of a whole SFV (LF or CR LF line ends). Comment lines,
  // empty lines and lines without a valid checksum are passed over.
  void parse(const std::string& text);
  // The first listed file whose name equals `name` ignoring ASCII case; null
  // when it is not listed.
  const SfvFile* find(const std::string& name) const;
  // How many entries named `name` (ignoring ASCII case) list `crc`: what one
  // file of that name with that checksum makes pass.
  size_t passing(const std::string& name, uint32_t crc) const;
  const std::vector<SfvFile>& files() const { return files_; }

 private:
  std::vector<SfvFile> files_;
};

// The CRC32 of a file's bytes; false when it cannot be read.
bool fileCrc32(const std::string& path, uint32_t* crc);

// Reads a whole file of at most `limit` bytes; false when it cannot be read
// or is larger.
bool readSmallFile(const std::string& path, size_t limit, std::string* bytes);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_SFV_LIST_H_
