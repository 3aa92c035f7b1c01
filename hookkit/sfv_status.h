// What a release folder's first SFV lists and how much of it is present.
#ifndef HOOKKIT_SFV_STATUS_H_
#define HOOKKIT_SFV_STATUS_H_

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "hookkit/folder_index.h"
#include "hookkit/vector.h"

// Reads the lines of an SFV the way every part of the suite counts them:
// file lines and size comments, with comment blocks skipped. Lines longer
// than kMaxSfvLine are skipped whole; a last line without a line end is read.
// A file larger than kMaxSfvBytes is not read as an SFV at all (isOpen is
// false): an uploader's huge "SFV" must not hold a hook up.
class SfvLineReader {
 public:
  static constexpr unsigned int kMaxSfvLine = 64 * 1024;
  static constexpr uint64_t kMaxSfvBytes = 4 * 1024 * 1024;

  explicit SfvLineReader(const XString& path);
  SfvLineReader(const SfvLineReader&) = delete;
  SfvLineReader& operator=(const SfvLineReader&) = delete;

  bool isOpen() const { return file_.isOpen(); }
  // The next file line (its name: the text before the last blank, empty when
  // the line has none) or size comment (its announced kilobytes). False at
  // the end of the file.
  bool next(bool& isFile, XString& name, unsigned int& commentKb);

 private:
  bool readTrimmed(XString& line);
  XFile file_;
};

// The folder's first SFV (the first "*.sfv" file listed) is read once, on
// first demand. A caller that needs fresh counts builds a new object.
class SFVStatus {
 public:
  explicit SFVStatus(const XString& folder);
  SFVStatus(const SFVStatus&) = delete;
  SFVStatus& operator=(const SFVStatus&) = delete;

  unsigned int fileCount();
  unsigned int presentCount();
  unsigned int presentKB();
  unsigned int listedKB();
  // The SFV lists `name`, ignoring the case of 'A'..'Z'.
  bool contains(const XString& name);
  // Full path of the SFV that was read; empty when there is none.
  const XString& sfvPath();
  // The folder holds a file matching "*.sfv", readable or not.
  bool hasSfvFile();
  // dir + the first file, in listing order, whose name matches `pattern`,
  // from the listing read with the SFV; empty when there is none.
  XString firstFile(const char* pattern);
  void parse();

  XString dir;
  XStringList names;     // newest first: the last line read is the head
  Vector<bool> present;  // one flag per name, in the same order

 private:
  unsigned int presentKB_ = 0;
  bool haveKB_ = false;
  // The listing read with the SFV, and which of its entries are present
  // listed files; their sizes are looked up on first demand.
  std::unique_ptr<FolderIndex> folder_;
  std::vector<const platform::DirEntry*> presentFiles_;
  unsigned int presentCount_ = 0;
  unsigned int listedKB_ = 0;
  unsigned int fileCount_ = 0;
  bool parsed_ = false;
  bool hasSfvFile_ = false;
  XString sfvPath_;
  // The listed names, for contains(); views into `names`.
  std::unordered_set<std::string_view, FoldedHash, FoldedEqual> listed_;
};

#endif  // HOOKKIT_SFV_STATUS_H_
