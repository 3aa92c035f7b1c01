// The suite's text value and its path and buffer forms.
#ifndef FOUNDATION_XSTRING_H_
#define FOUNDATION_XSTRING_H_

#include <string>
#include <utility>

// An 8-bit text that owns a heap block holding its characters and a NUL.
// The block is never null: an empty text is a one-byte block. Copies copy
// the characters. Edits that only shorten from the end work in place.
class XString {
 public:
  XString();
  XString(const char* text);  // NOLINT: texts convert freely, as C strings do
  XString(const char* bytes, unsigned int n);
  XString(const std::string& text);  // NOLINT
  XString(const XString& other);
  explicit XString(unsigned int value);
  explicit XString(int value);
  XString(unsigned int value, unsigned int width);
  XString(int value, unsigned int width);
  explicit XString(bool value);
  explicit XString(char c);
  // The value with exactly `decimals` decimals, rounded half up.
  XString(float value, int decimals);
  ~XString();

  XString& operator=(const char* text);
  XString& operator=(const XString& other);
  // Replaces the text by n bytes (embedded NULs kept).
  XString& assignBytes(const char* bytes, unsigned int n) {
    assign(bytes, n, false);
    return *this;
  }

  // Frees the block and takes `block` (from malloc, NUL-terminated).
  void adopt(char* block);
  // Exchanges the two texts' blocks.
  void swap(XString& other) {
    std::swap(text_, other.text_);
    std::swap(length_, other.length_);
    std::swap(capacity_, other.capacity_);
  }

  char& operator[](int i) { return text_[i]; }
  const char& operator[](int i) const { return text_[i]; }
  const char* c_str() const { return text_; }
  operator const char*() const { return text_; }  // NOLINT
  std::string str() const { return std::string(text_, length_); }
  unsigned int length() const { return length_; }
  bool empty() const { return length_ == 0; }
  char firstChar() const { return text_[0]; }
  char lastChar() const { return length_ ? text_[length_ - 1] : 0; }

  XString& operator+=(const char* text);
  XString& operator+=(const XString& other);
  XString& operator+=(char c);
  XString operator+(const char* text) const;
  XString operator+(const XString& other) const;

  // Search; -1 when not found. An empty pattern is never found.
  int find(const char* pattern) const;
  int find(char c) const;
  int findLast(const char* pattern) const;
  int findLast(char c) const;
  unsigned int count(char c) const;

  // Each returns one part and keeps the other; see the source for which.
  XString splitFirst(char separator);
  XString splitLast(char separator);
  XString splitLast(const char* separator);

  // Characters first..last, both included; empty when out of range.
  XString substring(unsigned int first, unsigned int last) const;
  void keepLast(unsigned int n);
  // Keeps the text after the last `c`; empty when there is no `c`.
  void keepAfterLast(char c);
  void truncate(unsigned int n);

  XString& dropLast(char c);
  void dropFirst(char c);
  bool ensureTrailing(char c);
  unsigned int trimRight();
  void trimLeft();
  XString& trimLineEnd();
  bool padLeft(char fill, unsigned int width);
  bool padRight(char fill, unsigned int width);

  unsigned int toLower();
  unsigned int replace(char from, char to);

  bool operator==(const char* text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator==(const XString& other) const;
  bool operator!=(const XString& other) const { return !(*this == other); }
  // Byte order as signed characters; a text sorts before its extensions.
  bool operator<=(const XString& other) const;
  bool operator>(const XString& other) const { return !(*this <= other); }
  bool equalsNoCase(const XString& other) const;
  bool equalsNoCase(const XString& other, int n) const;
  bool isPrefixOfNoCase(const XString& other) const;

  // Numbers in text: decimal, '-' the only sign, no errors reported.
  unsigned int toUInt() const;
  int toInt() const;
  float toFloat() const;
  bool isNumber() const;
  bool isTrue() const;

  // Whole-name wildcard match of this name against `pattern`.
  bool match(const XString& pattern) const;

 protected:
  // Replaces the text by n bytes; reuses the block when `reuse` and it fits.
  void assign(const char* bytes, unsigned int n, bool reuse);
  void append(const char* bytes, unsigned int n);
  void takeBlock(char* block, unsigned int length, unsigned int capacity);

  char* text_;
  unsigned int length_;
  unsigned int capacity_;  // characters the block holds, NUL not counted
};

// The wildcard match of XString::match on plain bytes.
bool matchWildcard(const char* name, size_t n, const char* pattern, size_t m);

// Equal ignoring the case of 'A'..'Z'. Two null pointers are equal.
bool equalNoCase(const char* a, const char* b);
// The first n characters equal ignoring case; both at least n long.
bool equalNoCase(const char* a, const char* b, unsigned int n);

// A file-system or virtual path. Physical path edits cut at the platform's
// separator; virtual paths use '/'.
class XPath : public XString {
 public:
  XPath() = default;
  XPath(const char* text) : XString(text) {}         // NOLINT
  XPath(const XString& text) : XString(text) {}      // NOLINT
  XPath(const std::string& text) : XString(text) {}  // NOLINT
  XPath(const XPath& other) = default;
  XPath& operator=(const char* text);
  XPath& operator=(const XString& other);
  XPath& operator=(const XPath& other);
  XPath& operator+=(const char* text);
  XPath& operator+=(const XString& other);
  XPath& operator+=(char c);

  // Keeps the part after the last separator.
  void toFileName();
  // Cuts just after the last separator that is not the final character;
  // -1 and unchanged when there is none.
  int toParent();
  // Makes the path begin and end with '/'; false when it already does.
  bool encloseSlashes();
  // The current folder; empty on failure.
  unsigned int setToCurrentDir();
};

// An XString whose block is reused while the text fits: one allocation for
// a line assembled from many pieces.
class XStringBuffer : public XString {
 public:
  XStringBuffer() = default;
  explicit XStringBuffer(unsigned int capacity);
  XStringBuffer(const XStringBuffer& other) = default;
  void reset(unsigned int capacity);
  unsigned int capacity() const { return capacity_; }
  XStringBuffer& operator=(const XString& text);
  XStringBuffer& operator=(const XStringBuffer& text);
  XStringBuffer& operator=(const char* text);
  XStringBuffer& operator+=(const XString& text);
  XStringBuffer& operator+=(const char* text);
  XStringBuffer& operator<<(const XString& text) { return *this += text; }
  XStringBuffer& operator<<(const char* text) { return *this += text; }
};

// Widest padding any operation makes: nothing real comes near it.
constexpr unsigned int kMaxPadWidth = 65536;

#endif  // FOUNDATION_XSTRING_H_
