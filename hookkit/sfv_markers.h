// The markers that show a release's SFV state in its folder listing: no SFV
// yet, SFV not complete, and one marker per listed file that is missing.
// A marker is an empty file (kind 1) or an empty folder (kind 2).
#ifndef HOOKKIT_SFV_MARKERS_H_
#define HOOKKIT_SFV_MARKERS_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"
#include "hookkit/folder_index.h"

class SFVStatus;

// A marker beside the release folder (or, for a CD folder, beside the
// release that holds it), named from a template with b = the parent's name
// and n = the folder's name. SFVMissing and SFVIncomplete differ only in the
// settings their callers pass. A marker in another letter case is found as
// the marker (see MarkerLookup), unless a folder spelled like the release
// in another case stands beside it: that one could own the marker.
class SfvStateMarker {
 public:
  SfvStateMarker(const DirSet* dirSet, const XString& pattern, const XString& multiPattern,
                 bool useMulti, unsigned char mode);

  void name();
  // Makes the marker and hands it to the chmod program. Never empties a
  // file that is already there.
  [[nodiscard]] bool create();
  // Makes the marker only; the caller hands markerPath to the chmod program
  // (after letting go of the lock it made the marker under, say).
  [[nodiscard]] bool make();
  // Removes the marker; a file is removed only when it is empty.
  [[nodiscard]] bool remove();
  // The marker stands, in some letter case (name() first).
  bool exists();

  const DirSet* dirSet;
  bool useMulti;
  unsigned char mode;
  XString pattern;
  XString multiPattern;
  XString markerPath;
  // The run's lookup of markers (not owned); without one each lookup lists
  // the folder afresh.
  MarkerLookup* lookup = nullptr;

 private:
  // Where the named marker stands; empty when nowhere.
  XString found(MarkerLookup& markers);
};

class SFVMissing : public SfvStateMarker {
 public:
  using SfvStateMarker::SfvStateMarker;
};

class SFVIncomplete : public SfvStateMarker {
 public:
  using SfvStateMarker::SfvStateMarker;
};

// One marker per file that the SFV at sfvPath lists, named from `pattern`
// with n = the file's name, in the DirSet's folder. Only names that are safe
// (see isSafeListedName) get a marker made or removed.
class MissingFiles {
 public:
  MissingFiles(const DirSet* dirSet, const XString& pattern, const XString& sfvPath,
               unsigned char mode);

  // Makes the markers of missing files and removes those of present ones.
  void repair();
  // repair judged from the folder's SFV state as the caller read it, so the
  // SFV is read once; no chmod run (applyOwner does that). Returns how many
  // markers were made that were not there before.
  unsigned int repairFrom(SFVStatus& sfv);
  // Makes the markers of missing files; 1 when the SFV was read, 0 when
  // there is no DirSet or the SFV cannot be opened.
  [[nodiscard]] int createAll();
  // createAll without the chmod run, and the one run on its own, by the
  // wildcard path that covers every marker of the folder.
  [[nodiscard]] int makeAll();
  void applyOwner();
  XString wildcardPath() const;
  // Removes the marker of every listed file; 1 when the SFV was read.
  [[nodiscard]] int removeAll();
  // Removes the marker of one file; always 1.
  int removeOne(const XString& fileName);

  const DirSet* dirSet;
  XPath sfvPath;
  unsigned char mode;
  XString pattern;
  // The run's lookup of markers (not owned); without one a lookup of its own
  // serves one call.
  MarkerLookup* lookup = nullptr;

 private:
  enum class Walk { kRepair, kCreate, kRemove };
  int walk(Walk what, MarkerLookup& markers);
  XString markerPath(const XString& fileName) const;
  static void removeEitherKind(MarkerLookup& markers, const XString& path);
};

#endif  // HOOKKIT_SFV_MARKERS_H_
