#include "foundation/xstring.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/fs.h"
#include "platform/paths.h"

namespace {

char* allocateBlock(unsigned int capacity) {
  char* block = static_cast<char*>(std::malloc(static_cast<size_t>(capacity) + 1));
  if (block == nullptr) std::abort();  // out of memory: nothing sound is left to do
  block[0] = 0;
  return block;
}

inline char foldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

XString::XString() : text_(allocateBlock(0)), length_(0), capacity_(0) {}

XString::XString(const char* text) : XString() {
  if (text != nullptr) assign(text, static_cast<unsigned int>(std::strlen(text)), false);
}

XString::XString(const char* bytes, unsigned int n) : XString() {
  if (bytes != nullptr) assign(bytes, n, false);
}

XString::XString(const std::string& text) : XString() {
  assign(text.data(), static_cast<unsigned int>(text.size()), false);
}

XString::XString(const XString& other) : XString() { assign(other.text_, other.length_, false); }

XString::XString(bool value) : XString(value ? "1" : "0") {}

XString::XString(char c) : XString(&c, 1) {}

XString::~XString() { std::free(text_); }

XString& XString::operator=(const char* text) {
  if (text == nullptr) text = "";
  if (text != text_) assign(text, static_cast<unsigned int>(std::strlen(text)), false);
  return *this;
}

XString& XString::operator=(const XString& other) {
  if (&other != this) assign(other.text_, other.length_, false);
  return *this;
}

void XString::takeBlock(char* block, unsigned int length, unsigned int capacity) {
  if (block != text_) std::free(text_);
  text_ = block;
  length_ = length;
  capacity_ = capacity;
  text_[length_] = 0;
}

void XString::assign(const char* bytes, unsigned int n, bool reuse) {
  if (reuse && n <= capacity_) {
    std::memmove(text_, bytes, n);
    length_ = n;
    text_[n] = 0;
    return;
  }
  char* block = allocateBlock(n);
  std::memcpy(block, bytes, n);
  takeBlock(block, n, n);
}

void XString::append(const char* bytes, unsigned int n) {
  if (n == 0) return;
  unsigned int total = length_ + n;
  if (total <= capacity_) {
    std::memmove(text_ + length_, bytes, n);
    length_ = total;
    text_[total] = 0;
    return;
  }
  // `bytes` may lie inside our own block: copy before freeing it.
  char* block = allocateBlock(total);
  std::memcpy(block, text_, length_);
  std::memcpy(block + length_, bytes, n);
  takeBlock(block, total, total);
}

void XString::adopt(char* block) {
  if (block == nullptr) block = allocateBlock(0);
  unsigned int n = static_cast<unsigned int>(std::strlen(block));
  takeBlock(block, n, n);
}

XString& XString::operator+=(const char* text) {
  if (text != nullptr) append(text, static_cast<unsigned int>(std::strlen(text)));
  return *this;
}

XString& XString::operator+=(const XString& other) {
  append(other.text_, other.length_);
  return *this;
}

XString& XString::operator+=(char c) {
  append(&c, 1);
  return *this;
}

XString XString::operator+(const char* text) const {
  XString result(*this);
  result += text;
  return result;
}

XString XString::operator+(const XString& other) const {
  XString result(*this);
  result += other;
  return result;
}

int XString::find(const char* pattern) const {
  if (pattern == nullptr || pattern[0] == 0) return -1;
  size_t n = std::strlen(pattern);
  if (n > length_) return -1;
  for (size_t i = 0; i + n <= length_; ++i) {
    if (std::memcmp(text_ + i, pattern, n) == 0) return static_cast<int>(i);
  }
  return -1;
}

int XString::find(char c) const {
  const void* hit = std::memchr(text_, c, length_);
  return hit ? static_cast<int>(static_cast<const char*>(hit) - text_) : -1;
}

int XString::findLast(const char* pattern) const {
  if (pattern == nullptr || pattern[0] == 0) return -1;
  size_t n = std::strlen(pattern);
  if (n > length_) return -1;
  for (size_t i = length_ - n + 1; i-- > 0;) {
    if (std::memcmp(text_ + i, pattern, n) == 0) return static_cast<int>(i);
  }
  return -1;
}

int XString::findLast(char c) const {
  for (unsigned int i = length_; i-- > 0;) {
    if (text_[i] == c) return static_cast<int>(i);
  }
  return -1;
}

unsigned int XString::count(char c) const {
  unsigned int n = 0;
  for (unsigned int i = 0; i < length_; ++i) n += text_[i] == c;
  return n;
}

// The part that keeps the beginning keeps the old block cut in place; the
// part after the separator gets a new exact block. Without a separator the
// returned text takes the whole block and this becomes empty.
XString XString::splitFirst(char separator) {
  XString result;
  int at = find(separator);
  if (at < 0) {
    swap(result);
    return result;
  }
  unsigned int i = static_cast<unsigned int>(at);
  result.assign(text_, i, false);
  XString rest(text_ + i + 1, length_ - i - 1);
  swap(rest);
  return result;
}

XString XString::splitLast(char separator) {
  XString result;
  int at = findLast(separator);
  if (at < 0) {
    swap(result);
    return result;
  }
  unsigned int i = static_cast<unsigned int>(at);
  result.assign(text_ + i + 1, length_ - i - 1, false);
  length_ = i;
  text_[i] = 0;
  return result;
}

XString XString::splitLast(const char* separator) {
  XString result;
  int at = findLast(separator);
  if (at < 0) {
    swap(result);
    return result;
  }
  unsigned int i = static_cast<unsigned int>(at);
  unsigned int after = i + static_cast<unsigned int>(std::strlen(separator));
  result.assign(text_ + after, length_ - after, false);
  length_ = i;
  text_[i] = 0;
  return result;
}

XString XString::substring(unsigned int first, unsigned int last) const {
  if (last < first || last >= length_) return XString();
  return XString(text_ + first, last - first + 1);
}

void XString::keepLast(unsigned int n) {
  if (n >= length_) return;
  assign(text_ + length_ - n, n, false);
}

void XString::keepAfterLast(char c) {
  int at = findLast(c);
  if (at < 0) {
    assign("", 0, false);
    return;
  }
  unsigned int i = static_cast<unsigned int>(at) + 1;
  assign(text_ + i, length_ - i, false);
}

void XString::truncate(unsigned int n) {
  if (n < length_) {
    length_ = n;
    text_[n] = 0;
  }
}

XString& XString::dropLast(char c) {
  if (length_ > 0 && text_[length_ - 1] == c) truncate(length_ - 1);
  return *this;
}

void XString::dropFirst(char c) {
  if (length_ > 0 && text_[0] == c) assign(text_ + 1, length_ - 1, false);
}

bool XString::ensureTrailing(char c) {
  if (length_ > 0 && text_[length_ - 1] == c) return false;
  append(&c, 1);
  return true;
}

unsigned int XString::trimRight() {
  unsigned int n = length_;
  while (n > 0 && text_[n - 1] == ' ') --n;
  truncate(n);
  return length_;
}

void XString::trimLeft() {
  unsigned int i = 0;
  while (i < length_ && text_[i] == ' ') ++i;
  if (i > 0) assign(text_ + i, length_ - i, false);
}

XString& XString::trimLineEnd() {
  unsigned int n = length_;
  while (n > 0 && (text_[n - 1] == '\r' || text_[n - 1] == '\n')) --n;
  truncate(n);
  return *this;
}

bool XString::padLeft(char fill, unsigned int width) {
  if (width > kMaxPadWidth) width = kMaxPadWidth;
  if (length_ >= width) return false;
  unsigned int pad = width - length_;
  char* block = allocateBlock(width);
  std::memset(block, fill, pad);
  std::memcpy(block + pad, text_, length_);
  takeBlock(block, width, width);
  return true;
}

bool XString::padRight(char fill, unsigned int width) {
  if (width > kMaxPadWidth) width = kMaxPadWidth;
  if (length_ >= width) return false;
  unsigned int pad = width - length_;
  char* block = allocateBlock(width);
  std::memcpy(block, text_, length_);
  std::memset(block + length_, fill, pad);
  takeBlock(block, width, width);
  return true;
}

unsigned int XString::toLower() {
  for (unsigned int i = 0; i < length_; ++i) text_[i] = foldCase(text_[i]);
  return length_;
}

unsigned int XString::replace(char from, char to) {
  for (unsigned int i = 0; i < length_; ++i) {
    if (text_[i] == from) text_[i] = to;
  }
  return length_;
}

bool XString::operator==(const char* text) const {
  return text != nullptr && std::strlen(text) == length_ && std::memcmp(text_, text, length_) == 0;
}

bool XString::operator==(const XString& other) const {
  return length_ == other.length_ && std::memcmp(text_, other.text_, length_) == 0;
}

// Compares over this text's length; where the other text ends its NUL takes
// part in the comparison once, and nothing beyond it is read.
bool XString::operator<=(const XString& other) const {
  for (unsigned int i = 0; i < length_; ++i) {
    signed char mine = static_cast<signed char>(text_[i]);
    if (i >= other.length_) return mine < 0;
    signed char theirs = static_cast<signed char>(other.text_[i]);
    if (mine != theirs) return mine < theirs;
  }
  return true;
}

bool equalNoCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  for (;; ++a, ++b) {
    if (foldCase(*a) != foldCase(*b)) return false;
    if (*a == 0) return true;
  }
}

bool equalNoCase(const char* a, const char* b, unsigned int n) {
  if (a == nullptr || b == nullptr) return a == b;
  for (unsigned int i = 0; i < n; ++i) {
    if (a[i] == 0 || b[i] == 0) return false;
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  }
  return true;
}

bool XString::equalsNoCase(const XString& other) const {
  if (length_ != other.length_) return false;
  for (unsigned int i = 0; i < length_; ++i) {
    if (foldCase(text_[i]) != foldCase(other.text_[i])) return false;
  }
  return true;
}

bool XString::equalsNoCase(const XString& other, int n) const {
  return equalNoCase(text_, other.text_, static_cast<unsigned int>(n));
}

bool XString::isPrefixOfNoCase(const XString& other) const {
  return equalNoCase(other.text_, text_, length_);
}

// ---- XPath ----

XPath& XPath::operator=(const char* text) {
  XString::operator=(text);
  return *this;
}

XPath& XPath::operator=(const XString& other) {
  XString::operator=(other);
  return *this;
}

XPath& XPath::operator=(const XPath& other) {
  XString::operator=(other);
  return *this;
}

XPath& XPath::operator+=(const char* text) {
  XString::operator+=(text);
  return *this;
}

XPath& XPath::operator+=(const XString& other) {
  XString::operator+=(other);
  return *this;
}

XPath& XPath::operator+=(char c) {
  XString::operator+=(c);
  return *this;
}

void XPath::toFileName() {
  int at = findLast(platform::kPathSep);
  if (at < 0) return;
  unsigned int i = static_cast<unsigned int>(at) + 1;
  assign(text_ + i, length_ - i, false);
}

int XPath::toParent() {
  if (length_ < 2) return static_cast<int>(length_);
  for (unsigned int i = length_ - 1; i-- > 0;) {
    if (text_[i] == platform::kPathSep) {
      truncate(i + 1);
      return static_cast<int>(length_);
    }
  }
  return -1;
}

bool XPath::encloseSlashes() {
  bool front = length_ > 0 && text_[0] == '/';
  bool back = length_ > 0 && text_[length_ - 1] == '/';
  if (front && back) return false;
  if (!front) {
    XString slashed("/");
    slashed += *this;
    XString::operator=(slashed);
  }
  if (!back) append("/", 1);
  return true;
}

unsigned int XPath::setToCurrentDir() {
  std::string dir;
  if (!platform::currentDir(dir)) dir.clear();
  assign(dir.data(), static_cast<unsigned int>(dir.size()), false);
  return trimRight();
}

// ---- XStringBuffer ----

XStringBuffer::XStringBuffer(unsigned int capacity) { reset(capacity); }

void XStringBuffer::reset(unsigned int capacity) {
  takeBlock(allocateBlock(capacity), 0, capacity);
}

XStringBuffer& XStringBuffer::operator=(const XString& text) {
  if (&text != this) assign(text.c_str(), text.length(), true);
  return *this;
}

XStringBuffer& XStringBuffer::operator=(const XStringBuffer& text) {
  if (&text != this) assign(text.c_str(), text.length(), true);
  return *this;
}

XStringBuffer& XStringBuffer::operator=(const char* text) {
  if (text == nullptr) text = "";
  assign(text, static_cast<unsigned int>(std::strlen(text)), true);
  return *this;
}

XStringBuffer& XStringBuffer::operator+=(const XString& text) {
  append(text.c_str(), text.length());
  return *this;
}

XStringBuffer& XStringBuffer::operator+=(const char* text) {
  XString::operator+=(text);
  return *this;
}
