#include "hookkit/hook_programs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/paths.h"

namespace {

// The registration entries as the configuration utility writes them, for
// the install folder "C:\site\" and with ".exe" standing for this
// platform's suffix.
std::string expected(std::string entry) {
  const std::string exe = ".exe";
  for (std::string::size_type at = entry.find(exe); at != std::string::npos;
       at = entry.find(exe, at)) {
    entry.replace(at, exe.size(), platform::kExeSuffix);
    at += std::strlen(platform::kExeSuffix);
  }
  return entry;
}

TEST(HookPrograms, RegistrationEntriesAreByteExact) {
  const XString dir("C:\\site\\");
  const char* const lines[kServerHookCount] = {
      "foldbirth=ask://C:\\site\\foldbirth.exe "
      "C:\\site\\foldbirth.exe??-??%@??-??%m??-??%r??-??%g??-??%S\n",
      "landfall=ask://C:\\site\\landfall.exe "
      "C:\\site\\landfall.exe??-??%R??-??%b??-??%m??-??%r??-??%g??-??%S??-??%V??-??%@\n",
      "tallysour=exec://C:\\site\\tallysour.exe "
      "C:\\site\\tallysour.exe??-??%m??-??%r??-??%g??-??%S\n",
      "tallyglad=exec://C:\\site\\tallyglad.exe "
      "C:\\site\\tallyglad.exe??-??%R??-??%b??-??%m??-??%r??-??%g??-??%S\n",
      "onSfvComplete=exec://C:\\site\\tallyfull.exe "
      "C:\\site\\tallyfull.exe??-??%m??-??%r??-??%g??-??%S\n",
      "landguard=ask://C:\\site\\landguard.exe "
      "C:\\site\\landguard.exe??-??%@??-??%m??-??%r??-??%g??-??%S\n",
      "sweepguard=exec://C:\\site\\sweepguard.exe "
      "C:\\site\\sweepguard.exe??-??%R??-??%b??-??%@??-??%m??-??%r??-??%g??-??%S\n",
      "quipgate=exec://C:\\site\\quipgate.exe "
      "C:\\site\\quipgate.exe??-??%^??-??%e??-??%g??-??%S??-??%$??-??%@??-??%!\n",
  };
  for (size_t i = 0; i < kServerHookCount; ++i) {
    EXPECT_EQ(hookEntryLine(*kServerHooks[i], dir).str(), expected(lines[i]));
  }
  // Every site-command slot takes the same entry under its own key.
  EXPECT_EQ(hookEntryLine(kQuipgate, kSiteCommandSlots[3], dir).str(),
            expected("quipgate4=exec://C:\\site\\quipgate.exe "
                     "C:\\site\\quipgate.exe??-??%^??-??%e??-??%g??-??%S??-??%$??-??%@??-??%!\n"));
}

TEST(HookPrograms, FieldsKeysAndModulePaths) {
  // One field per server variable; the frame cuts one more for the own path.
  const struct {
    const HookProgram& program;
    size_t splits;
    char moduleField;
    bool byFolder;
  } cases[] = {
      {kLandfall, 9, 'r', true},   {kTallyglad, 7, 'r', true}, {kFoldbirth, 6, 'r', false},
      {kTallyfull, 5, 'r', true},  {kLandguard, 6, 'r', true}, {kTallysour, 5, 'r', true},
      {kSweepguard, 8, 'r', true}, {kQuipgate, 8, 'e', false}, {kDawnroll, 1, 0, false},
      {kCreditdole, 1, 0, false},  {kTunelacer, 1, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::strlen(c.program.fields) + 1, c.splits) << c.program.name;
    EXPECT_EQ(c.program.moduleField, c.moduleField) << c.program.name;
    EXPECT_EQ(c.program.moduleByFolder, c.byFolder) << c.program.name;
    // Only the programs the server starts have a key, and it finds them.
    EXPECT_EQ(c.program.ftpdKey == nullptr, c.splits == 1) << c.program.name;
    if (c.program.ftpdKey != nullptr) {
      EXPECT_EQ(serverHookFor(c.program.ftpdKey), &c.program);
    }
  }
  EXPECT_EQ(serverHookFor("ONSFVCOMPLETE"), &kTallyfull);
  EXPECT_EQ(serverHookFor("tallyfull"), nullptr);
  EXPECT_EQ(serverHookFor("dawnroll"), nullptr);
  EXPECT_EQ(serverHookFor("Quipgate3"), &kQuipgate);
  EXPECT_EQ(serverHookFor("quipgate5"), nullptr);
  EXPECT_EQ(serverHookFor("landfal"), nullptr);
}

}  // namespace
