#include "serverfiles/server_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/fs.h"

bool readWholeFile(XFile& file, std::string& bytes, uint64_t limit) {
  bytes.clear();
  if (!file.isOpen()) return false;
  uint64_t expected = file.bytesLeft();
  if (expected > limit) return false;
  // The size is only a hint: the file may grow while it is read.
  bytes.resize(static_cast<size_t>(expected));
  size_t have = static_cast<size_t>(std::fread(&bytes[0], 1, bytes.size(), file.handle));
  if (have == bytes.size()) {
    char chunk[1 << 14];
    for (;;) {
      size_t got = std::fread(chunk, 1, sizeof chunk, file.handle);
      if (got == 0) break;
      if (have + got > limit) return false;
      bytes.append(chunk, got);
      have += got;
    }
  }
  bytes.resize(have);
  return !std::ferror(file.handle);
}

bool nextLine(std::string_view& rest, TextLine* line) {
  if (rest.empty()) return false;
  const void* found = std::memchr(rest.data(), '\n', rest.size());
  if (found == nullptr) {
    line->text = rest;
    line->end = std::string_view();
    rest = std::string_view();
    return true;
  }
  size_t newline = static_cast<size_t>(static_cast<const char*>(found) - rest.data());
  size_t textEnd = newline;
  if (textEnd > 0 && rest[textEnd - 1] == '\r') --textEnd;
  line->text = rest.substr(0, textEnd);
  line->end = rest.substr(textEnd, newline + 1 - textEnd);
  rest.remove_prefix(newline + 1);
  return true;
}

std::string_view lineEndOf(std::string_view firstLineEnd) {
  return firstLineEnd.empty() ? std::string_view("\n") : firstLineEnd;
}

FileStamp fileStampOf(const char* path) {
  FileStamp stamp;
  if (path == nullptr || path[0] == 0) return stamp;
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return stamp;
  stamp.exists = true;
  if (std::filesystem::is_regular_file(status)) {
    uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) stamp.size = size;
  }
  std::filesystem::file_time_type time = std::filesystem::last_write_time(path, error);
  if (!error) stamp.modified = static_cast<int64_t>(time.time_since_epoch().count());
  return stamp;
}

bool commitServerFile(XFile& file, const char* path) {
  unsigned int mode = 0;
  bool hadMode = platform::modeBits(path, &mode);
  if (!server_file_detail::commitDurably(file)) return false;
  // The bytes are in place; a mode that cannot be given back (the file is
  // ours, so it always can be) is no reason to report them lost.
  if (hadMode) (void)platform::setModeBits(path, mode);
  return true;
}
