// Per-user credit allotments, kept at the end of the global settings file.
#ifndef SETTINGS_ALLOT_LIST_H_
#define SETTINGS_ALLOT_LIST_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"

// One allotment entry. `group` and `credit` are shown by the configuration
// utility and never stored.
class User {
 public:
  User() = default;
  User(const XString& user, const XString& group, const XString& credit);
  User(const User& other) = default;
  User& operator=(const User& other) = default;

  XFile& write(XFile& file) const;
  XFile& read(XFile& file);

  XString user;
  XString group;
  XString credit;
  bool fillless = true;    // with mode fill: only when the user has less
  unsigned char when = 1;  // 0 daily, 1 weekly, 2 monthly
  unsigned char mode = 0;  // 0 off, 1 add, 2 fill
  int number = 0;          // credits to add or to fill up to
};

struct AllotListEntry {
  AllotListEntry* next = nullptr;
  User user;
};

// A list of allotments that grows at the head; a load appends (it does not
// clear first) and reverses the stored order.
class AllotList {
 public:
  AllotList() = default;
  ~AllotList() { freeEntries(); }
  AllotList(const AllotList&) = delete;
  AllotList& operator=(const AllotList&) = delete;

  void add(const User& user);
  // The first entry from the head whose name equals `name` ignoring the case
  // of 'A'..'Z'; null when none.
  User* find(const XString& name);
  void freeEntries();
  // Takes over the other list's entries; the other becomes empty. The caller
  // frees this list's own entries first.
  void take(AllotList& other);
  // Moves every entry of `other` in front of ours, in their order; the other
  // becomes empty.
  void splice(AllotList& other);
  XFile& write(XFile& file) const;
  // Appends the stored entries at the head without clearing first; on a
  // short file the entries read so far stay and `file` is failed.
  XFile& read(XFile& file);

  AllotListEntry* head = nullptr;
  unsigned int count = 0;
};

#endif  // SETTINGS_ALLOT_LIST_H_
