#include "settings/allot_list.h"

#include <cstdint>

User::User(const XString& user_, const XString& group_, const XString& credit_)
    : user(user_), group(group_), credit(credit_) {}

// Stored: the name, when, mode, number and the fill-only-if-less switch.
XFile& User::write(XFile& file) const { return file << user << when << mode << number << fillless; }

XFile& User::read(XFile& file) { return file >> user >> when >> mode >> number >> fillless; }

void AllotList::add(const User& user) {
  AllotListEntry* entry = new AllotListEntry;
  entry->user = user;
  entry->next = head;
  head = entry;
  ++count;
}

User* AllotList::find(const XString& name) {
  for (AllotListEntry* e = head; e != nullptr; e = e->next) {
    if (e->user.user.equalsNoCase(name)) return &e->user;
  }
  return nullptr;
}

void AllotList::freeEntries() {
  while (head != nullptr) {
    AllotListEntry* next = head->next;
    delete head;
    head = next;
  }
  count = 0;
}

void AllotList::take(AllotList& other) {
  head = other.head;
  count = other.count;
  other.head = nullptr;
  other.count = 0;
}

void AllotList::splice(AllotList& other) {
  if (other.head == nullptr) return;
  AllotListEntry* last = other.head;
  while (last->next != nullptr) last = last->next;
  last->next = head;
  head = other.head;
  count += other.count;
  other.head = nullptr;
  other.count = 0;
}

XFile& AllotList::write(XFile& file) const {
  file << count;
  for (AllotListEntry* e = head; e != nullptr; e = e->next) e->user.write(file);
  return file;
}

// Each stored entry goes in at the head, so a load reverses the stored
// order. Every stored entry takes at least eleven bytes (name length, when,
// mode, number, switch): a count the rest of the file cannot hold fails the
// file at once, and a short read ends the loop without adding the partial
// entry.
XFile& AllotList::read(XFile& file) {
  constexpr uint64_t kLeastEntryBytes = 4 + 1 + 1 + 4 + 1;
  unsigned int n = 0;
  file >> n;
  if (n * kLeastEntryBytes > file.bytesLeft()) {
    file.markFailed();
    return file;
  }
  for (unsigned int i = 0; i < n && !file.failed(); ++i) {
    // Read in place: a large list is read without a copy of each entry.
    AllotListEntry* entry = new AllotListEntry;
    entry->user.read(file);
    if (file.failed()) {
      delete entry;
      break;
    }
    entry->next = head;
    head = entry;
    ++count;
  }
  return file;
}
