// Loads the link builder's settings from arbitrary bytes; what loads must
// save and load again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/lconfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("lconfig-in");
  static const std::string output = fuzz_support::scratchPath("lconfig-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  LConfig c;
  if (!c.load(input.c_str())) return 0;
  if (!c.save(output.c_str())) std::abort();
  LConfig again;
  if (!again.load(output.c_str())) std::abort();
  if (again.link_artistdir != c.link_artistdir || again.link_list.count != c.link_list.count ||
      again.link_reserved != c.link_reserved || again.link_owner.allow != c.link_owner.allow) {
    std::abort();
  }
  return 0;
}
