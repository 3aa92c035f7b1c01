// The list itself, its store file and the locked read-modify-write of it.
//
// Store file: int32 n, then n entries from the head, each: user and text
// (int32 length + bytes), day, weekday, month (one byte each), int32 year,
// hour, minute, second (one byte each).
#include "stores/board.h"

#include <cstdint>

#include "foundation/xfile.h"
#include "platform/lock.h"

namespace {

// The least an entry takes in a store: two empty texts and the date and
// time.
constexpr uint64_t kLeastEntryBytes = 4 + 4 + 7 + 3;

// Control bytes never enter a list: whatever renders it gets plain text.
Entry* makeEntry(const XString& text, const XString& user, const DateTime* when, Entry* next) {
  Entry* entry = new Entry(text, user, when, next);
  maskControlBytes(entry->text);
  maskControlBytes(entry->user);
  return entry;
}

}  // namespace

Entry::Entry(const XString& message, const XString& author, const DateTime* when, Entry* following)
    : text(message), user(author), next(following) {
  DateTime stamp;
  if (when != nullptr) {
    stamp = *when;
  } else {
    stamp.setNow();
  }
  date = stamp.date;
  time = stamp.time;
}

Board::Board(const BoardSettings& settings)
    : settings_(&settings), header_(1024), rows_(1024), footer_(1024) {}

Board::Board(const NewDirListSettings& settings, const NewDirListSettings* include)
    : settings_(&settings),
      list_(&settings),
      include_(include),
      header_(1024),
      rows_(1024),
      footer_(1024) {}

Board::~Board() { clear(); }

void Board::clear() {
  while (head_ != nullptr) {
    Entry* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
  count_ = 0;
  touch();
}

void Board::appendEntry(Entry* entry) {
  if (tail_ == nullptr) {
    head_ = entry;
  } else {
    tail_->next = entry;
  }
  tail_ = entry;
  ++count_;
  touch();
}

void Board::removeLast() {
  if (count_ > 0) {
    bool removed = remove(count_ - 1);
    (void)removed;  // there is a last entry: count_ says so
  }
}

// A full list (at its limit or, after the limit was lowered, above it)
// drops entries at its old end until one more fits, when it may; a limit of
// 0 holds nothing at all.
bool Board::makeRoom(bool atHead) {
  unsigned int limit = settings_->maxentrys;
  if (count_ < limit) return true;
  if (!settings_->maxmode || limit == 0) return false;
  while (count_ >= limit) {
    if (atHead) {
      removeLast();
    } else {
      bool removed = remove(0);
      (void)removed;  // the list is not empty: count_ >= limit > 0
    }
  }
  return true;
}

int Board::add(const XString& text, const XString& user, const DateTime* when) {
  if (!makeRoom(false)) return -1;
  appendEntry(makeEntry(text, user, when, nullptr));
  return static_cast<int>(count_);
}

int Board::prepend(const XString& text, const XString& user, const DateTime* when) {
  if (!makeRoom(true)) return -1;
  Entry* entry = makeEntry(text, user, when, head_);
  head_ = entry;
  if (tail_ == nullptr) tail_ = entry;
  ++count_;
  touch();
  return static_cast<int>(count_);
}

bool Board::remove(unsigned int index) {
  if (index >= count_) return false;
  Entry* before = nullptr;
  Entry* entry = head_;
  for (unsigned int i = 0; i < index; ++i) {
    before = entry;
    entry = entry->next;
  }
  if (before == nullptr) {
    head_ = entry->next;
  } else {
    before->next = entry->next;
  }
  if (entry == tail_) tail_ = before;
  delete entry;
  --count_;
  touch();
  return true;
}

Entry* Board::entryAt(unsigned int index) const {
  if (index >= count_) return nullptr;
  Entry* entry = head_;
  for (unsigned int i = 0; i < index; ++i) entry = entry->next;
  return entry;
}

int Board::save(const char* fileName) const {
  XFile file;
  file.openReplacing(fileName, false);
  if (!file.isOpen()) return 0;
  unsigned int n = count_ < settings_->maxentrys ? count_ : settings_->maxentrys;
  file << static_cast<int>(n);
  Entry* entry = head_;
  for (unsigned int i = 0; i < n; ++i, entry = entry->next) {
    file << entry->user << entry->text;
    DateTime when;
    when.date = entry->date;
    when.time = entry->time;
    writeDateTime(file, when);
  }
  return file.commit() ? 1 : 0;
}

// The stored count is a claim: entries are read while the file holds them,
// and every entry consumes at least kLeastEntryBytes, so a huge count ends
// at the end of the file. Whatever decoded before damage is kept.
int Board::load(const char* fileName) {
  XFile file(fileName, "rb", false);
  if (!file.isOpen()) return 0;
  clear();
  int stored = 0;
  file >> stored;
  if (file.failed() || stored <= 0) return 1;
  unsigned int n = static_cast<unsigned int>(stored);
  for (unsigned int i = 0; i < n && file.bytesLeft() >= kLeastEntryBytes; ++i) {
    XString user;
    XString text;
    DateTime when;
    file >> user >> text;
    readDateTime(file, when);
    if (file.failed()) break;
    if (newestFirst()) {
      // Newest first: the entries past the limit are the oldest.
      if (count_ >= settings_->maxentrys) break;
      appendEntry(makeEntry(text, user, &when, nullptr));
    } else if (add(text, user, &when) < 0) {
      break;  // full and may not drop: the rest would be refused too
    }
  }
  touch();
  return 1;
}

BoardUpdate Board::update(const char* store, const XString& files,
                          const std::function<bool(Board&)>& change) {
  BoardUpdate result;
  platform::FileLock lock;
  if (!lock.held()) return result;
  result.locked = true;
  clear();
  result.loaded = load(store) == 1;
  // A change that was refused writes nothing: neither the store nor the
  // shown files.
  if (!change(*this)) return result;
  result.saved = save(store) == 1;
  // The shown files never show what the store does not hold.
  if (!result.saved) return result;
  result.filesWritten = writeFiles(files, -1);
  return result;
}

BoardUpdate Board::addEntry(const char* store, const XString& files, const XString& text,
                            const XString& user) {
  int count = 0;
  BoardUpdate result = update(store, files, [&](Board& board) {
    count = board.add(text, user);
    return true;
  });
  result.count = count;
  return result;
}

BoardUpdate Board::prependEntry(const char* store, const XString& files, const XString& text,
                                const XString& user) {
  int count = 0;
  BoardUpdate result = update(store, files, [&](Board& board) {
    count = board.prepend(text, user);
    return true;
  });
  result.count = count;
  return result;
}

// A ':' would name a drive ("c:list", read from that drive's current
// folder) or a stream of another file on Windows.
bool isListName(const XString& name) {
  if (name.empty() || name.find("..") >= 0) return false;
  for (unsigned int i = 0; i < name.length(); ++i) {
    char c = name[static_cast<int>(i)];
    if (c == '/' || c == '\\' || c == ':' || c == 0) return false;
  }
  return true;
}

void maskControlBytes(XString& text) {
  for (unsigned int i = 0; i < text.length(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[static_cast<int>(i)]);
    if (c < 0x20 || c == 0x7F) text[static_cast<int>(i)] = '?';
  }
}
