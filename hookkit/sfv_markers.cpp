#include "hookkit/sfv_markers.h"

#include "foundation/formated_line.h"
#include "hookkit/folder_index.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"

SfvStateMarker::SfvStateMarker(const DirSet* folder, const XString& singlePattern,
                               const XString& multiCdPattern, bool multi, unsigned char kind)
    : dirSet(folder),
      useMulti(multi),
      mode(kind),
      pattern(singlePattern),
      multiPattern(multiCdPattern) {}

void SfvStateMarker::name() {
  markerPath = "";
  // The marker stands beside the release (or beside the release that holds
  // the CD folder): only where that folder is inside the site.
  if (dirSet == nullptr || !dirSet->reaches(useMulti ? 2 : 1)) return;
  XFormatedLine line(useMulti ? multiPattern : pattern);
  line.keys.add('b', dirSet->parentName);
  line.keys.add('n', dirSet->dirName);
  markerPath = (useMulti ? dirSet->grandparentDir : dirSet->parentDir) + line.render();
}

bool SfvStateMarker::make() {
  name();
  return lookup != nullptr ? lookup->make(markerPath, mode) : makeMarker(markerPath, mode);
}

bool SfvStateMarker::create() {
  if (!make()) return false;
  dirSet->applyOwner(markerPath);
  return true;
}

XString SfvStateMarker::found(MarkerLookup& markers) {
  if (markerPath.empty()) return XString();
  if (platform::pathExists(markerPath.c_str())) return markerPath;
  const XString folded = markers.locate(markerPath);
  if (folded.empty()) return folded;
  // Beside the release stand other releases, and beside a CD folder the
  // release's other CD folders: one spelled like this one in another case
  // names its markers alike, and a case-folded match may be its own.
  const XPath& folder = useMulti ? dirSet->grandparentDir : dirSet->parentDir;
  const XString& release = useMulti ? dirSet->parentName : dirSet->dirName;
  if (markers.holdsOtherSpelling(folder, release) ||
      (useMulti && markers.holdsOtherSpelling(dirSet->parentDir, dirSet->dirName))) {
    return XString();
  }
  return folded;
}

bool SfvStateMarker::exists() {
  name();
  MarkerLookup own;
  return !found(lookup != nullptr ? *lookup : own).empty();
}

bool SfvStateMarker::remove() {
  name();
  MarkerLookup own;
  MarkerLookup& markers = lookup != nullptr ? *lookup : own;
  const XString at = found(markers);
  return !at.empty() && markers.remove(at, mode);
}

MissingFiles::MissingFiles(const DirSet* folder, const XString& markerPattern, const XString& sfv,
                           unsigned char kind)
    : dirSet(folder), sfvPath(sfv), mode(kind), pattern(markerPattern) {}

XString MissingFiles::markerPath(const XString& fileName) const {
  XFormatedLine line(pattern);
  line.keys.add('n', fileName);
  return dirSet->dir + line.render();
}

void MissingFiles::removeEitherKind(MarkerLookup& markers, const XString& path) {
  // Whichever kind it is; only an empty file or an empty folder goes, and
  // a marker that is not there is nothing to report: the hooks report no
  // failed step.
  const XString found = markers.locate(path);
  if (found.empty()) return;
  if (!markers.remove(found, 1)) (void)markers.remove(found, 2);
}

int MissingFiles::walk(Walk what, MarkerLookup& markers) {
  if (dirSet == nullptr) return 0;
  SfvLineReader reader(sfvPath);
  if (!reader.isOpen()) return 0;
  bool isFile = false;
  XString name;
  unsigned int kb = 0;
  while (reader.next(isFile, name, kb)) {
    if (!isFile || !isSafeListedName(name)) continue;
    XString marker = markerPath(name);
    if (what == Walk::kRemove) {
      // A marker already gone is what removal wants; the hooks report no
      // failed step.
      (void)markers.remove(marker, mode);
      continue;
    }
    // The run's one listing of the folder tells presence too.
    const platform::DirEntry* file = markers.entry(dirSet->dir, name);
    bool present = file != nullptr && !file->isFolder;
    if (present) {
      if (what == Walk::kRepair) removeEitherKind(markers, marker);
    } else if (!markers.exists(marker)) {
      // One marker that cannot be made (its name taken by something else)
      // does not stop the others; the hooks report no failed step.
      (void)markers.make(marker, mode);
    }
  }
  return 1;
}

XString MissingFiles::wildcardPath() const {
  return dirSet != nullptr ? markerPath(XString("*")) : XString();
}

void MissingFiles::applyOwner() {
  // One chmod run covers every marker of the folder through the wildcard.
  if (dirSet != nullptr) dirSet->applyOwner(wildcardPath());
}

void MissingFiles::repair() {
  MarkerLookup own;
  if (walk(Walk::kRepair, lookup != nullptr ? *lookup : own) != 0) applyOwner();
}

// The status keeps one presence flag per listed name, both lists from the
// newest line read; unsafe names are listed and never present.
unsigned int MissingFiles::repairFrom(SFVStatus& sfv) {
  unsigned int made = 0;
  if (dirSet == nullptr) return made;
  MarkerLookup own;
  MarkerLookup& markers = lookup != nullptr ? *lookup : own;
  sfv.parse();
  const VectorItem<bool>* present = sfv.present.head;
  for (const XStringListEntry* name = sfv.names.head; name != nullptr && present != nullptr;
       name = name->next, present = present->next) {
    if (!isSafeListedName(name->text)) continue;
    XString marker = markerPath(name->text);
    if (present->value) {
      removeEitherKind(markers, marker);
    } else if (!markers.exists(marker) && markers.make(marker, mode)) {
      ++made;  // one marker that cannot be made stops nothing, as in walk
    }
  }
  return made;
}

int MissingFiles::makeAll() {
  MarkerLookup own;
  return walk(Walk::kCreate, lookup != nullptr ? *lookup : own);
}

int MissingFiles::createAll() {
  int read = makeAll();
  if (read != 0) applyOwner();
  return read;
}

int MissingFiles::removeAll() {
  MarkerLookup own;
  return walk(Walk::kRemove, lookup != nullptr ? *lookup : own);
}

// The file's name as it arrived; its marker is named from the SFV's
// spelling, which may differ in case.
int MissingFiles::removeOne(const XString& fileName) {
  if (dirSet == nullptr || !isSafeListedName(fileName)) return 1;
  MarkerLookup own;
  // A file without a marker is the usual case; nothing to report.
  (void)(lookup != nullptr ? *lookup : own).remove(markerPath(fileName), mode);
  return 1;
}
