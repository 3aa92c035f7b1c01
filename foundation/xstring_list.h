// The suite's singly linked list of texts.
#ifndef FOUNDATION_XSTRING_LIST_H_
#define FOUNDATION_XSTRING_LIST_H_

#include "foundation/xstring.h"

struct XStringListEntry {
  XStringListEntry(const char* text, XStringListEntry* next);
  XStringListEntry(const XString& text, XStringListEntry* next);
  XStringListEntry(const char* bytes, unsigned int n, XStringListEntry* next);
  XStringListEntry(const XStringListEntry&) = delete;
  XStringListEntry& operator=(const XStringListEntry&) = delete;

  XStringListEntry* next;
  XString text;
};

// A list that grows at the head, with its count. Because every stored list
// is read back by adding at the head, a list returns from a file reversed.
class XStringList {
 public:
  XStringList() = default;
  XStringList(const XStringList& other);
  XStringList& operator=(const XStringList& other);
  ~XStringList() { clear(); }

  void clear();
  bool add(const char* text);
  bool add(const XString& text);
  // Adds the n bytes as a text (embedded NULs kept).
  bool add(const char* bytes, unsigned int n);
  // Entry i from the head; an index past the end, or negative, yields the
  // shared empty text.
  const XString& at(int i) const;
  // Ascending by XString::operator<= (bytes as signed characters, so 0x80
  // and above sort first), a text before every text that begins with it.
  void sort();
  // Moves every entry of `other` in front of ours, in their order.
  void splice(XStringList& other);
  bool matchAny(const XString& name) const;
  // The first entry, from the head, that `name` matches as a pattern; the
  // shared empty text when none does.
  const XString& firstMatch(const XString& name) const;
  // Some entry equals `text` ignoring the case of 'A'..'Z'.
  bool contains(const XString& text) const;

  XStringListEntry* head = nullptr;
  unsigned int count = 0;

  static const XString emptyString;
};

#endif  // FOUNDATION_XSTRING_LIST_H_
