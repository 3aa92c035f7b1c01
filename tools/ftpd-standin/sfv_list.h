// What an SFV lists, as the server reads it to check uploads: the lines the
// suite's own SFV reader counts as file lines, each with the CRC32 written
// after its last blank. So the stand-in and the hooks always count the same
// lines: a line the hooks read as an empty name (a TAB before the checksum,
// say) is listed here too, and never passes.
#ifndef TOOLS_FTPD_STANDIN_SFV_LIST_H_
#define TOOLS_FTPD_STANDIN_SFV_LIST_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ftpd {

struct SfvFile {
  std::string name;     // as the hooks read it; may be empty
  bool hasCrc = false;  // the text after the last blank is eight hex digits
  uint32_t crc = 0;
};

class SfvList {
 public:
  // Reads the SFV at `path`, at most `limit` bytes. False (and an empty
  // list) when it cannot be read or is larger.
  bool load(const std::string& path, size_t limit);
  // The CRC32 of the SFV's bytes: which SFV a kept record was made against.
  uint32_t bytesCrc() const { return bytesCrc_; }
  // The first listed file whose name equals `name` ignoring ASCII case; null
  // when it is not listed (an empty name is never listed).
  const SfvFile* find(const std::string& name) const;
  // How many entries named `name` (ignoring ASCII case) list `crc`: what one
  // file of that name with that checksum makes pass.
  size_t passing(const std::string& name, uint32_t crc) const;
  const std::vector<SfvFile>& files() const { return files_; }

 private:
  uint32_t bytesCrc_ = 0;
  std::vector<SfvFile> files_;
};

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_SFV_LIST_H_
