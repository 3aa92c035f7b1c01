#include "programs/creditdole/creditdole.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/xfile.h"
#include "hookkit/hook_frame.h"
#include "platform/fs.h"
#include "platform/lock.h"
#include "serverfiles/userfile.h"
#include "settings/allot_list.h"

namespace {

enum When : unsigned char { kDaily = 0, kWeekly = 1, kMonthly = 2 };
enum Mode : unsigned char { kOff = 0, kAdd = 1, kFill = 2 };
constexpr int kMonday = 1;

std::string foldedName(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

// The allotment entries by their names with 'A'..'Z' folded; of entries
// whose names differ only so, the one nearer the list's head, as
// AllotList::find gives it. One lookup per user keeps a large site linear.
class AllotIndex {
 public:
  explicit AllotIndex(const AllotList& list) {
    byName_.reserve(list.count);
    for (const AllotListEntry* e = list.head; e != nullptr; e = e->next) {
      byName_.emplace(foldedName(std::string_view(e->user.user.c_str(), e->user.user.length())),
                      &e->user);
    }
  }
  const User* find(std::string_view name) const {
    auto found = byName_.find(foldedName(name));
    return found == byName_.end() ? nullptr : found->second;
  }

 private:
  std::unordered_map<std::string, const User*> byName_;
};

bool isDue(const User& allot, const Date& today) {
  switch (allot.when) {
    case kDaily:
      return true;
    case kWeekly:
      return today.weekday == kMonday;
    case kMonthly:
      return today.day == 1;
    default:
      return false;
  }
}

// Credits are hundredths: an allotment's whole credits add or fill exactly.
void allot(const User& allot, UserfileEntry* user) {
  const int64_t number = int64_t{allot.number} * kCreditUnit;
  if (allot.mode == kAdd) {
    user->credits += number;
  } else if (allot.mode == kFill && (number > user->credits || !allot.fillless)) {
    user->credits = number;
  }
}

}  // namespace

LastAllot readLastAllot(const char* path, Date* date) {
  XFile file(path, "rb", false);
  if (!file.isOpen()) {
    return platform::pathExists(path) ? LastAllot::kUnusable : LastAllot::kNone;
  }
  Date read;
  readDate(file, read);
  if (file.failed()) return LastAllot::kNone;
  *date = read;
  return LastAllot::kRead;
}

bool prepareLastAllot(const char* path, const Date& date, XFile* file) {
  file->openReplacing(path, false);
  if (!file->isOpen()) return false;
  writeDate(*file, date);
  return file->prepare();
}

int runAllotment(const XString& commandLine) {
  HookFrame frame(kCreditdole);
  int code = frame.takeFields(commandLine);
  if (code != kExitDone) return code;
  frame.loadGlobal();
  const GConfig& global = frame.global;

  // Two runs started together, or on either side of midnight: the second
  // waits here, and only then reads the day, so that it finds a day the
  // first one served in "lastallot.sav".
  platform::FileLock lock;
  if (!lock.held()) return kExitNoLock;
  Date today;
  today.setNow();
  Date last;
  switch (readLastAllot(kLastAllotFile, &last)) {
    case LastAllot::kUnusable:
      return kExitLastAllotUnusable;
    case LastAllot::kRead:
      if (Date::sameDay(last, today)) return kExitAlreadyRan;
      break;
    case LastAllot::kNone:
      break;
  }

  const char* userPath = global.userfile.c_str();
  std::string target;
  if (!serverFileTarget(userPath, &target) && platform::pathExists(userPath)) {
    return kExitUsersNotAFile;
  }
  Userfile users(userPath);
  if (!users.ok) return kExitUsersUnreadable;
  // The day is written beside the old record before any credit is given: a
  // day that cannot be recorded gives nothing. It counts as done only once
  // its credits are saved.
  XFile day;
  if (!prepareLastAllot(kLastAllotFile, today, &day)) return kExitLastAllotUnusable;

  const AllotIndex index(global.al);
  for (unsigned int i = 0; i < users.count; ++i) {
    UserfileEntry* user = users.entry(i);
    const User* entry = index.find(user->user);
    if (entry != nullptr && isDue(*entry, today)) allot(*entry, user);
  }
  std::vector<CreditChange> given = users.creditChanges();
  if (!given.empty() && !users.save(userPath)) return kExitUsersNotSaved;
  if (day.commitDurable()) return kExitDone;

  // The day could not be recorded after all: the credits go back, so that
  // the next start gives them once.
  if (given.empty()) return kExitLastAllotUnusable;
  for (CreditChange& change : given) change.delta = -change.delta;
  users.applyCreditChanges(given);
  return users.save(userPath) ? kExitLastAllotUnusable : kExitGivenNotRecorded;
}
