#include "race/status.h"

#include "platform/lock.h"

namespace {

// After the five slots: this tag, a count and the records (path, roles
// byte). A reader that knows only the slots stops before it.
constexpr unsigned int kRecordsTag = 0x31524342;  // "BCR1"

constexpr unsigned char kAllRoles =
    Status::kCompleted | Status::kChecked | Status::kRacerDone | Status::kMoveDue;

void setDefaults(Status::part* slots) {
  for (int i = 0; i < 5; ++i) {
    slots[i].path = "";
    slots[i].flag = i != 4;
  }
}

int slotOf(Status::Role role) {
  switch (role) {
    case Status::kCompleted:
      return 0;
    case Status::kChecked:
      return 1;
    case Status::kRacerDone:
      return 3;
    case Status::kMoveDue:
      return 4;
  }
  return 2;
}

// Adds `roles` to the record of `path`, which becomes the newest; the
// oldest record goes when there is no room.
void addRoles(std::vector<Status::Record>* records, const XString& path, unsigned char roles) {
  Status::Record record;
  record.path = path;
  record.roles = roles;
  for (auto it = records->begin(); it != records->end(); ++it) {
    if (it->path == path) {
      record.roles = static_cast<unsigned char>(record.roles | it->roles);
      records->erase(it);
      break;
    }
  }
  if (records->size() >= Status::kMaxRecords) records->erase(records->begin());
  records->push_back(record);
}

bool readRecords(XFile& file, std::vector<Status::Record>* records) {
  records->clear();
  if (file.bytesLeft() == 0) return true;
  unsigned int tag = 0, n = 0;
  file >> tag >> n;
  if (file.failed() || tag != kRecordsTag || n > Status::kMaxRecords) return false;
  records->resize(n);
  for (Status::Record& record : *records) {
    file >> record.path >> record.roles;
    record.roles &= kAllRoles;
  }
  if (file.failed() || file.bytesLeft() != 0) {
    records->clear();
    return false;
  }
  return true;
}

}  // namespace

bool readStatus(XFile& file, Status::part* slots, std::vector<Status::Record>* records) {
  Status::part read[5];
  for (Status::part& slot : read) file >> slot.path >> slot.flag;
  if (file.failed()) return false;
  for (int i = 0; i < 5; ++i) slots[i] = read[i];
  // Records that do not decode are dropped; the slots stand.
  (void)readRecords(file, records);
  return true;
}

Status::Status() {
  setDefaults(slot);
  XFile file(kFileName, "rb", false);
  if (file.isOpen()) {
    missing_ = false;
    if (!readStatus(file, slot, &records_)) setDefaults(slot);
  }
  for (int i = 0; i < 5; ++i) loaded_[i] = slot[i];
}

bool Status::holds(Role role, const XString& file) const {
  for (const std::vector<Record>* list : {&records_, &marked_}) {
    for (const Record& record : *list) {
      if (record.path == file && (record.roles & role) != 0) return true;
    }
  }
  const part& s = slot[slotOf(role)];
  return role == kMoveDue ? s.flag && s.path == file : s.holds(file);
}

void Status::mark(Role role, const XString& file) {
  part& s = slot[slotOf(role)];
  s.path = file;
  s.flag = role == kMoveDue;
  addRoles(&marked_, file, role);
}

bool Status::changed() const {
  if (!marked_.empty()) return true;
  for (int i = 0; i < 5; ++i) {
    if (!(slot[i] == loaded_[i])) return true;
  }
  return false;
}

bool Status::save(bool createIfMissing) {
  if (!changed() && !(missing_ && createIfMissing)) return true;
  platform::FileLock lock;
  if (!lock.held()) return false;
  part current[5];
  setDefaults(current);
  std::vector<Record> records;
  {
    XFile file(kFileName, "rb", false);
    if (file.isOpen() && !readStatus(file, current, &records)) setDefaults(current);
  }
  for (int i = 0; i < 5; ++i) {
    if (!(slot[i] == loaded_[i])) current[i] = slot[i];
  }
  for (const Record& record : marked_) addRoles(&records, record.path, record.roles);
  XFile out;
  out.openReplacing(kFileName, false);
  for (const part& entry : current) out << entry.path << entry.flag;
  if (!records.empty()) {
    out << kRecordsTag << static_cast<unsigned int>(records.size());
    for (const Record& record : records) out << record.path << record.roles;
  }
  if (!out.commit()) return false;
  for (int i = 0; i < 5; ++i) loaded_[i] = slot[i];
  records_ = records;
  marked_.clear();
  missing_ = false;
  return true;
}
