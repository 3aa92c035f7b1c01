// One-letter %-placeholder templates.
#ifndef FOUNDATION_FORMATED_LINE_H_
#define FOUNDATION_FORMATED_LINE_H_

#include "foundation/xstring.h"

// One key and its value in an XReplaceList.
struct XReplaceLetter {
  XReplaceLetter(char letter, const XString& text, XReplaceLetter* following)
      : key(letter), value(text), next(following) {}
  char key;
  XString value;
  XReplaceLetter* next;
};

// Keys and their values, newest first. A new list already maps '%' to "%",
// so "%%" renders as one percent sign unless a caller adds '%' itself.
class XReplaceList {
 public:
  XReplaceList();
  ~XReplaceList();
  XReplaceList(const XReplaceList&) = delete;
  XReplaceList& operator=(const XReplaceList&) = delete;

  // Adds a pair at the head; the value added last for a key wins.
  void add(char key, const XString& value);
  // The value of the newest pair with this key; a shared empty text when
  // there is none.
  const XString& find(char key) const;

 private:
  XReplaceLetter* head_;
};

// A template, its keys and its last rendering. A '%' followed by a key
// without a value renders as nothing; a '%' at the very end ends the text.
class XFormatedLine {
 public:
  XFormatedLine() = default;
  explicit XFormatedLine(const XString& pattern) : format(pattern) {}

  const XString& render();

  XString format;
  XString result;
  XReplaceList keys;
};

#endif  // FOUNDATION_FORMATED_LINE_H_
