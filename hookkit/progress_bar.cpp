#include "hookkit/progress_bar.h"

#include <string>
#include <vector>

#include "foundation/dir_listing.h"
#include "foundation/formated_line.h"
#include "hookkit/folder_index.h"
#include "hookkit/sfv_status.h"
#include "media/xlog.h"
#include "platform/fs.h"

namespace {

// Where the bar notes a folder it could not make; in the data folder, the
// hooks' working folder.
constexpr const char* kTraceLog = "test.log";

}  // namespace

XString megabytesText(unsigned int kilobytes) {
  return XString(static_cast<float>(kilobytes / 1024.0), 2);
}

ProgressBar::ProgressBar(const DirSet* folder, const ProgressBarSettings* barSettings,
                         unsigned int presentFiles, unsigned int totalFiles, bool multi)
    : dirSet(folder),
      settings(barSettings),
      multiCD(multi),
      present(presentFiles),
      total(totalFiles) {}

void ProgressBar::set(unsigned int newPresent, unsigned int newTotal) {
  present = newPresent;
  total = newTotal;
}

unsigned int ProgressBar::presentKB() {
  if (!haveKB_ && dirSet != nullptr) {
    if (sfv != nullptr) {
      presentKB_ = sfv->presentKB();
    } else {
      SFVStatus own(dirSet->dir);
      presentKB_ = own.presentKB();
    }
    haveKB_ = true;
  }
  return presentKB_;
}

void ProgressBar::render() {
  bar = "";
  markerPath = "";
  if (dirSet == nullptr || settings == nullptr) return;
  if (present > total) present = total;
  if (total == 0) {
    markerPath = dirSet->dir + "no files in sfv";
    return;
  }
  unsigned int cells = settings->len < kMaxPadWidth ? settings->len : kMaxPadWidth;
  unsigned int filled = static_cast<unsigned int>(static_cast<uint64_t>(cells) * present / total);
  std::string drawn;
  for (unsigned int i = 0; i < filled; ++i) drawn.append(settings->full.c_str());
  for (unsigned int i = filled; i < cells; ++i) drawn.append(settings->empty.c_str());
  bar = XString(drawn);

  bool complete = present == total;
  const XString& pattern = multiCD ? (complete ? settings->compatmul : settings->incpatmul)
                                   : (complete ? settings->compat : settings->incpat);
  XFormatedLine line(pattern);
  line.keys.add('b', bar);
  line.keys.add('F', XString(present));
  line.keys.add('o', XString(total));
  line.keys.add(
      'p', XString(static_cast<unsigned int>(static_cast<uint64_t>(present) * 100 / total), 3u));
  // The size costs a look at every present file: only when it is shown.
  if (pattern.find("%s") >= 0) line.keys.add('s', megabytesText(presentKB()));
  line.keys.add('P', dirSet->dirName);
  markerPath = (multiCD ? dirSet->parentDir : dirSet->dir) + line.render();
}

int ProgressBar::create() {
  if (make() == 0) return 0;
  dirSet->applyOwner(markerPath);
  return 1;
}

int ProgressBar::make() {
  if (dirSet == nullptr || settings == nullptr) return 0;
  // A CD folder's bar stands in the release above it: only inside the site.
  if (multiCD && !dirSet->reaches(1)) return 0;
  render();
  if (makeMarker(markerPath, settings->mode)) return 1;
  if (settings->mode == 2) {
    XLog log{XString(kTraceLog)};
    log.write("it failed.");
  }
  return 0;
}

bool ProgressBar::removeEarlier() {
  if (dirSet == nullptr || settings == nullptr || total == 0) return false;
  const unsigned int now = present > total ? total : present;
  // One listing of the bar's folder tells which of the names is there: the
  // run's, or one of our own for this call.
  MarkerLookup own;
  MarkerLookup* const given = lookup;
  if (lookup == nullptr) lookup = &own;
  const XPath& base = multiCD ? dirSet->parentDir : dirSet->dir;
  const bool folded = takesOtherCase(*lookup);
  bool removed = false;
  for (unsigned int count = now; count-- > 0 && !removed;) {
    set(count, total);
    render();
    XString name(markerPath.c_str() + base.length());
    if (lookup->entry(base, name, folded) != nullptr) removed = remove();
  }
  set(now, total);
  lookup = given;
  return removed;
}

bool ProgressBar::remove() {
  if (dirSet == nullptr || settings == nullptr) return false;
  if (multiCD && !dirSet->reaches(1)) return false;
  render();
  MarkerLookup own;
  MarkerLookup& markers = lookup != nullptr ? *lookup : own;
  return markers.remove(markerPath, settings->mode, takesOtherCase(markers));
}

bool ProgressBar::takesOtherCase(MarkerLookup& markers) const {
  if (!multiCD || dirSet == nullptr || !dirSet->reaches(1)) return true;
  return !markers.holdsOtherSpelling(dirSet->parentDir, dirSet->dirName);
}

TagInfo::TagInfo(const DirSet* folder, const TagInfoSettings* tagSettings, const XString& mp3Path,
                 bool multi, bool releaseCompleted, SFVStatus* folderSfv)
    : dirSet(folder),
      settings(tagSettings),
      multiCD(multi),
      completed(releaseCompleted),
      sfv(folderSfv) {
  // The completed tag stands for the whole release: it is named from the
  // release's first MP3, so every hook that finds the release complete
  // names it alike and one marker is left, whichever upload finished last
  // or came again. (An SFV that completes its release has no tag of its own.)
  XString source(mp3Path);
  if (dirSet != nullptr && settings != nullptr && settings->merge && completed) {
    XString first = sfv != nullptr ? sfv->firstFile("*.mp3") : dirSet->findFirst(XString("*.mp3"));
    if (!first.empty()) source = first;
  }
  info.read(source);
}

void TagInfo::render() {
  markerPath = "";
  if (dirSet == nullptr || settings == nullptr) return;
  const bool merged = settings->merge && completed;
  XFormatedLine line(merged ? (multiCD ? settings->mergepatmul : settings->mergepat)
                            : (multiCD ? settings->formatmul : settings->format));
  line.keys.add('B', XString(info.bitrate));
  // The tag's texts are the uploader's: only they can break the name.
  line.keys.add('a', markerSafeText(info.artist, "unknown"));
  line.keys.add('A', markerSafeText(info.album, "unknown"));
  line.keys.add('g', markerSafeText(info.genre, "unknown"));
  line.keys.add('y', XString(info.year));
  line.keys.add('m', XString(info.versionText));
  line.keys.add('f', XString(info.sampleRate));
  line.keys.add('M', XString(info.modeText));
  line.keys.add('c', markerSafeText(info.comment, "no comment"));
  line.keys.add('P', dirSet->dirName);
  if (merged) {
    SFVStatus own(dirSet->dir);
    SFVStatus& state = sfv != nullptr ? *sfv : own;
    if (line.format.find("%s") >= 0) line.keys.add('s', megabytesText(state.presentKB()));
    line.keys.add('o', XString(state.presentCount()));
  }
  const XPath& folder = multiCD ? dirSet->parentDir : dirSet->dir;
  const XString& prefix = merged ? XString() : (multiCD ? settings->idmul : settings->id);
  markerPath = folder + prefix + line.render();
}

bool TagInfo::create() {
  if (!make()) return false;
  dirSet->applyOwner(markerPath);
  return true;
}

bool TagInfo::make() {
  if (dirSet == nullptr || settings == nullptr) return false;
  // A CD folder's tag stands in the release above it: only inside the site.
  if (multiCD && !dirSet->reaches(1)) return false;
  render();
  if (settings->last) {
    const XPath& folder = multiCD ? dirSet->parentDir : dirSet->dir;
    const XString& prefix = multiCD ? settings->idmul : settings->id;
    std::vector<platform::DirEntry> old = listMatching(folder, prefix + "*", kListAll);
    // Only an empty file or an empty folder is a marker: an uploaded file
    // whose name happens to start like one stays.
    if (old.size() == 1) {
      XString path = folder + XString(old[0].name);
      // One that cannot go (of the other kind, say) stays beside the new one;
      // the hooks report no failed step.
      (void)removeMarker(path, settings->mode == 1 ? 1 : 2);
    }
  }
  return makeMarker(markerPath, settings->mode);
}
