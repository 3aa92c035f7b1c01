// The file an event names and the release folder around it, as the hooks
// take them from their command line.
#ifndef HOOKKIT_RELEASE_EVENT_H_
#define HOOKKIT_RELEASE_EVENT_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"
#include "hookkit/hook_frame.h"
#include "settings/mconfig.h"

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

  const MConfig& config;
  XString path;
  XString virtualPath;
  XString fileName;
  UserInfo user;
  DirSet dirSet;
  bool multi;
};

// The two ways the hooks take a file name's extension; both give the text
// after the last '.', and differ for a name without one.
// The pre-upload and pre-delete hooks: empty.
XString extensionOrEmpty(const XString& fileName);
// The upload hook and the race (which take it from the whole path): the
// whole text.
XString extensionOrName(const XString& fileName);

#endif  // HOOKKIT_RELEASE_EVENT_H_
