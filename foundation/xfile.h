// The one way the suite reads and writes its own files.
#ifndef FOUNDATION_XFILE_H_
#define FOUNDATION_XFILE_H_

#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/xstring.h"
#include "foundation/xstring_list.h"

// A stdio file with the suite's encoding: integers as 4 bytes little-endian,
// switches and choices as 1 byte, texts as a 4-byte length and the bytes,
// lists as a 4-byte count and the texts. In text mode a text is written bare
// and read as one line. A file opened for writing as text ("wt", "at", or
// openReplacing as text) ends each line in one line end of the platform: a
// CR LF it is given is written as an LF is.
//
// Stored lengths and counts are never trusted: one that the rest of the file
// cannot hold puts the file into a failed state, after which reads leave
// scalars unchanged and give empty texts and lists. A scalar read at the end
// of the file leaves its target unchanged.
class XFile {
 public:
  XFile() = default;
  XFile(const char* path, const char* mode, bool textMode);
  ~XFile();
  XFile(const XFile&) = delete;
  XFile& operator=(const XFile&) = delete;

  // Closes the current file, then opens `path` with a stdio mode string.
  void open(const char* path, const char* mode, bool textMode);
  // Opens a temporary file beside `path` for writing; commit() puts it in
  // place of `path`. Closing or destroying without commit() removes it.
  // With `keepOwnership` the new file gets the old one's permission bits
  // and, where the process may, its owner, before anything is written.
  void openReplacing(const char* path, bool textMode, bool keepOwnership = false);
  // Checks every write and the close, then renames over the target. False
  // leaves the old file as it was.
  [[nodiscard]] bool commit();
  // commit, with the new file flushed to the disk before the rename and its
  // folder after it: for settings and the server's files, which must
  // survive a power cut. Once the rename is done the save counts as made,
  // whether or not the folder could be flushed.
  [[nodiscard]] bool commitDurable();
  // The first half of commitDurable, for a writer that must know the new
  // file is on the disk before it changes anything else: checks every
  // write, flushes the new file to the disk and closes it beside the
  // target. commitDurable() then only puts it in place; closing without it
  // removes it. False removes it, the old file as it was.
  [[nodiscard]] bool prepare();
  // Closes; true when a file was open and every write and the close went
  // well. A file that never opened reports false.
  [[nodiscard]] bool close();

  bool isOpen() const { return handle != nullptr; }
  bool textMode() const { return textMode_; }
  void setTextMode(bool on) { textMode_ = on; }
  // A read could not be completed (short or impossible) or a write failed.
  bool failed() const { return failed_; }
  // For readers of records: what was read cannot be right.
  void markFailed() { failed_ = true; }
  // A read reached the end of the file.
  bool atEnd() const { return atEnd_; }
  // Bytes between the read position and the end; 0 when unknown.
  uint64_t bytesLeft() const;

  XFile& operator<<(int value);
  XFile& operator<<(unsigned int value);
  XFile& operator<<(bool value);
  XFile& operator<<(char value);
  XFile& operator<<(unsigned char value);
  XFile& operator<<(float value);
  XFile& operator<<(const char* text);
  XFile& operator<<(const XString& text);
  XFile& operator<<(const XStringList& list);

  XFile& operator>>(int& value);
  XFile& operator>>(unsigned int& value);
  XFile& operator>>(bool& value);
  XFile& operator>>(char& value);
  XFile& operator>>(unsigned char& value);
  XFile& operator>>(float& value);
  XFile& operator>>(XString& text);
  XFile& operator>>(XStringList& list);

  // Reads one whole line, its line end removed and CR LF folded. A line
  // longer than `maxLength` is consumed and skipped: `line` is empty and
  // `tooLong` set. False at the end of the file with nothing read.
  bool readLine(XString& line, unsigned int maxLength, bool* tooLong = nullptr);

  void writeBytes(const char* bytes, size_t n);

  FILE* handle = nullptr;

 private:
  bool prepareAs(bool durable);
  bool commitAs(bool durable);
  void writeFolded(const char* bytes, size_t n);
  void writeHeldCRs();
  bool readBytes(void* target, size_t n);
  bool readScalar(unsigned char* bytes, size_t n);
  void readTextLine(XString& text);
  template <class Take>
  void readStoredText(Take take);
  int getByte();
  void ungetByte(int c);

  bool textMode_ = false;
  bool translate_ = false;     // opened in a text mode: CR LF reads as LF
  bool foldLineEnds_ = false;  // written as text: CR LF is written as LF
  size_t heldCRs_ = 0;         // CRs at the end of the last write, for an LF to come
  bool failed_ = false;
  bool atEnd_ = false;
  int64_t size_ = -1;
  int64_t position_ = 0;  // bytes consumed by reads
  std::string tempPath_;
  std::string targetPath_;
  std::string lineBuffer_;
};

// Copies a text file line by line through a temporary file beside the
// target, renamed over it only when the whole copy was written: 0 after
// copying, -1 when the source cannot be read whole or the copy cannot be
// written, and then the target is as it was. A source that is not a regular
// file, or a target that is a link or not a regular file, is refused.
[[nodiscard]] int copyTextFile(const XString& source, const XString& target);

#endif  // FOUNDATION_XFILE_H_
