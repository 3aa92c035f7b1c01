// The server's virtual file system file, as far as the stand-in needs it:
// which physical folder a virtual path lies in. One entry per line, fifteen
// columns separated by '|': real path, virtual path, owner, group, rights,
// then the server's own columns.
#ifndef TOOLS_FTPD_STANDIN_VFS_MAP_H_
#define TOOLS_FTPD_STANDIN_VFS_MAP_H_

#include <string>
#include <vector>

namespace ftpd {

struct VfsMapping {
  std::string realPath;
  std::string virtualPath;
};

class VfsMap {
 public:
  // Reads the entries of a whole file (LF or CR LF line ends). Lines that do
  // not hold exactly fourteen separators are passed over and counted.
  void parse(const std::string& text);

  // The physical path of a virtual one ("/" separated): the entry whose
  // virtual path is the longest ASCII case-insensitive prefix of it at a
  // folder boundary (the first in the file wins a tie), then the rest of the
  // path below the entry's real path. False when no entry applies.
  bool toPhysical(const std::string& virtualPath, std::string* physical) const;

  const std::vector<VfsMapping>& mappings() const { return mappings_; }
  int malformedLines() const { return malformed_; }

 private:
  std::vector<VfsMapping> mappings_;
  int malformed_ = 0;
};

// The line of an entry the way the server's file holds one: the real path
// without a trailing separator, the virtual path without a trailing '/', the
// owner triple and the server's columns for a plain real folder; ends in
// "\n".
std::string vfsLine(const std::string& realPath, const std::string& virtualPath,
                    const std::string& owner, const std::string& group, const std::string& rights);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_VFS_MAP_H_
