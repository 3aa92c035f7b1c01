#include "race/racer.h"

#include <vector>

#include "hookkit/dir_set.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_status.h"
#include "platform/paths.h"

namespace {

// The magic before each list of a race file; 953 is read as well.
constexpr unsigned int kListMagic = 954;
constexpr unsigned int kOldListMagic = 953;

// The smallest stored entry: two empty texts, two empty lists, an empty
// vector, four counters and the speed.
constexpr uint64_t kMinEntryBytes = 4 + 4 + 4 + 4 + 4 + 4 * 4 + 4;

}  // namespace

// ---- RacerListEntry ----

void RacerListEntry::addRacer(const XString& user) {
  if (!racers.contains(user)) racers.add(user);
}

void RacerListEntry::addFile(const XString& fileName, unsigned int sizeKb, float speed) {
  ++filesCount;
  kb += sizeKb;
  speedSum += speed;
  files.add(fileName);
  sizes.push(sizeKb);
}

void RacerListEntry::addSfvFile(unsigned int sizeKb) {
  ++sfvFiles;
  sfvKb += sizeKb;
}

float RacerListEntry::averageSpeed() const {
  return filesCount == 0 ? 0.0f : speedSum / static_cast<float>(filesCount);
}

XFile& RacerListEntry::write(XFile& file) const {
  file << name << group << racers << files;
  sizes.write(file);
  return file << kb << filesCount << sfvKb << sfvFiles << speedSum;
}

XFile& RacerListEntry::read(XFile& file) {
  file >> name >> group >> racers >> files;
  sizes.read(file);
  return file >> kb >> filesCount >> sfvKb >> sfvFiles >> speedSum;
}

// ---- RacerList ----

RacerListEntry* RacerList::find(const XString& name) const {
  for (RacerListEntry* e = head; e != nullptr; e = e->next) {
    if (e->name.equalsNoCase(name)) return e;
  }
  return nullptr;
}

RacerListEntry* RacerList::add(const XString& name, const XString& group) {
  RacerListEntry* entry = new RacerListEntry(name, group);
  pushFront(entry);
  return entry;
}

RacerListEntry* RacerList::at(unsigned int n) const {
  RacerListEntry* e = head;
  for (; e != nullptr && n > 0; --n) e = e->next;
  return e;
}

void RacerList::clear() {
  while (RacerListEntry* e = popFront()) delete e;
}

RacerListEntry* RacerList::popFront() {
  RacerListEntry* e = head;
  if (e == nullptr) return nullptr;
  head = e->next;
  if (head == nullptr) tail_ = nullptr;
  e->next = nullptr;
  --count;
  return e;
}

void RacerList::pushFront(RacerListEntry* entry) {
  entry->next = head;
  head = entry;
  if (tail_ == nullptr) tail_ = entry;
  ++count;
}

void RacerList::appendList(RacerList& other) {
  if (other.head == nullptr) return;
  if (head == nullptr) {
    head = other.head;
  } else {
    tail_->next = other.head;
  }
  tail_ = other.tail_;
  count += other.count;
  other.head = nullptr;
  other.tail_ = nullptr;
  other.count = 0;
}

// The head-pivot quicksort: the head's key is the pivot; entries are taken
// off the head one by one and linked in at the head of the less, equal or
// greater list; the result is greater, equal, less. Rather than recursing,
// the parts wait on a stack in the order they are emitted, so a long sorted
// list cannot exhaust the call stack; the order is that of the recursion.
template <class Key>
void RacerList::sortBy(Key key) {
  if (count < 2) return;
  struct Part {
    RacerList* list;
    bool sorted;
  };
  std::vector<RacerList*> owned;
  std::vector<Part> pending;
  RacerList* whole = new RacerList;
  owned.push_back(whole);
  whole->appendList(*this);
  pending.push_back({whole, false});
  while (!pending.empty()) {
    Part part = pending.back();
    pending.pop_back();
    if (part.sorted || part.list->count < 2) {
      appendList(*part.list);
      continue;
    }
    auto pivot = key(part.list->head);
    RacerList* less = new RacerList;
    RacerList* equal = new RacerList;
    RacerList* greater = new RacerList;
    owned.insert(owned.end(), {less, equal, greater});
    while (RacerListEntry* e = part.list->popFront()) {
      auto k = key(e);
      if (k < pivot) {
        less->pushFront(e);
      } else if (pivot < k) {
        greater->pushFront(e);
      } else {
        equal->pushFront(e);
      }
    }
    pending.push_back({less, false});
    pending.push_back({equal, true});
    pending.push_back({greater, false});
  }
  for (RacerList* list : owned) delete list;  // all empty by now
}

void RacerList::sortByFiles() {
  sortBy([](const RacerListEntry* e) { return e->filesCount; });
}

void RacerList::sortBySize() {
  sortBy([](const RacerListEntry* e) { return e->kb; });
}

void RacerList::sortBySpeed() {
  sortBy([](const RacerListEntry* e) { return e->averageSpeed(); });
}

XFile& RacerList::write(XFile& file) const {
  file << kListMagic << count;
  for (RacerListEntry* e = head; e != nullptr; e = e->next) e->write(file);
  return file;
}

bool RacerList::read(XFile& file) {
  clear();
  unsigned int magic = 0;
  unsigned int n = 0;
  file >> magic;
  if (file.failed()) return false;
  if (magic != kListMagic && magic != kOldListMagic) return false;
  file >> n;
  if (file.failed()) return false;
  if (n > kMaxRacerEntries || static_cast<uint64_t>(n) * kMinEntryBytes > file.bytesLeft()) {
    file.markFailed();
    return false;
  }
  for (unsigned int i = 0; i < n && !file.failed(); ++i) {
    RacerListEntry* entry = new RacerListEntry;
    pushFront(entry);
    entry->read(file);
  }
  return !file.failed();
}

// ---- Racer ----

void Racer::reset() {
  allKb = allFiles = sfvUploadedKb = sfvUploadedFiles = sfvListedKb = sfvListedFiles = 0;
  users.clear();
  groups.clear();
  mySfv = "";
}

// A race file lies in the release folder, where an uploader can put a file
// of that name: everything it claims is bounded by what it holds, and a file
// that does not decode is no race data at all.
bool Racer::load(const XString& path) {
  XFile file(path.c_str(), "rb", false);
  if (!file.isOpen()) return false;
  reset();
  file >> allKb >> allFiles >> sfvListedKb >> sfvListedFiles >> sfvUploadedKb >> sfvUploadedFiles >>
      mySfv;
  // An unknown list magic leaves that list empty; what follows it cannot be
  // trusted and is treated as absent.
  if (!file.failed() && users.read(file)) groups.read(file);
  if (file.failed()) {
    reset();
    return false;
  }
  return true;
}

bool Racer::save(const XString& path) {
  XFile file;
  file.openReplacing(path.c_str(), false);
  if (!file.isOpen()) return false;
  file << allKb << allFiles << sfvListedKb << sfvListedFiles << sfvUploadedKb << sfvUploadedFiles
       << mySfv;
  users.write(file);
  groups.write(file);
  return file.commit();
}

void Racer::addUpload(const XString& physicalPath, const XString& virtualPath, const XString& user,
                      const XString& group, unsigned int sizeKb, float speed) {
  lastFile = physicalPath;
  lastVirtual = virtualPath;
  lastKb = sizeKb;
  RacerListEntry* userEntry = users.find(user);
  RacerListEntry* groupEntry = groups.find(group);
  if (userEntry == nullptr) userEntry = users.add(user, group);
  if (groupEntry == nullptr) groupEntry = groups.add(group, group);
  groupEntry->addRacer(user);
  if (extensionOrName(physicalPath).equalsNoCase(XString("sfv"))) {
    rescanSfv(physicalPath);
    return;
  }
  allKb += sizeKb;
  ++allFiles;
  XString fileName = fileNameOf(physicalPath);
  userEntry->addFile(fileName, sizeKb, speed);
  groupEntry->addFile(fileName, sizeKb, speed);
}

void Racer::rescanSfv(const XString& sfvPath) {
  if (!mySfv.empty()) return;
  mySfv = sfvPath;
  XPath folder(sfvPath);
  folder.toParent();
  SFVStatus sfv(folder);
  sfvListedKb = sfv.listedKB();
  sfvListedFiles = sfv.fileCount();
  sfvUploadedKb = sfv.presentKB();
  sfvUploadedFiles = sfv.presentCount();
  for (RacerList* list : {&users, &groups}) {
    for (RacerListEntry* e = list->head; e != nullptr; e = e->next) {
      // File name i pairs with size i; names without a size count nothing.
      const VectorItem<unsigned int>* size = e->sizes.head;
      for (XStringListEntry* f = e->files.head; f != nullptr && size != nullptr;
           f = f->next, size = size->next) {
        if (sfv.contains(f->text)) e->addSfvFile(size->value);
      }
    }
  }
}

void Racer::addCheckedFile(int sizeKb, const XString& user, const XString& group) {
  unsigned int kb = static_cast<unsigned int>(sizeKb);
  sfvUploadedKb += kb;
  ++sfvUploadedFiles;
  RacerListEntry* userEntry = users.find(user);
  RacerListEntry* groupEntry = groups.find(group);
  if (userEntry == nullptr) userEntry = users.add(user, group);
  if (groupEntry == nullptr) groupEntry = groups.add(group, group);
  userEntry->addSfvFile(kb);
  groupEntry->addSfvFile(kb);
  groupEntry->addRacer(user);
}
