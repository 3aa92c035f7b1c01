// The hooks' shared memo in "Status.sav": five slots, each naming one file
// with one flag byte, through which the hooks run for one upload tell each
// other which file they handled; after them, a record per recently handled
// file, so that releases that complete at the same moment each keep their
// own hand-over.
#ifndef RACE_STATUS_H_
#define RACE_STATUS_H_

#include <vector>

#include "foundation/xfile.h"
#include "foundation/xstring.h"

class Status {
 public:
  static constexpr const char* kFileName = "Status.sav";
  // Records kept after the slots; the oldest goes first.
  static constexpr unsigned int kMaxRecords = 64;

  // What a hook did for a file. Each role has its slot: completed 0,
  // checked 1, racerDone 3, moveDue 4.
  enum Role : unsigned char {
    kCompleted = 1,  // tallyfull completed the release with this file
    kChecked = 2,    // tallyglad or tallysour checked this file
    kRacerDone = 4,  // tallyfull dealt with racer.sav for this file
    kMoveDue = 8,    // the release's move is due
  };

  struct part {
    XString path;
    bool flag = true;
    // The slot names `file` (byte for byte) with flag 0.
    bool holds(const XString& file) const { return !flag && path == file; }
    bool operator==(const part& other) const { return flag == other.flag && path == other.path; }
  };

  struct Record {
    XString path;
    unsigned char roles = 0;
  };

  // Loads the memo; a missing or garbled file gives the defaults (empty
  // paths, flags 1, 1, 1, 1, 0, no records). The file is only ever replaced
  // whole, so no lock is needed to read it.
  Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  // The memo says `role` of `file`: its record does, or the role's slot
  // names it as the slot's meaning has it (flag 0; for moveDue, flag 1).
  bool holds(Role role, const XString& file) const;
  // Records `role` for `file`: the role's slot names the file and the
  // file's record gains the role.
  void mark(Role role, const XString& file);

  // Writes back what this program changed, and only that: under the
  // site-wide lock the file is read again, the changed slots are put in and
  // the records marked here are merged into the records there, and the whole
  // is written to a temporary file and renamed over the old one. Nothing is
  // written when nothing changed, unless `createIfMissing` and the file was
  // missing. False when the lock cannot be had or the write fails; nothing
  // is changed then. Takes the site-wide lock: call it where no lock of the
  // site is held.
  [[nodiscard]] bool save(bool createIfMissing = false);

  bool changed() const;
  bool missing() const { return missing_; }

  part slot[5];
  part& completed = slot[0];
  part& checked = slot[1];
  part& spare = slot[2];  // no meaning; kept as it is
  part& racerDone = slot[3];
  part& moveDue = slot[4];

 private:
  bool missing_ = true;
  part loaded_[5];
  std::vector<Record> records_;
  // The records this program marked, to merge on save.
  std::vector<Record> marked_;
};

// Reads the memo from an open file into `slots` and `records`; false when
// the five slots cannot be read, and then nothing is taken. A tail of
// records that does not decode gives no records.
bool readStatus(XFile& file, Status::part* slots, std::vector<Status::Record>* records);

#endif  // RACE_STATUS_H_
