// The file an event names and the release folder around it, as the small
// hooks take them from their command line.
#ifndef HOOKKIT_RELEASE_EVENT_H_
#define HOOKKIT_RELEASE_EVENT_H_

#include "foundation/xstring.h"
#include "hookkit/dir_set.h"
#include "hookkit/hook_frame.h"
#include "settings/mconfig.h"

// Built after the frame has chosen the module: the physical path (%m), its
// name and extension, the event's user and group, the DirSet of the folder
// that holds the file, and whether that folder is one CD of a multi-CD
// release (its name matches the global `mcd_list`).
struct ReleaseEvent {
  explicit ReleaseEvent(const HookFrame& frame);
  ReleaseEvent(const ReleaseEvent&) = delete;
  ReleaseEvent& operator=(const ReleaseEvent&) = delete;

  const MConfig& config;
  XString path;
  XString fileName;
  // The name's text after its last '.'; empty when the name holds none.
  XString extension;
  UserInfo user;
  DirSet dirSet;
  bool multi;
};

#endif  // HOOKKIT_RELEASE_EVENT_H_
