// The progress bar and tag info markers of a release.
#ifndef HOOKKIT_PROGRESS_BAR_H_
#define HOOKKIT_PROGRESS_BAR_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"
#include "hookkit/folder_index.h"
#include "hookkit/sfv_status.h"
#include "media/mp3_info.h"
#include "settings/mconfig.h"

// An empty file or folder whose name draws a bar of the files present out
// of the files the SFV lists. A single release's bar stands in the release
// folder; a CD folder's bar in the release that holds the CD folders.
class ProgressBar {
 public:
  ProgressBar(const DirSet* dirSet, const ProgressBarSettings* settings, unsigned int present,
              unsigned int total, bool multiCD);

  void set(unsigned int present, unsigned int total);
  void render();
  // 1 when the marker was made, 0 when not.
  [[nodiscard]] int create();
  // create without the chmod run.
  [[nodiscard]] int make();
  // Removes the bar, also where it stands in another letter case; false
  // when none went.
  [[nodiscard]] bool remove();
  // Removes the bar of an earlier count, the first found counting down from
  // present - 1, so that a bar left behind by an update that came in
  // between goes too; the caller then makes the bar of this count. False
  // when there was none.
  [[nodiscard]] bool removeEarlier();
  // Whether a bar in another letter case may be taken for this one. A CD
  // folder's bar stands in the release beside its other CD folders' bars:
  // where one of them is spelled like this one in another case ("CD1" and
  // "cd1"), a bar in another case may be its, and only the exact name is
  // this bar's.
  bool takesOtherCase(MarkerLookup& markers) const;

  const DirSet* dirSet;
  const ProgressBarSettings* settings;
  bool multiCD;
  unsigned int present;
  unsigned int total;
  XStringBuffer markerPath;
  XStringBuffer bar;
  // The folder's SFV state when the caller has read it already; the bar
  // reads it itself otherwise. Not owned.
  SFVStatus* sfv = nullptr;
  // The run's lookup of markers (not owned); without one each lookup lists
  // the folder afresh.
  MarkerLookup* lookup = nullptr;

 private:
  // Kilobytes of the present listed files, read once per object.
  unsigned int presentKB();
  bool haveKB_ = false;
  unsigned int presentKB_ = 0;
};

// An empty file or folder whose name carries an MP3 file's tag and stream
// data; once the release is complete it can merge with the bar and carry
// the size and file count instead. The merged form is named from the
// release's first MP3 (in listing order), whatever file was uploaded. The
// tag's texts go into the name through markerSafeText.
class TagInfo {
 public:
  // `sfv`, when given, is the folder's SFV state as the caller read it
  // (not owned); the tag takes what it needs of the folder from it.
  TagInfo(const DirSet* dirSet, const TagInfoSettings* settings, const XString& mp3Path,
          bool multiCD, bool completed, SFVStatus* sfv = nullptr);

  void render();
  // With `last` set, first removes the previous tag marker, when exactly
  // one is there and it is a marker (an empty file, or an empty folder).
  [[nodiscard]] bool create();
  // create without the chmod run.
  [[nodiscard]] bool make();

  const DirSet* dirSet;
  const TagInfoSettings* settings;
  XStringBuffer markerPath;
  MP3Info info;
  bool multiCD;
  bool completed;
  SFVStatus* sfv;
};

// Kilobytes / 1024 with two decimals, as the bar and the merged tag show it.
XString megabytesText(unsigned int kilobytes);

#endif  // HOOKKIT_PROGRESS_BAR_H_
