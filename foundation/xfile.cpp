#include "foundation/xfile.h"

#include <cstring>
#include <string>

#include "platform/fs.h"
#include "platform/stdio_fast.h"

namespace {

// The longest line a text-mode read returns; longer lines arrive in pieces.
constexpr unsigned int kTextLineLimit = 1023;

void encode32(uint32_t value, unsigned char* bytes) {
  bytes[0] = static_cast<unsigned char>(value);
  bytes[1] = static_cast<unsigned char>(value >> 8);
  bytes[2] = static_cast<unsigned char>(value >> 16);
  bytes[3] = static_cast<unsigned char>(value >> 24);
}

uint32_t decode32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

XFile::XFile(const char* path, const char* mode, bool textMode) { open(path, mode, textMode); }

// A destructor has no one to report to; a writer that cares calls commit or
// close itself.
XFile::~XFile() { (void)close(); }

void XFile::open(const char* path, const char* mode, bool textMode) {
  (void)close();  // whatever was open before is done with
  textMode_ = textMode;
  failed_ = false;
  atEnd_ = false;
  translate_ = mode != nullptr && std::strchr(mode, 't') != nullptr;
  foldLineEnds_ = translate_ && mode[0] != 'r';
  heldCRs_ = 0;
  handle = platform::openFile(path, mode);
  size_ = (handle != nullptr && mode[0] == 'r') ? platform::openFileSize(handle) : -1;
  position_ = 0;
}

void XFile::openReplacing(const char* path, bool textMode, bool keepOwnership) {
  (void)close();  // whatever was open before is done with
  if (path == nullptr || path[0] == 0) return;
  // What a killed writer left in this folder goes first.
  platform::removeStaleTemps(path);
  std::string temp;
  // A text file is written as "wt" writes: CR LF line ends on Windows.
  handle = platform::createTempBeside(path, &temp, textMode);
  if (handle == nullptr) return;
  textMode_ = textMode;
  failed_ = false;
  // A target that is not there yet has nothing to keep; one that is there
  // and cannot lend its bits makes the copy fail rather than change them.
  if (keepOwnership && platform::pathExists(path) && !platform::takeOwnershipOf(handle, path)) {
    failed_ = true;
  }
  atEnd_ = false;
  translate_ = false;
  foldLineEnds_ = textMode;
  heldCRs_ = 0;
  size_ = -1;
  position_ = 0;
  tempPath_ = temp;
  targetPath_ = path;
}

bool XFile::commit() { return commitAs(false); }

bool XFile::commitDurable() { return commitAs(true); }

bool XFile::prepare() { return prepareAs(true); }

bool XFile::prepareAs(bool durable) {
  if (handle == nullptr || tempPath_.empty()) {
    (void)close();  // nothing was opened for replacing: the result is false anyway
    return false;
  }
  writeHeldCRs();
  bool ok = !failed_ && platform::flushFile(handle, durable);
  if (std::ferror(handle)) ok = false;
  if (std::fclose(handle) != 0) ok = false;
  handle = nullptr;
  // Closed with the temporary file kept: close() removes it unless a commit
  // puts it in place first.
  if (!ok) (void)close();
  return ok;
}

bool XFile::commitAs(bool durable) {
  if (tempPath_.empty()) {
    (void)close();  // nothing was opened for replacing: the result is false anyway
    return false;
  }
  if (handle != nullptr && !prepareAs(durable)) return false;
  std::string temp, target;
  temp.swap(tempPath_);
  target.swap(targetPath_);
  if (!platform::replaceFile(temp.c_str(), target.c_str())) {
    // One that cannot go is a left-over for the next writer here to remove.
    if (platform::pathExists(temp.c_str())) (void)platform::removeFile(temp.c_str());
    return false;
  }
  // The new file is in place and its bytes are on the disk. A folder that
  // cannot be flushed undoes nothing: reporting it as a failed save would
  // have callers repeat or take back what is done.
  if (durable) (void)platform::syncFolderOf(target.c_str());
  return true;
}

bool XFile::close() {
  writeHeldCRs();
  bool ok = !failed_ && handle != nullptr;
  if (handle != nullptr) {
    if (std::ferror(handle)) ok = false;
    if (std::fclose(handle) != 0) ok = false;
    handle = nullptr;
  }
  if (!tempPath_.empty()) {
    // Closed without commit: the new content is dropped. One that cannot go
    // is a left-over for the next writer here to remove.
    (void)platform::removeFile(tempPath_.c_str());
    tempPath_.clear();
    targetPath_.clear();
  }
  return ok;
}

uint64_t XFile::bytesLeft() const {
  if (handle == nullptr || size_ < 0 || position_ >= size_) return 0;
  return static_cast<uint64_t>(size_ - position_);
}

// ---- writing ----

void XFile::writeBytes(const char* bytes, size_t n) {
  if (handle == nullptr || n == 0) return;
  if (foldLineEnds_) {
    writeFolded(bytes, n);
    return;
  }
  // One file, one thread: stdio's own locking buys nothing here.
  if (platform::writeFast(bytes, n, handle) != n) failed_ = true;
}

// Texts hand over line ends as they hold them: LF from the code, CR LF from
// templates and files made on Windows. A file written as text gets one line
// end of the platform per line, whatever it was given: CRs just before an LF
// are dropped and the platform's text mode writes the LF as its line end
// (CR LF on Windows). CRs at the end of one write wait for the next, which
// may begin with the LF.
void XFile::writeFolded(const char* bytes, size_t n) {
  const char* p = bytes;
  const char* const end = bytes + n;
  while (p < end) {
    if (heldCRs_ > 0) {
      if (*p == '\r') {
        ++heldCRs_;
        ++p;
        continue;
      }
      if (*p == '\n') {
        heldCRs_ = 0;
      } else {
        writeHeldCRs();
      }
    }
    // Runs without a CR, which is most of every text, go out whole.
    const void* cr = std::memchr(p, '\r', static_cast<size_t>(end - p));
    const char* stop = cr != nullptr ? static_cast<const char*>(cr) : end;
    const size_t run = static_cast<size_t>(stop - p);
    if (run > 0 && platform::writeFast(p, run, handle) != run) failed_ = true;
    if (cr == nullptr) break;
    ++heldCRs_;
    p = stop + 1;
  }
}

// CRs held back for an LF that never came stand in the file as given.
void XFile::writeHeldCRs() {
  if (heldCRs_ == 0 || handle == nullptr) return;
  const std::string crs(heldCRs_, '\r');
  heldCRs_ = 0;
  if (platform::writeFast(crs.data(), crs.size(), handle) != crs.size()) failed_ = true;
}

XFile& XFile::operator<<(int value) { return *this << static_cast<unsigned int>(value); }

XFile& XFile::operator<<(unsigned int value) {
  unsigned char bytes[4];
  encode32(value, bytes);
  writeBytes(reinterpret_cast<char*>(bytes), 4);
  return *this;
}

XFile& XFile::operator<<(bool value) {
  char byte = value ? 1 : 0;
  writeBytes(&byte, 1);
  return *this;
}

XFile& XFile::operator<<(char value) {
  writeBytes(&value, 1);
  return *this;
}

XFile& XFile::operator<<(unsigned char value) {
  writeBytes(reinterpret_cast<char*>(&value), 1);
  return *this;
}

XFile& XFile::operator<<(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return *this << static_cast<unsigned int>(bits);
}

XFile& XFile::operator<<(const char* text) {
  if (text == nullptr) text = "";
  size_t n = std::strlen(text);
  if (!textMode_) *this << static_cast<unsigned int>(n);
  writeBytes(text, n);
  return *this;
}

XFile& XFile::operator<<(const XString& text) {
  if (!textMode_) *this << text.length();
  writeBytes(text.c_str(), text.length());
  return *this;
}

XFile& XFile::operator<<(const XStringList& list) {
  *this << list.count;
  for (XStringListEntry* e = list.head; e != nullptr; e = e->next) *this << e->text;
  return *this;
}

// ---- reading ----

bool XFile::readBytes(void* target, size_t n) {
  if (handle == nullptr || failed_) return false;
  if (n == 0) return true;
  size_t got = platform::readFast(target, n, handle);
  position_ += static_cast<int64_t>(got);
  if (got == n) return true;
  atEnd_ = true;
  failed_ = true;
  return false;
}

// Scalars are read whole or not at all: the target is only written when
// every byte arrived.
bool XFile::readScalar(unsigned char* bytes, size_t n) { return readBytes(bytes, n); }

XFile& XFile::operator>>(int& value) {
  unsigned char bytes[4];
  if (readScalar(bytes, 4)) {
    uint32_t bits = decode32(bytes);
    std::memcpy(&value, &bits, 4);
  }
  return *this;
}

XFile& XFile::operator>>(unsigned int& value) {
  unsigned char bytes[4];
  if (readScalar(bytes, 4)) value = decode32(bytes);
  return *this;
}

XFile& XFile::operator>>(bool& value) {
  unsigned char byte;
  if (readScalar(&byte, 1)) value = byte != 0;
  return *this;
}

XFile& XFile::operator>>(char& value) {
  unsigned char byte;
  if (readScalar(&byte, 1)) value = static_cast<char>(byte);
  return *this;
}

XFile& XFile::operator>>(unsigned char& value) {
  unsigned char byte;
  if (readScalar(&byte, 1)) value = byte;
  return *this;
}

XFile& XFile::operator>>(float& value) {
  unsigned char bytes[4];
  if (readScalar(bytes, 4)) {
    uint32_t bits = decode32(bytes);
    std::memcpy(&value, &bits, 4);
  }
  return *this;
}

int XFile::getByte() {
  int c = platform::getcFast(handle);
  if (c == EOF) {
    atEnd_ = true;
    if (std::ferror(handle)) failed_ = true;
  } else {
    ++position_;
  }
  return c;
}

void XFile::ungetByte(int c) {
  if (c == EOF) return;
  std::ungetc(c, handle);
  --position_;
}

// One line of at most kTextLineLimit characters, its '\n' kept when it fits.
// CR LF reads as LF when the file was opened in a text mode.
void XFile::readTextLine(XString& text) {
  char buffer[kTextLineLimit + 1];
  unsigned int n = 0;
  while (n < kTextLineLimit) {
    int c = getByte();
    if (c == EOF) break;
    if (c == '\r' && translate_) {
      int next = std::getc(handle);
      if (next == '\n') {
        ++position_;
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, handle);
      }
    }
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[n] = 0;
  text = buffer;  // up to the first NUL, as a C-string line
}

XFile& XFile::operator>>(XString& text) {
  if (handle == nullptr || failed_) {
    text = "";
    return *this;
  }
  if (textMode_) {
    readTextLine(text);
    return *this;
  }
  readStoredText([&](const char* bytes, unsigned int n) { text.assignBytes(bytes, n); });
  if (failed_) text = "";
  return *this;
}

// A stored text: its length, bounded by what the file still holds, then the
// bytes, handed to `take`. Most stored texts are short: they pass through the
// stack.
template <class Take>
void XFile::readStoredText(Take take) {
  unsigned char bytes[4];
  if (!readScalar(bytes, 4)) return;
  uint32_t length = decode32(bytes);
  if (length > bytesLeft()) {
    failed_ = true;
    return;
  }
  char small[256];
  std::string large;
  char* block = small;
  if (length > sizeof small) {
    large.resize(length);
    block = &large[0];
  }
  if (readBytes(block, length)) take(block, length);
}

XFile& XFile::operator>>(XStringList& list) {
  list.clear();
  unsigned int n = 0;
  unsigned char countBytes[4];
  if (!readScalar(countBytes, 4)) return *this;
  n = decode32(countBytes);
  // Every binary text takes at least its 4-byte length; in text mode at
  // least one byte.
  uint64_t least = textMode_ ? 1 : 4;
  if (static_cast<uint64_t>(n) * least > bytesLeft()) {
    failed_ = true;
    return *this;
  }
  for (unsigned int i = 0; i < n && !failed_; ++i) {
    if (textMode_) {
      XString text;
      *this >> text;
      list.add(text);
    } else {
      readStoredText([&](const char* bytes, unsigned int length) { list.add(bytes, length); });
    }
  }
  if (failed_) list.clear();
  return *this;
}

bool XFile::readLine(XString& line, unsigned int maxLength, bool* tooLong) {
  line.truncate(0);
  if (tooLong != nullptr) *tooLong = false;
  if (handle == nullptr || failed_ || atEnd_) return false;
  std::string& text = lineBuffer_;  // kept between calls: one block per file
  text.clear();
  bool any = false;
  bool overflow = false;
  int64_t consumed = 0;
  int c;
  while ((c = platform::getcFast(handle)) != EOF) {
    ++consumed;
    any = true;
    if (c == '\n') break;
    if (overflow) continue;
    if (text.size() > maxLength) {  // one more than fits: room for a CR before the LF
      overflow = true;
      continue;
    }
    text.push_back(static_cast<char>(c));
  }
  position_ += consumed;
  if (c == EOF) {
    atEnd_ = true;
    if (std::ferror(handle)) failed_ = true;
  }
  if (!any) return false;
  // CR LF reads as LF; a lone CR stays.
  if (c == '\n' && translate_ && !text.empty() && text.back() == '\r') text.pop_back();
  if (overflow || text.size() > maxLength) {
    if (tooLong != nullptr) *tooLong = true;
    return true;
  }
  line.assignBytes(text.data(), static_cast<unsigned int>(text.size()));
  return true;
}

int copyTextFile(const XString& source, const XString& target) {
  XFile in(source.c_str(), "rt", true);
  if (!in.isOpen()) return -1;  // the target is left untouched
  XFile out;
  out.openReplacing(target.c_str(), true);
  if (!out.isOpen()) return -1;
  while (!in.atEnd() && !in.failed()) {
    XString line;
    in >> line;
    out << line;
  }
  // A read that failed before the end leaves the copy short: it is dropped
  // with the temporary file.
  if (std::ferror(in.handle)) return -1;
  return out.commit() ? 0 : -1;
}
