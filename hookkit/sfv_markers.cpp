#include "hookkit/sfv_markers.h"

#include "hookkit/folder_index.h"
#include "hookkit/sfv_status.h"
#include "platform/fs.h"
#include "stores/formated_line.h"

namespace {

// Makes a marker of the given kind; kinds other than 1 and 2 make nothing
// and count as done.
bool makeMarker(const XString& path, unsigned char mode) {
  if (mode == 1) return platform::createEmptyFile(path.c_str());
  if (mode == 2) return platform::makeDir(path.c_str());
  return true;
}

bool removeMarkerOfKind(const XString& path, unsigned char mode) {
  if (mode == 1) return platform::removeEmptyFile(path.c_str());
  if (mode == 2) return platform::removeDir(path.c_str());
  return true;
}

}  // namespace

SfvStateMarker::SfvStateMarker(const DirSet* folder, const XString& singlePattern,
                               const XString& multiCdPattern, bool multi, unsigned char kind)
    : dirSet(folder),
      useMulti(multi),
      mode(kind),
      pattern(singlePattern),
      multiPattern(multiCdPattern) {}

void SfvStateMarker::name() {
  if (dirSet == nullptr) return;
  XFormatedLine line(useMulti ? multiPattern : pattern);
  line.keys.add('b', dirSet->parentName);
  line.keys.add('n', dirSet->dirName);
  markerPath = (useMulti ? dirSet->grandparentDir : dirSet->parentDir) + line.render();
}

bool SfvStateMarker::make() {
  if (dirSet == nullptr) return false;
  name();
  return makeMarker(markerPath, mode);
}

bool SfvStateMarker::create() {
  if (!make()) return false;
  dirSet->applyOwner(markerPath);
  return true;
}

bool SfvStateMarker::remove() {
  name();
  if (markerPath.empty()) return false;
  return removeMarkerOfKind(markerPath, mode);
}

MissingFiles::MissingFiles(const DirSet* folder, const XString& markerPattern,
                           const XString& sfv, unsigned char kind)
    : dirSet(folder), sfvPath(sfv), mode(kind), pattern(markerPattern) {}

XString MissingFiles::markerPath(const XString& fileName) const {
  XFormatedLine line(pattern);
  line.keys.add('n', fileName);
  return dirSet->dir + line.render();
}

void MissingFiles::removeMarker(const XString& path) const {
  // Whichever kind it is; only an empty file or an empty folder goes.
  platform::removeEmptyFile(path.c_str());
  platform::removeDir(path.c_str());
}

int MissingFiles::walk(Walk what) {
  if (dirSet == nullptr) return 0;
  SfvLineReader reader(sfvPath);
  if (!reader.isOpen()) return 0;
  // Presence is judged from one listing taken before any marker is made.
  FolderIndex folder(dirSet->dir);
  bool isFile = false;
  XString name;
  unsigned int kb = 0;
  while (reader.next(isFile, name, kb)) {
    if (!isFile || !isSafeListedName(name)) continue;
    XString marker = markerPath(name);
    if (what == Walk::kRemove) {
      removeMarkerOfKind(marker, mode);
      continue;
    }
    const platform::DirEntry* file = folder.find(name);
    bool present = file != nullptr && !file->isFolder;
    if (present) {
      if (what == Walk::kRepair) removeMarker(marker);
    } else {
      makeMarker(marker, mode);
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
  if (walk(Walk::kRepair) != 0) applyOwner();
}

int MissingFiles::makeAll() { return walk(Walk::kCreate); }

int MissingFiles::createAll() {
  int read = makeAll();
  if (read != 0) applyOwner();
  return read;
}

int MissingFiles::removeAll() { return walk(Walk::kRemove); }

int MissingFiles::removeOne(const XString& fileName) {
  if (dirSet == nullptr || !isSafeListedName(fileName)) return 1;
  removeMarkerOfKind(markerPath(fileName), mode);
  return 1;
}
