#include "hookkit/hook_programs.h"

#include "platform/paths.h"

const HookProgram kLandfall = {"landfall", "landfall", "ask://", "RbmrgSV@", 'r', true};
const HookProgram kTallyglad = {"tallyglad", "tallyglad", "exec://", "RbmrgS", 'r', true};
const HookProgram kFoldbirth = {"foldbirth", "foldbirth", "ask://", "@mrgS", 'r', false};
const HookProgram kTallyfull = {"tallyfull", "onSfvComplete", "exec://", "mrgS", 'r', true};
const HookProgram kLandguard = {"landguard", "landguard", "ask://", "@mrgS", 'r', true};
const HookProgram kTallysour = {"tallysour", "tallysour", "exec://", "mrgS", 'r', true};
const HookProgram kSweepguard = {"sweepguard", "sweepguard", "exec://", "Rb@mrgS", 'r', true};
const HookProgram kQuipgate = {"quipgate", "quipgate", "exec://", "^egS$@!", 'e', false};
const HookProgram kDawnroll = {"dawnroll", nullptr, nullptr, "", 0, false};
const HookProgram kCreditdole = {"creditdole", nullptr, nullptr, "", 0, false};
const HookProgram kTunelacer = {"tunelacer", nullptr, nullptr, "", 0, false};

const HookProgram* const kServerHooks[kServerHookCount] = {
    &kFoldbirth, &kLandfall,  &kTallysour,  &kTallyglad,
    &kTallyfull, &kLandguard, &kSweepguard, &kQuipgate,
};

const char* const kSiteCommandSlots[kSiteCommandSlotCount] = {"quipgate", "quipgate2", "quipgate3",
                                                              "quipgate4"};

const HookProgram* serverHookFor(const char* key) {
  for (const HookProgram* program : kServerHooks) {
    if (equalNoCase(program->ftpdKey, key)) return program;
  }
  for (const char* slot : kSiteCommandSlots) {
    if (equalNoCase(slot, key)) return &kQuipgate;
  }
  return nullptr;
}

XString hookEntryLine(const HookProgram& program, const char* key, const XString& installDir) {
  const XString path = installDir + program.name + platform::kExeSuffix;
  XString line = XString(key) + "=" + program.scheme + path + " " + path;
  for (const char* variable = program.fields; *variable != 0; ++variable) {
    line += kFieldSeparator;
    line += '%';
    line += *variable;
  }
  line += '\n';
  return line;
}

XString hookEntryLine(const HookProgram& program, const XString& installDir) {
  return hookEntryLine(program, program.ftpdKey, installDir);
}
