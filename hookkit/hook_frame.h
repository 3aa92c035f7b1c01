// The start every window-less program shares: take the fields from the
// command line, enter the install folder's data folder, load the global
// settings and, for the event hooks, choose the module.
#ifndef HOOKKIT_HOOK_FRAME_H_
#define HOOKKIT_HOOK_FRAME_H_

#include "foundation/xstring.h"
#include "hookkit/hook_programs.h"
#include "settings/gconfig.h"
#include "settings/mconfig.h"
#include "settings/module_index.h"

// Exit codes of the frame.
constexpr int kExitDone = 0;
constexpr int kExitFieldCount = -2;  // more or fewer fields than the program takes
constexpr int kExitNoModule = 3;
constexpr int kExitNoDataFolder = 4;
// A lock the run needs cannot be had (a data folder whose lock file can be
// neither made nor opened, say): nothing shared was changed.
constexpr int kExitNoLock = 5;

class HookFrame {
 public:
  explicit HookFrame(const HookProgram& program);
  ~HookFrame();
  HookFrame(const HookFrame&) = delete;
  HookFrame& operator=(const HookFrame&) = delete;

  // Takes the fields apart and enters the data folder of the program's
  // folder (platform::programFolder of the own path). Returns kExitDone to
  // go on, or the exit code to end with (nothing has been read or written).
  int takeFields(const XString& commandLine);
  // Loads the global settings ("BCconfig.bcc"); the record stays as built
  // when the file cannot be read.
  void loadGlobal();
  // Loads "ModuleIndex.idx" and chooses the module for the program's module
  // path; kExitNoModule when none applies and none is marked default.
  int chooseModule();
  // takeFields, loadGlobal and chooseModule in turn.
  int start(const XString& commandLine);

  // The field of a server variable, e.g. field('m'); empty when the program
  // takes no such field.
  const XString& field(char variable) const;
  // The program's own path, without double quotes round it.
  const XString& ownPath() const { return ownPath_; }
  // The module's path: the virtual folder (or path) that chose the module.
  const XString& modulePath() const { return modulePath_; }

  // The server's folder (the folder of the `raidenftpd` program) ending in
  // the separator; empty when the setting holds no folder, and then no reply
  // is written.
  XString serverFolder() const;
  // The server folder + "output" + separator + `name`; empty without one.
  XString replyPath(const XString& name) const;

  GConfig global;
  ModuleIndex<MConfig>* index = nullptr;
  Module<MConfig>* module = nullptr;
  MConfig* config = nullptr;

 private:
  const HookProgram& program_;
  XString ownPath_;
  XString values_[16];
  XString modulePath_;
};

// The server folder (ending in the separator) + "output" + separator +
// `name`; empty when there is no server folder.
XString replyFileIn(const XString& serverFolder, const XString& name);

// The folder of a virtual path: the text before its last '/'.
XString virtualFolder(const XString& path);

// Writes a reply to a temporary name in the output folder and renames it, so
// the server never reads half a reply. False when it cannot be written.
[[nodiscard]] bool writeReply(const XString& path, const XString& text);

// The site-wide lock can be had now (it is taken and let go at once). A hook
// that will need it asks first, so that it changes nothing when it cannot.
bool siteLockAvailable();

#endif  // HOOKKIT_HOOK_FRAME_H_
