// The suite's window-less programs as the server and the frame see them: one
// table that says, per program, under which ".ftpd" key and scheme the server
// starts it, which of the server's variables it takes and which of them
// chooses its module.
#ifndef HOOKKIT_HOOK_PROGRAMS_H_
#define HOOKKIT_HOOK_PROGRAMS_H_

#include <cstddef>

#include "foundation/xstring.h"

// The field separator the server puts before each field.
constexpr const char* kFieldSeparator = "??-??";

// How one program is started and how it reads its command line. `name` is
// its file name without the platform's suffix. `ftpdKey` is the key of its
// ".ftpd" line without the '=' and `scheme` the scheme after it ("ask://"
// hooks answer through a reply file, "exec://" hooks are only run); both are
// null for the periodic programs, which the server does not start. `fields`
// names the server's variables after the program's own path, left to right
// ("RbmrgSV@" for %R %b %m %r %g %S %V %@). `moduleField` is the variable
// whose path chooses the module (0: the program chooses none); with
// `moduleByFolder` its folder (the text before its last '/') is used, else
// the path itself.
struct HookProgram {
  const char* name;
  const char* ftpdKey;
  const char* scheme;
  const char* fields;
  char moduleField;
  bool moduleByFolder;
};

extern const HookProgram kLandfall;
extern const HookProgram kTallyglad;
extern const HookProgram kFoldbirth;
extern const HookProgram kTallyfull;
extern const HookProgram kLandguard;
extern const HookProgram kTallysour;
extern const HookProgram kSweepguard;
extern const HookProgram kQuipgate;
extern const HookProgram kDawnroll;
extern const HookProgram kCreditdole;
extern const HookProgram kTunelacer;

// The programs the server starts, in the order of the registration's rules:
// foldbirth, landfall, tallysour, tallyglad, tallyfull (key "onSfvComplete"),
// landguard, sweepguard, then quipgate under its first site-command slot.
constexpr size_t kServerHookCount = 8;
extern const HookProgram* const kServerHooks[kServerHookCount];

// The server's four keys for site-command programs, in the order they are
// tried; the first is quipgate's own key.
constexpr size_t kSiteCommandSlotCount = 4;
extern const char* const kSiteCommandSlots[kSiteCommandSlotCount];

// The server hook registered under `key` (ASCII case ignored); a
// site-command slot gives quipgate. Null for any other key.
const HookProgram* serverHookFor(const char* key);

// The ".ftpd" line that registers `program` under `key` for programs in
// `installDir` (which ends in the path separator): the key, '=', the
// scheme, the program's path, a blank, the program's path again, then
// "??-??%x" for each of its fields, and a line feed.
XString hookEntryLine(const HookProgram& program, const char* key, const XString& installDir);
// The same under the program's own key.
XString hookEntryLine(const HookProgram& program, const XString& installDir);

#endif  // HOOKKIT_HOOK_PROGRAMS_H_
