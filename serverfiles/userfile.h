// The server's user file: one user per line, 23 fields separated by ':'.
#ifndef SERVERFILES_USERFILE_H_
#define SERVERFILES_USERFILE_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "serverfiles/server_file.h"

// Credits are kept in hundredths: 1250 is 12.50.
constexpr int64_t kCreditUnit = 100;

// One user of the server. Of its fields the suite uses the name, the first
// group and the credits; the others are taken from the line for display
// when asked for. The texts are views into the line, which the Userfile
// keeps. Only `credits` may be changed: a save writes the line exactly as it
// was read, with field 16 replaced when the credits changed.
struct UserfileEntry {
  // Takes a line (without its line end) apart; false unless it holds
  // exactly 22 separators.
  bool parse(std::string_view text);
  // The line as a save writes it, without a line end.
  XString toLine() const;
  // The credits with two decimals.
  XString creditText() const;
  bool creditsChanged() const { return credits != readCredits_; }

  // Field k (1 to 23) as it stands in the line; field 23 without its
  // trailing CR and LF characters.
  std::string_view field(int k) const;
  // Field k read as the server's numbers (2, 6 to 8, 11, 12, 18): its
  // leading decimal digits.
  unsigned int number(int k) const;
  // Field k read as a signed number (9): '-' and the leading digits.
  int signedNumber(int k) const;
  // Field k read as a switch (5, 10, 17, 21, 22): only "1" is on.
  bool switchOn(int k) const { return field(k) == "1"; }
  // The further groups of field 4, in line order from the head.
  XStringList groups() const;
  // Field 19 holds eight characters: seven flags ('0' is off) and one more.
  bool flagsInvalid() const { return field(19).size() != 8; }
  // Flag i (1 to 7); off when the field is invalid.
  bool flag(int i) const;

  std::string_view line;
  std::string_view lineEnd;  // as read; empty for a last line without one
  std::string_view user;     // field 1
  std::string_view group;    // the first group of field 4
  int64_t credits = 0;       // field 16, in hundredths

 private:
  friend class Userfile;
  int64_t readCredits_ = 0;
  size_t creditsAt_ = 0;  // field 16 within the line
  size_t creditsLength_ = 0;
};

// Credits in hundredths from a decimal text ('.' or ',' before the
// decimals, '-' the only sign); the leading numeric part counts, a third
// decimal rounds half up.
int64_t parseCredits(std::string_view text);
// Credits in hundredths as a decimal text with two decimals.
std::string formatCredits(int64_t hundredths);

// One user's change of credits, found again in a file read anew by the
// user's name and place among the users of that name.
struct CreditChange {
  std::string user;
  unsigned int occurrence;  // 0 for the first user of that name
  int64_t delta;            // hundredths
};

// The user file in memory, in file order. A save is refused unless the last
// load read every line (a file that could not be opened counts as not
// read). The save replaces the file atomically; when the server changed the
// file since it was read, the save reads it again and applies this run's
// credit changes to it, as differences, before writing. A link at the
// file's path is followed: the file it leads to is read and replaced, the
// link kept. The caller holds the site-wide lock from the load to the save.
class Userfile {
 public:
  explicit Userfile(const char* file);
  Userfile(const Userfile&) = delete;
  Userfile& operator=(const Userfile&) = delete;

  // False when the file cannot be opened or read, or a line does not hold
  // exactly 22 separators (the entries before it stay).
  [[nodiscard]] bool load(const char* file);
  // The entry at `index` in file order; null past the end. Valid until the
  // next load, or a save that had to read the file again.
  UserfileEntry* entry(unsigned int index);
  // Writes every line, changed credits included, keeping the file's mode
  // bits. False leaves the old file as it was: also when the load was not
  // whole, when the path leads to something other than a regular file, or
  // when the server kept changing the file through a few tries.
  [[nodiscard]] bool save(const char* file);
  // The credit changes since the last load or save, in file order.
  std::vector<CreditChange> creditChanges() const;
  // Adds each change to the credits of its user; a change whose user is
  // not in the file is left out.
  void applyCreditChanges(const std::vector<CreditChange>& changes);

  XPath path;
  unsigned int count = 0;
  bool ok = false;  // the last load read the whole file

 private:
  void write(ChunkWriter& out) const;
  bool reloadKeepingChanges();
  void settleWritten();

  FileBytes text_;                     // the file as read
  std::deque<std::string> rewritten_;  // lines a save changed; a deque never moves them
  std::vector<UserfileEntry> entries_;
  FileStamp stamp_;  // of the file as read
};

#endif  // SERVERFILES_USERFILE_H_
