// The hooks' shared memo in "Status.sav": five slots, each naming one file
// with one flag byte, through which the hooks run for one upload tell each
// other which file they handled.
#ifndef RACE_STATUS_H_
#define RACE_STATUS_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"

class Status {
 public:
  static constexpr const char* kFileName = "Status.sav";

  struct part {
    XString path;
    bool flag = true;
    // The slot names `file` (byte for byte) with flag 0.
    bool holds(const XString& file) const { return !flag && path == file; }
    bool operator==(const part& other) const { return flag == other.flag && path == other.path; }
  };

  // Loads the memo. A missing or garbled file gives the defaults: empty
  // paths, flags 1, 1, 1, 1, 0. With `createIfMissing` the destructor writes
  // the file when it was missing, even if no slot changed.
  explicit Status(bool createIfMissing = false);
  // Writes back the slots this program changed, and only those: under the
  // lock the file is read again, the changed slots are put in, and the whole
  // is written to a temporary file and renamed over the old one. A program
  // that changed nothing writes nothing.
  ~Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  bool changed() const;

  part slot[5];
  part& completed = slot[0];  // tallyfull completed the release with this file
  part& checked = slot[1];    // tallyglad or tallysour checked this file
  part& spare = slot[2];      // no meaning; kept as it is
  part& racerDone = slot[3];  // tallyfull dealt with racer.sav for this file
  part& moveDue = slot[4];    // the release's move is due (flag set)

 private:
  bool missing_ = true;
  bool createIfMissing_;
  part loaded_[5];
};

// Reads the five slots from an open memo file; false when the file does not
// hold exactly five slots.
bool readStatusSlots(XFile& file, Status::part* slots);

#endif  // RACE_STATUS_H_
