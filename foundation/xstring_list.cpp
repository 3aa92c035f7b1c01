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

// Relinks the entries in ascending order without copying texts. Texts that
// compare equal are byte-identical, so this is the order of the classic
// head-pivot quicksort, without its recursion.
void XStringList::sort() {
  if (count < 2) return;
  std::vector<XStringListEntry*> entries;
  entries.reserve(count);
  for (XStringListEntry* e = head; e != nullptr; e = e->next) entries.push_back(e);
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const XStringListEntry* a, const XStringListEntry* b) { return !(b->text <= a->text); });
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
