#include "programs/landguard/landguard.h"

#include "hookkit/ask.h"
#include "hookkit/folder_index.h"
#include "hookkit/hook_frame.h"
#include "hookkit/release_event.h"
#include "hookkit/sfv_status.h"

int runPreUploadHook(const XString& commandLine) {
  HookFrame frame(kLandguard);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  ReleaseEvent event(frame);
  const MConfig& c = event.config;
  Ask ask(frame.serverFolder(), XString("landguard"), frame.field('@'));

  const XString extension = extensionOrEmpty(event.fileName);
  const bool isSfv = extension.equalsNoCase(XString("sfv"));
  const bool exempt = c.sfv_dirlist.matchAny(event.dirSet.dir);
  const bool listedExempt = c.sfv_filelist.matchAny(event.fileName);

  // Every rule runs whatever the earlier ones decided; the reply lists the
  // reasons newest first.
  if (frame.global.deny_list.matchAny(event.fileName)) {
    ask.deny(XString("filenames matching \"") + frame.global.deny_list.firstMatch(event.fileName) +
             "\" not allowed.");
  }
  if (c.sfv_force && !exempt && !isSfv && !listedExempt &&
      !event.dirSet.hasMatch(XString("*.sfv"))) {
    ask.deny(XString("the SFV must be uploaded first."));
  }
  if (c.sfv_oneonly && !exempt && isSfv && event.dirSet.hasMatch(XString("*.sfv"))) {
    ask.deny(XString("Only one SFV allowed per folder."));
  }
  if (c.sfv_insfv && !exempt && !isSfv && !listedExempt) {
    SFVStatus sfv(event.dirSet.dir);
    if (!sfv.contains(event.fileName)) ask.deny(XString("Uploaded files must be in the SFV."));
  }
  if (c.m3u_deny && extension.equalsNoCase(XString("m3u"))) {
    ask.deny(XString("The playlist is created automatically."));
  }
  // The race and its text are the hooks' own files: an upload under their
  // names would forge the race.
  if (isHookFileName(event.fileName)) {
    ask.deny(XString("the file name \"") + event.fileName + "\" is kept by the site.");
  }
  return kExitDone;
}
