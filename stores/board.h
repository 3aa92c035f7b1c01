// The message board, the request board and the new-directory lists: bounded
// lists of entries kept in a store file in the data folder and rendered into
// text files that the site shows.
#ifndef STORES_BOARD_H_
#define STORES_BOARD_H_

#include <functional>
#include <string>

#include "foundation/xstring.h"
#include "settings/gconfig.h"
#include "stores/date_time.h"

// One entry of a board or list: a text (a message, a request, or a new
// folder's virtual path), who made it, and when.
struct Entry {
  // Copies the texts; a null `when` takes the current local date and time.
  Entry(const XString& message, const XString& author, const DateTime* when, Entry* following);
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;

  XString text;
  XString user;
  Date date;
  Time time;
  Entry* next;
};

// What one locked change of a store did (Board::update and its two short
// forms). When `locked` is false the site-wide lock could not be had and
// nothing was read, changed or written.
struct [[nodiscard]] BoardUpdate {
  bool locked = false;
  bool loaded = false;        // the store file was there and was read
  int count = 0;              // addEntry, prependEntry: add's or prepend's result
  bool saved = false;         // the store file was written
  bool filesWritten = false;  // every shown file was written
};

// A bounded list of entries with its settings (not owned) and its last
// rendering. A board (message or request) grows at its tail, oldest entry
// first; a new-directory list is filled at its head, newest entry first, and
// whatever makes room or trims it drops entries at the old end.
//
// load, save and writeFiles touch files without locking: a read-modify-write
// of a shared store goes through update (or addEntry / prependEntry), which
// holds the site-wide lock for the whole of it.
class Board {
 public:
  static constexpr const char* kMessageBoardFile = "mboard.sav";
  static constexpr const char* kRequestBoardFile = "rboard.sav";
  static constexpr const char* kNewDirListFile = "newdirlist.sav";
  static constexpr const char* kListSuffix = ".ndl";

  // A message or request board.
  explicit Board(const BoardSettings& settings);
  // A new-directory list. With `include`, a head or tail line
  // "%X<name>" takes the rows of the list stored in name + ".ndl", laid out
  // by `include`.
  explicit Board(const NewDirListSettings& settings, const NewDirListSettings* include = nullptr);
  ~Board();
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  // A new entry at the tail. When the list holds `maxentrys` entries (or
  // more) and `maxmode` is on, the oldest go first; with `maxmode` off, or a
  // limit of 0, nothing changes and the result is -1. Otherwise the new
  // count. Control bytes in the text and the user become '?'.
  [[nodiscard]] int add(const XString& text, const XString& user, const DateTime* when = nullptr);
  // The same at the head: makes room by dropping entries at the tail.
  [[nodiscard]] int prepend(const XString& text, const XString& user,
                            const DateTime* when = nullptr);
  // Frees entry `index` (0-based); false when there is none.
  [[nodiscard]] bool remove(unsigned int index);
  // Entry `index` (0-based), or null.
  Entry* entryAt(unsigned int index) const;
  void clear();

  // Writes at most `maxentrys` entries from the head; 1, or 0 when the file
  // could not be written (the old file then stays).
  [[nodiscard]] int save(const char* fileName) const;
  // Reads a store into the cleared list under the current limits; a board
  // over its limit keeps its newest entries with `maxmode` on and its first
  // ones with it off, a new-directory list keeps its newest. A damaged store
  // gives the entries before the damage. 1, or 0 when the file cannot be
  // opened (the list is then left as it was).
  [[nodiscard]] int load(const char* fileName);

  // Renders header, rows and footer; a negative row limit renders every
  // row. A nested rendering (a list included by another) has rows only. The
  // rendering is kept until the list or the arguments change.
  void render(int rowLimit, bool nested);
  // Renders, then writes the three texts into each file of a '|'-separated
  // list of names. A file that cannot be written is skipped and makes the
  // result false.
  [[nodiscard]] bool writeFiles(const XString& fileList, int rowLimit);

  // Under the site-wide lock: reads `store` into the cleared list, calls
  // `change`, and when it returns true saves to `store` and, once that
  // succeeded, writes the shown `files` (every row). When it returns false
  // no file is written. `change` runs with the lock held and must not take
  // it again.
  BoardUpdate update(const char* store, const XString& files,
                     const std::function<bool(Board&)>& change);
  // update with add or prepend; the store is saved either way, so a list
  // over a lowered limit is stored trimmed.
  BoardUpdate addEntry(const char* store, const XString& files, const XString& text,
                       const XString& user);
  BoardUpdate prependEntry(const char* store, const XString& files, const XString& text,
                           const XString& user);

  unsigned int count() const { return count_; }
  Entry* head() const { return head_; }
  const BoardSettings& settings() const { return *settings_; }
  const XStringBuffer& header() const { return header_; }
  const XStringBuffer& rows() const { return rows_; }
  const XStringBuffer& footer() const { return footer_; }

 private:
  bool newestFirst() const { return settings_->type == 3; }
  bool makeRoom(bool atHead);
  void appendEntry(Entry* entry);
  void removeLast();
  void touch() { rendered_ = false; }
  void renderFrame(const XString& frame, int rowLimit, std::string& out) const;
  void appendIncluded(const XString& line, int rowLimit, std::string& out) const;
  void renderRows(int rowLimit, std::string& out) const;

  const BoardSettings* settings_;
  const NewDirListSettings* list_ = nullptr;     // set for new-directory lists
  const NewDirListSettings* include_ = nullptr;  // layout of included lists
  Entry* head_ = nullptr;
  Entry* tail_ = nullptr;
  unsigned int count_ = 0;
  XStringBuffer header_;
  XStringBuffer rows_;
  XStringBuffer footer_;
  bool rendered_ = false;
  int renderedLimit_ = -1;
  bool renderedNested_ = false;
};

// A list name that may be looked up in the data folder: not empty, without
// a path separator, a drive's ':' and "..".
bool isListName(const XString& name);

// Replaces every control byte (below 0x20, and 0x7F) by '?'.
void maskControlBytes(XString& text);

#endif  // STORES_BOARD_H_
