// What the stand-in remembers of a release's CRC check between uploads: the
// SFV it was made against (its name and the CRC32 of its bytes), how many
// entries that SFV lists and how many of them pass. It lives in one small
// file per release in the server's folder, so that an upload checks only
// its own file however large the release is. A record made against another
// SFV, or none at all, is rebuilt from a check of every listed file.
#ifndef TOOLS_FTPD_STANDIN_CHECK_TALLY_H_
#define TOOLS_FTPD_STANDIN_CHECK_TALLY_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace ftpd {

class CheckTally {
 public:
  // The record of the physical folder `release`, kept in `recordFolder`.
  CheckTally(const std::string& recordFolder, const std::string& release);

  // Reads the record; true when it is there, belongs to this release and was
  // made against the SFV `sfvName` with the bytes' CRC `sfvCrc`.
  [[nodiscard]] bool load(const std::string& sfvName, uint32_t sfvCrc);
  // Starts the record afresh for an SFV.
  void reset(const std::string& sfvName, uint32_t sfvCrc, size_t listed, size_t passed);
  // Changes the number of passing entries, kept within 0 and listed.
  void add(long delta);
  // Writes the record (to a temporary file renamed over the old one).
  [[nodiscard]] bool save() const;
  // Removes the record: the release's SFV went.
  void forget() const;

  // At least one entry is listed and every one passes.
  bool complete() const { return listed_ > 0 && passed_ == listed_; }
  size_t listed() const { return listed_; }
  size_t passed() const { return passed_; }
  const std::string& path() const { return path_; }

  // The record's text, and its reading; false for a text that is not a
  // whole record (garbage, a cut file, counts that cannot be).
  std::string text() const;
  bool parse(const std::string& text);

 private:
  std::string path_;
  std::string release_;
  std::string sfvName_;
  uint32_t sfvCrc_ = 0;
  size_t listed_ = 0;
  size_t passed_ = 0;
};

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_CHECK_TALLY_H_
