// The server's CRC check of a release folder against its first SFV.
#ifndef TOOLS_FTPD_STANDIN_RELEASE_CHECK_H_
#define TOOLS_FTPD_STANDIN_RELEASE_CHECK_H_

#include <cstdint>
#include <string>
#include <vector>

#include "tools/ftpd-standin/sfv_list.h"

namespace ftpd {

// One listed file of the release as the folder holds it now.
struct ListedFileState {
  std::string listedName;  // as the SFV writes it
  std::string diskName;    // as the folder holds it; empty when missing
  bool passed = false;     // present and its CRC32 equals the listed one
  // The entry names the SFV itself: it is there and counts as passed, and is
  // never checked against itself.
  bool isSfv = false;
};

class ReleaseCheck {
 public:
  // Reads the folder's first SFV: the first file whose name matches "*.sfv"
  // ignoring case, in the folder's sorted listing. False when the folder
  // holds none or it cannot be read (it then lists nothing).
  bool readSfv(const std::string& folder);
  // Checks one listed file; `listed` is an entry of sfv().files(). An entry
  // that names the SFV passes unchecked.
  ListedFileState check(const SfvFile& listed) const;
  // Checks every listed file.
  std::vector<ListedFileState> checkAll() const;
  // At least one file is listed and every listed file passes.
  bool complete() const;

  const std::string& folder() const { return folder_; }
  const std::string& sfvName() const { return sfvName_; }
  // The CRC32 of the SFV's bytes: which SFV a kept record was made against.
  uint32_t sfvCrc() const { return sfv_.bytesCrc(); }
  const SfvList& sfv() const { return sfv_; }

 private:
  std::string folder_;
  std::string sfvName_;
  SfvList sfv_;
};

// The file name's extension after its last '.' equals `extension` ignoring
// ASCII case.
bool hasExtension(const std::string& name, const char* extension);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_RELEASE_CHECK_H_
