// Loads arbitrary bytes as the hooks' memo, marks a role for a file, saves,
// loads again and compares.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "race/status.h"

namespace {

bool enterScratch() { return chdir(fuzz_support::scratchFolder("status").c_str()) == 0; }

const Status::Role kRoles[] = {Status::kCompleted, Status::kChecked, Status::kRacerDone,
                               Status::kMoveDue};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = enterScratch();
  if (!ready) return 0;
  if (!fuzz_support::writeInput(Status::kFileName, data, size)) return 0;
  // The file's last bytes (any bytes, NULs too) name the file marked.
  const size_t n = size < 16 ? size : 16;
  const XString file(reinterpret_cast<const char*>(data + size - n), static_cast<unsigned int>(n));
  const Status::Role role = kRoles[size > 0 ? data[0] % 4 : 0];

  Status memo;
  memo.mark(role, file);
  if (!memo.save()) return 0;
  Status again;
  if (again.missing() || !again.holds(role, file)) __builtin_trap();
  // Every slot stands as the saved memo had it: the loaded ones as read,
  // the marked one changed.
  for (int i = 0; i < 5; ++i) {
    if (!(again.slot[i] == memo.slot[i])) __builtin_trap();
  }
  // A second save of an unchanged memo writes nothing.
  if (!again.save() || again.changed()) __builtin_trap();
  return 0;
}
