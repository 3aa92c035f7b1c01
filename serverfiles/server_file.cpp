#include "serverfiles/server_file.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/fs.h"

bool FileBytes::read(XFile& file, uint64_t limit) {
  clear();
  if (!file.isOpen()) return false;
  uint64_t expected = file.bytesLeft();
  if (expected > limit) return false;
  // The size is only a hint: one byte more tells whether the file grew
  // while it was read.
  size_t capacity = static_cast<size_t>(expected) + 1;
  data_.reset(new char[capacity]);
  for (;;) {
    size_ += std::fread(data_.get() + size_, 1, capacity - size_, file.handle);
    if (size_ < capacity) break;
    if (capacity > limit) {
      clear();
      return false;
    }
    size_t larger = capacity * 2 > limit + 1 ? static_cast<size_t>(limit) + 1 : capacity * 2;
    std::unique_ptr<char[]> grown(new char[larger]);
    std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity = larger;
  }
  if (std::ferror(file.handle)) {
    clear();
    return false;
  }
  return true;
}

void FileBytes::clear() {
  data_.reset();
  size_ = 0;
}

ChunkWriter::ChunkWriter(XFile& file) : file_(file) { buffer_.reserve(kChunk); }

void ChunkWriter::writeThrough(std::string_view bytes) {
  file_.writeBytes(bytes.data(), bytes.size());
}

void ChunkWriter::flush() {
  file_.writeBytes(buffer_.data(), buffer_.size());
  buffer_.clear();
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

// Eight bytes at a time: the lines are long and the separators many, and a
// byte-wise count is the better part of a load.
size_t countByte(std::string_view text, char c) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fu;
  const uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  const char* p = text.data();
  size_t left = text.size();
  size_t n = 0;
  for (; left >= 8; p += 8, left -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    uint64_t x = word ^ pattern;
    // The top bit of each byte that is zero, and of no other byte.
    uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    n += static_cast<size_t>(((zero >> 7) * kOnes) >> 56);
  }
  for (; left > 0; ++p, --left) n += *p == c;
  return n;
}

size_t countLines(std::string_view text) {
  size_t n = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const void* found = std::memchr(p, '\n', static_cast<size_t>(end - p));
    ++n;
    if (found == nullptr) break;
    p = static_cast<const char*>(found) + 1;
  }
  return n;
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

bool serverFileTarget(const char* path, std::string* target) {
  if (path == nullptr || path[0] == 0 || target == nullptr) return false;
  *target = platform::isLink(path) ? platform::resolvedPath(path) : std::string(path);
  return !target->empty() && !platform::isLink(target->c_str()) &&
         platform::isRegularFile(target->c_str());
}

std::string serverFileToRead(const char* path) {
  std::string target;
  if (serverFileTarget(path, &target)) return target;
  return path == nullptr ? std::string() : std::string(path);
}

bool serverFileToWrite(const char* path, std::string* target) {
  if (serverFileTarget(path, target)) return true;
  if (path == nullptr || path[0] == 0 || platform::pathExists(path)) return false;
  *target = path;
  return true;
}

namespace {

std::atomic<void (*)()> flushedHook{nullptr};

}  // namespace

void setServerFileFlushedHook(void (*hook)()) { flushedHook.store(hook); }

bool prepareServerFile(XFile& file) {
  // The server's files are flushed to the disk before they replace the old copy.
  if (!file.prepare()) return false;
  if (void (*hook)() = flushedHook.load()) hook();
  return true;
}

bool commitServerFile(XFile& file) {
  if (file.isOpen() && !prepareServerFile(file)) return false;
  return file.commitDurable();
}
