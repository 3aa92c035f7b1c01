// The file an event names and the release folder around it, as the hooks
// take them from their command line.
#ifndef HOOKKIT_RELEASE_EVENT_H_
#define HOOKKIT_RELEASE_EVENT_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"
#include "hookkit/folder_index.h"
#include "hookkit/hook_frame.h"
#include "hookkit/sfv_markers.h"
#include "settings/mconfig.h"

// Exit code of the release hooks (landfall, tallyglad, tallysour, tallyfull)
// when the memo cannot be saved at the end of a run that may have changed
// the release: what the run did to the release (markers, racer.sav,
// ".message", the playlist, the move) stays, and the memo is as it was.
constexpr int kExitMemoNotSaved = 6;

// Built after the frame has chosen the module: the physical path (%m), its
// virtual path (%r), the file's name, the event's user and group, the
// DirSet of the folder that holds the file (with the depth of its virtual
// folder, so that no marker lands above the site), and whether that folder
// is one CD of a multi-CD release (its name matches the global `mcd_list`).
struct ReleaseEvent {
  explicit ReleaseEvent(const HookFrame& frame);
  ReleaseEvent(const ReleaseEvent&) = delete;
  ReleaseEvent& operator=(const ReleaseEvent&) = delete;

  // The folder whose lock guards the release's own files: the release that
  // holds a CD folder, or the folder itself.
  const XString& releaseFolder() const;

  // The SFV-missing and SFV-incomplete markers of the event's folder, built
  // from the module's settings, finding markers through `markers`.
  SFVMissing sfvMissing();
  SFVIncomplete sfvIncomplete();

  const HookFrame& frame;
  const MConfig& config;
  XString path;
  XString virtualPath;
  XString fileName;
  UserInfo user;
  DirSet dirSet;
  bool multi;
  // The run's lookup of its markers, which may stand in another letter case.
  MarkerLookup markers;
};

// The SFV-missing marker of a folder as every hook builds it: `sfvm_pat`,
// or for a CD folder (`multi`, with `mcd_sfvm` on) `sfvm_patmul`, of kind
// `sfvm`. `markers` may be null.
SFVMissing sfvMissingMarker(const DirSet& dirSet, const MConfig& config, bool multi,
                            MarkerLookup* markers);
// The SFV-incomplete marker likewise, from `sfvi_pat`, `sfvi_patmul`,
// `mcd_sfvi` and `sfvi`.
SFVIncomplete sfvIncompleteMarker(const DirSet& dirSet, const MConfig& config, bool multi,
                                  MarkerLookup* markers);

// The start of the release hooks that write the memo (landfall, tallyglad,
// tallysour, tallyfull): the frame takes the fields and chooses the module;
// the site-wide lock must be available, as the memo is written at the end
// and without it nothing of the site is touched (kExitNoLock); then `work`
// does the hook's own work on the event and gives the exit code.
int runReleaseHook(const HookProgram& program, const XString& commandLine,
                   int (*work)(ReleaseEvent& event));

// The two ways the hooks take a file name's extension; both give the text
// after the last '.', and differ for a name without one.
// The pre-upload and pre-delete hooks: empty.
XString extensionOrEmpty(const XString& fileName);
// The upload hook and the race (which take it from the whole path): the
// whole text.
XString extensionOrName(const XString& fileName);

#endif  // HOOKKIT_RELEASE_EVENT_H_
