// Loads arbitrary bytes as the hooks' memo and writes a slot back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "race/status.h"

namespace {

bool enterScratch() { return chdir(fuzz_support::scratchFolder("status").c_str()) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = enterScratch();
  if (!ready) return 0;
  if (!fuzz_support::writeInput(Status::kFileName, data, size)) return 0;
  {
    Status memo;
    if (size > 0 && (data[0] & 1)) {
      memo.checked.path = "/site/rel/file.mp3";
      memo.checked.flag = false;
    }
  }
  Status again;
  (void)again.spare.path.length();
  return 0;
}
