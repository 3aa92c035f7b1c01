#include "race/status.h"

#include "platform/lock.h"

namespace {

void setDefaults(Status::part* slots) {
  for (int i = 0; i < 5; ++i) {
    slots[i].path = "";
    slots[i].flag = i != 4;
  }
}

}  // namespace

bool readStatusSlots(XFile& file, Status::part* slots) {
  Status::part read[5];
  for (Status::part& slot : read) file >> slot.path >> slot.flag;
  if (file.failed() || file.bytesLeft() != 0) return false;
  for (int i = 0; i < 5; ++i) slots[i] = read[i];
  return true;
}

Status::Status(bool createIfMissing) : createIfMissing_(createIfMissing) {
  setDefaults(slot);
  XFile file(kFileName, "rb", false);
  if (file.isOpen()) {
    missing_ = false;
    if (!readStatusSlots(file, slot)) setDefaults(slot);
  }
  for (int i = 0; i < 5; ++i) loaded_[i] = slot[i];
}

bool Status::changed() const {
  for (int i = 0; i < 5; ++i) {
    if (!(slot[i] == loaded_[i])) return true;
  }
  return false;
}

Status::~Status() {
  if (!changed() && !(missing_ && createIfMissing_)) return;
  platform::FileLock lock;
  part current[5];
  setDefaults(current);
  {
    XFile file(kFileName, "rb", false);
    if (file.isOpen() && !readStatusSlots(file, current)) setDefaults(current);
  }
  for (int i = 0; i < 5; ++i) {
    if (!(slot[i] == loaded_[i])) current[i] = slot[i];
  }
  XFile out;
  out.openReplacing(kFileName, false);
  for (const part& entry : current) out << entry.path << entry.flag;
  out.commit();
}
