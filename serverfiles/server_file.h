// What the loaders and savers of the server's own text files share: reading
// a file whole, telling whether another writer changed it, and putting a new
// copy in place without losing the old one's mode.
#ifndef SERVERFILES_SERVER_FILE_H_
#define SERVERFILES_SERVER_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "foundation/xfile.h"

// The largest server file the suite reads. A larger one is treated as
// damaged, so that it is never rewritten from a partial reading.
constexpr uint64_t kMaxServerFileBytes = uint64_t{1} << 30;

// The rest of an open file, read whole into one block that is not cleared
// first.
class FileBytes {
 public:
  // False on a read error or when the file holds more than `limit` bytes.
  [[nodiscard]] bool read(XFile& file, uint64_t limit);
  void clear();
  std::string_view view() const { return std::string_view(data_.get(), size_); }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

// Gathers the bytes of a file being written and hands them to it in large
// pieces.
class ChunkWriter {
 public:
  explicit ChunkWriter(XFile& file);
  ChunkWriter(const ChunkWriter&) = delete;
  ChunkWriter& operator=(const ChunkWriter&) = delete;

  void append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kChunk) flush();
    if (bytes.size() >= kChunk) {
      writeThrough(bytes);
    } else {
      buffer_.append(bytes);
    }
  }
  // Hands over what is gathered; call it before the file is committed.
  void flush();

 private:
  void writeThrough(std::string_view bytes);

  static constexpr size_t kChunk = size_t{1} << 18;
  XFile& file_;
  std::string buffer_;
};

// One line of a text file: its bytes without the line end, and the line end
// as it was read ("\n", "\r\n", or empty for a last line without one).
struct TextLine {
  std::string_view text;
  std::string_view end;
};

// Takes the next line off the front of `rest`; false when `rest` is empty.
bool nextLine(std::string_view& rest, TextLine* line);

// How often `c` occurs in `text`.
size_t countByte(std::string_view text, char c);

// How many lines `text` holds, a last one without a line end included.
size_t countLines(std::string_view text);

// The line end a line gets when it has none of its own: that of the first
// line that has one, "\n" when none has.
std::string_view lineEndOf(std::string_view firstLineEnd);

// Size and modification time of a file, to tell whether someone else wrote
// it since it was read.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  int64_t modified = 0;  // the file clock's ticks

  bool operator==(const FileStamp& other) const {
    return exists == other.exists && size == other.size && modified == other.modified;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

FileStamp fileStampOf(const char* path);

// The file that one of the server's own files named in the settings (its
// vfs, user or .ftpd file) is: `path` itself, or the file that a link at
// `path` leads to, so that a rewrite replaces that file and keeps the link.
// These are the administrator's files, not an uploader's. False when `path`
// leads to no regular file.
[[nodiscard]] bool serverFileTarget(const char* path, std::string* target);

// What a loader of a server file opens: the file a link leads to, else
// `path` itself (whose open then fails as a missing file's does).
std::string serverFileToRead(const char* path);

// What a saver of a server file replaces: the file a link leads to, or
// `path` itself when nothing is there yet (a new file). False when `path`
// leads to no regular file, which is never replaced.
[[nodiscard]] bool serverFileToWrite(const char* path, std::string* target);

// The first half of putting a new copy in place: flushes what `file` wrote
// (opened with openReplacing keeping the ownership) to the disk and closes
// it beside the old one. A saver that must look at the old file last does
// so after this, then calls commitServerFile. False removes the new copy.
[[nodiscard]] bool prepareServerFile(XFile& file);

// Puts the file that `file` wrote in place of the old one, flushed to the
// disk (prepared first unless it was). False leaves the old file as it was.
[[nodiscard]] bool commitServerFile(XFile& file);

// For tests: `hook` runs each time prepareServerFile has flushed a new copy,
// the moment at which a test changes the file as the server would while
// the copy was written. Null takes it back.
void setServerFileFlushedHook(void (*hook)());

#endif  // SERVERFILES_SERVER_FILE_H_
