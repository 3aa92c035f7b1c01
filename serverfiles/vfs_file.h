// The server's virtual file system file: one line per real folder mapped to
// a virtual path.
#ifndef SERVERFILES_VFS_FILE_H_
#define SERVERFILES_VFS_FILE_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/xstring.h"
#include "serverfiles/server_file.h"

// One line of the vfs file: 15 columns separated by '|'. The line stays as
// the VFSfile keeps it; the paths are views into it and the other columns
// are taken from it when asked for. A line read from the file is written
// back exactly as it was read; only lines the suite adds are formatted.
struct VFSfileEntry {
  // Takes a line (without its line end) apart; false unless it holds
  // exactly 14 separators.
  bool parse(std::string_view text);
  // The line as it is written, without a line end.
  XString toLine() const { return XString(line.data(), static_cast<unsigned int>(line.size())); }

  // Column k (1 to 15) as it stands in the line; column 15 without its
  // trailing CR and LF characters.
  std::string_view column(int k) const;
  std::string_view owner() const { return column(3); }
  std::string_view group() const { return column(4); }
  std::string_view rights() const { return column(5); }
  // The first character of column 6; 0 when it is empty.
  char kind() const;
  // Columns 7, 9 and 10: their leading decimal digits.
  unsigned int column7() const { return number(7); }
  unsigned int column9() const { return number(9); }
  unsigned int column10() const { return number(10); }
  // Columns 8 and 11 to 14: only "1" is on.
  bool column8() const { return column(8) == "1"; }
  bool column11() const { return column(11) == "1"; }
  bool column12() const { return column(12) == "1"; }
  bool column13() const { return column(13) == "1"; }
  bool column14() const { return column(14) == "1"; }
  std::string_view rest() const { return column(15); }

  std::string_view line;
  std::string_view lineEnd;  // as read; empty for a last line without one
  std::string_view realPath;
  std::string_view virtualPath;

 private:
  unsigned int number(int k) const;
};

// The vfs file in memory. The list runs from the head: the file's lines in
// reverse order, with the entries added since the load in front of them, and
// a save writes it in that order. The entry limit only refuses additions:
// every line of the file is kept and saved. A file that did not load whole
// (`valid` false) is never written. A link at the file's path is followed:
// the file it leads to is read and replaced, the link kept. The caller holds
// the site-wide lock from the load to the save.
class VFSfile {
 public:
  // Loads `path`; see load() for what a failure leaves.
  VFSfile(const char* path, int maxEntries);
  VFSfile(const VFSfile&) = delete;
  VFSfile& operator=(const VFSfile&) = delete;

  // 1 when the whole file was read. 0 when it cannot be opened (the list is
  // empty and `valid` unchanged) or holds a malformed line (the lines before
  // it stay and `valid` becomes false).
  [[nodiscard]] int load(const char* path);
  // A new entry at the head with an empty column 15. False when the list
  // holds `maxEntries` entries or more, or when a value cannot stand in a
  // line (it holds a '|', a line break or a NUL).
  [[nodiscard]] bool addEntry(const XString& realPath, const XString& virtualPath,
                              const XString& owner, const XString& group, const XString& rights,
                              char kind, unsigned int column7, unsigned int column10,
                              unsigned int column9, bool column8, bool column11, bool column12,
                              bool column13, bool column14);
  // Replaces `path` with the list, keeping the old file's mode bits. 1 when
  // written; 0 when `valid` is false or `path` leads to something other
  // than a regular file (nothing is touched), or the write failed (the old
  // file stays).
  [[nodiscard]] int save(const char* path);
  // The virtual path of a real folder, ending in '/'; empty when no entry
  // covers it. An entry covers the folder itself and what lies below it; one
  // with an empty real path covers every folder. The longest real path wins,
  // of equal ones the one nearer the end of the list.
  XString virtualPathOf(const XString& realDir);
  // Entry i of the list (0 is the head); null past the end. Valid until the
  // next load, addEntry or removeAt.
  const VFSfileEntry* entry(int i) const;
  // The index of the first entry from `from` on (0 is the head) whose
  // virtual path equals `virtualPath`, ASCII case ignored and one trailing
  // '/' dropped from each; -1 when none does or the text is empty.
  int indexOfVirtualPath(const XString& virtualPath, int from = 0) const;
  // Drops entry `index` from the list; an index outside the list does
  // nothing.
  void removeAt(int index);

  XPath path;
  int count = 0;
  int maxEntries = 0;
  bool valid = true;

 private:
  void foldNewEntries();

  FileBytes text_;                     // the file as read
  std::deque<std::string> added_;      // the lines of added entries; a deque never moves them
  std::vector<VFSfileEntry> entries_;  // file order, then added ones: the head is at the back
  std::string_view lineEnd_;           // what an added line ends with
  // The real paths with 'A'..'Z' folded, made on first use and kept.
  std::string folded_;
  std::vector<size_t> foldedAt_;
};

#endif  // SERVERFILES_VFS_FILE_H_
