// The race of one release: who uploaded what into it, per user and per
// group, kept in the hidden file "racer.sav" in the release folder.
#ifndef RACE_RACER_H_
#define RACE_RACER_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "hookkit/vector.h"
#include "settings/mconfig.h"

// One user's or one group's part of the race.
class RacerListEntry {
 public:
  RacerListEntry() = default;
  RacerListEntry(const XString& entryName, const XString& entryGroup)
      : name(entryName), group(entryGroup) {}
  RacerListEntry(const RacerListEntry&) = delete;
  RacerListEntry& operator=(const RacerListEntry&) = delete;

  // Adds a user name to a group entry's racers unless it is there already
  // (ignoring the case of 'A'..'Z').
  void addRacer(const XString& user);
  void addFile(const XString& fileName, unsigned int sizeKb, float speed);
  void addSfvFile(unsigned int sizeKb);
  // speedSum / filesCount; 0 without counted files.
  float averageSpeed() const;

  XFile& write(XFile& file) const;
  XFile& read(XFile& file);

  float speedSum = 0;
  XString name;
  XString group;
  XStringList racers;
  XStringList files;           // newest at the head
  Vector<unsigned int> sizes;  // position i is the size of file name i
  unsigned int kb = 0;
  unsigned int filesCount = 0;
  unsigned int sfvKb = 0;
  unsigned int sfvFiles = 0;
  RacerListEntry* next = nullptr;
};

// A list of entries that grows at the head; it owns its entries. It keeps
// its last entry too, so that appending a list takes constant time: change
// it only through its operations.
class RacerList {
 public:
  RacerList() = default;
  ~RacerList() { clear(); }
  RacerList(const RacerList&) = delete;
  RacerList& operator=(const RacerList&) = delete;

  // The first entry whose name equals `name` ignoring the case of 'A'..'Z'.
  RacerListEntry* find(const XString& name) const;
  RacerListEntry* add(const XString& name, const XString& group);
  RacerListEntry* at(unsigned int n) const;
  void clear();
  RacerListEntry* popFront();
  void pushFront(RacerListEntry* entry);
  // Links the other list's entries after our last one; the other is left
  // empty.
  void appendList(RacerList& other);

  // Descending by the key. The head entry's key is the pivot and entries
  // with the pivot key come out in reverse of their order before the sort,
  // so sorting a sorted list can swap entries with equal keys.
  void sortByFiles();
  void sortBySize();
  void sortBySpeed();

  XFile& write(XFile& file) const;
  // Clears the list and reads it. A list with an unknown magic stays empty
  // and returns false: nothing after it can be trusted.
  bool read(XFile& file);

  RacerListEntry* head = nullptr;
  unsigned int count = 0;

 private:
  template <class Key>
  void sortBy(Key key);

  RacerListEntry* tail_ = nullptr;
};

class Racer {
 public:
  static constexpr const char* kFileName = "racer.sav";

  explicit Racer(const RacerSettings* raceSettings) : settings(raceSettings) {}
  Racer(const Racer&) = delete;
  Racer& operator=(const Racer&) = delete;

  // False when the file cannot be opened or does not decode; the race is
  // then empty.
  [[nodiscard]] bool load(const XString& path);
  // Writes to a temporary file and renames it over `path`.
  [[nodiscard]] bool save(const XString& path);
  void addUpload(const XString& physicalPath, const XString& virtualPath, const XString& user,
                 const XString& group, unsigned int sizeKb, float speed);
  // Fixes the race's SFV figures from the SFV's folder, once per race.
  void rescanSfv(const XString& sfvPath);
  // Counts one file that passed the server's SFV check.
  void addCheckedFile(int sizeKb, const XString& user, const XString& group);
  // Renders the statistics text into `path`: the reply to the server when
  // `ask` is set, else the release's ".message".
  [[nodiscard]] bool writeStats(const XString& path, bool ask);

  unsigned int allKb = 0;
  unsigned int allFiles = 0;
  unsigned int sfvUploadedKb = 0;
  unsigned int sfvUploadedFiles = 0;
  unsigned int sfvListedKb = 0;
  unsigned int sfvListedFiles = 0;
  unsigned int lastKb = 0;
  RacerList users;
  RacerList groups;
  XString lastFile;
  XString mySfv;
  XString lastVirtual;
  const RacerSettings* settings;

 private:
  void reset();
};

// At most this many entries in one list of a race file; a file that holds
// more does not load. Far above any real race, and low enough that the
// sorts, which take one entry off per pass on a list in order, stay quick
// on a file an uploader made (racer_bench measures it).
constexpr unsigned int kMaxRacerEntries = 2000;

#endif  // RACE_RACER_H_
