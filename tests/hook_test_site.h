// An install folder set up for the hooks' in-process tests.
#ifndef TESTS_HOOK_TEST_SITE_H_
#define TESTS_HOOK_TEST_SITE_H_

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/fault.h"
#include "settings/gconfig.h"
#include "settings/mconfig.h"
#include "tests/test_support.h"

namespace hook_test {

// The global settings (defaults, with the server program in the install
// folder so that replies land in its output folder) and one default module
// for "/" with the module defaults. Tests change `global` and `config` and
// call save() before they run a hook.
class HookSite {
 public:
  HookSite();
  void save();
  // Makes site/<relative> and returns its path (native separators).
  std::string release(const std::string& relative) const;
  // The command line of `program`: its own path in the install folder, then
  // each field led by the separator.
  std::string line(const char* program, std::initializer_list<std::string> fields) const;
  std::string memoPath() const { return testing_support::joinPath(box.data(), "Status.sav"); }

  testing_support::InstallSandbox box;
  GConfig global;
  MConfig config;
  // The one module's virtual path and default flag.
  std::string modulePath = "/";
  bool moduleIsDefault = true;
};

// The stored form of one memo slot.
std::string slotBytes(const std::string& path, bool flag);
// The stored form of the memo's records after its slots: (path, role bits).
std::string recordBytes(const std::vector<std::pair<std::string, int>>& records);

// A failed save left a temporary file in `folder`.
bool holdsTemporaryFile(const std::string& folder);

// The steps of a save that a test can make fail, for tests that go through
// each of them.
extern const platform::FaultStep kSaveSteps[3];

}  // namespace hook_test

#endif  // TESTS_HOOK_TEST_SITE_H_
