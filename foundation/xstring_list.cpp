#include "foundation/xstring_list.h"

#include <algorithm>
#include <vector>

const XString XStringList::emptyString;

XStringListEntry::XStringListEntry(const char* value, XStringListEntry* following)
    : next(following), text(value) {}

XStringListEntry::XStringListEntry(const XString& value, XStringListEntry* following)
    : next(following), text(value) {}

XStringListEntry::XStringListEntry(const char* bytes, unsigned int n, XStringListEntry* following)
    : next(following), text(bytes, n) {}

XStringList::XStringList(const XStringList& other) { *this = other; }

XStringList& XStringList::operator=(const XStringList& other) {
  if (&other == this) return *this;
  clear();
  // Keep the other list's order: link each copy in after the last.
  XStringListEntry** tail = &head;
  for (XStringListEntry* e = other.head; e != nullptr; e = e->next) {
    *tail = new XStringListEntry(e->text, nullptr);
    tail = &(*tail)->next;
    ++count;
  }
  return *this;
}

void XStringList::clear() {
  while (head != nullptr) {
    XStringListEntry* next = head->next;
    delete head;
    head = next;
  }
  count = 0;
}

bool XStringList::add(const char* text) {
  head = new XStringListEntry(text, head);
  ++count;
  return true;
}

bool XStringList::add(const XString& text) {
  head = new XStringListEntry(text, head);
  ++count;
  return true;
}

bool XStringList::add(const char* bytes, unsigned int n) {
  head = new XStringListEntry(bytes, n, head);
  ++count;
  return true;
}

const XString& XStringList::at(int i) const {
  if (i < 0) return emptyString;
  XStringListEntry* e = head;
  for (; e != nullptr && i > 0; --i) e = e->next;
  return e != nullptr ? e->text : emptyString;
}

namespace {

// The order XString::operator<= gives, made a strict weak ordering: bytes
// compared as signed characters (so 0x80 and above sort before 0x00), and a
// text before every text that begins with it. operator<= alone holds both
// "ab" <= "ab\x80" and "ab\x80" <= "ab" (it reads the other's end as a
// NUL), which no sort may be given; here the shorter text comes first, as
// the rule "a text sorts before its extensions" says.
bool sortsBefore(const XStringListEntry* a, const XStringListEntry* b) {
  const unsigned int n = std::min(a->text.length(), b->text.length());
  const char* x = a->text.c_str();
  const char* y = b->text.c_str();
  for (unsigned int i = 0; i < n; ++i) {
    if (x[i] != y[i]) return static_cast<signed char>(x[i]) < static_cast<signed char>(y[i]);
  }
  return a->text.length() < b->text.length();
}

}  // namespace

// Relinks the entries in ascending order without copying texts. Texts that
// compare equal are byte-identical, so this is the order of the classic
// head-pivot quicksort, without its recursion (and its depth on a list that
// is sorted already).
void XStringList::sort() {
  if (count < 2) return;
  std::vector<XStringListEntry*> entries;
  entries.reserve(count);
  for (XStringListEntry* e = head; e != nullptr; e = e->next) entries.push_back(e);
  std::sort(entries.begin(), entries.end(), sortsBefore);
  for (size_t i = 0; i + 1 < entries.size(); ++i) entries[i]->next = entries[i + 1];
  entries.back()->next = nullptr;
  head = entries.front();
}

void XStringList::splice(XStringList& other) {
  if (other.head == nullptr) return;
  XStringListEntry* last = other.head;
  while (last->next != nullptr) last = last->next;
  last->next = head;
  head = other.head;
  count += other.count;
  other.head = nullptr;
  other.count = 0;
}

bool XStringList::matchAny(const XString& name) const {
  for (XStringListEntry* e = head; e != nullptr; e = e->next) {
    if (name.match(e->text)) return true;
  }
  return false;
}

const XString& XStringList::firstMatch(const XString& name) const {
  for (XStringListEntry* e = head; e != nullptr; e = e->next) {
    if (name.match(e->text)) return e->text;
  }
  return emptyString;
}

bool XStringList::contains(const XString& text) const {
  for (XStringListEntry* e = head; e != nullptr; e = e->next) {
    if (e->text.equalsNoCase(text)) return true;
  }
  return false;
}
