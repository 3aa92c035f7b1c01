// Loads the global settings from arbitrary bytes; what loads must save and
// load again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/gconfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("gconfig-in");
  static const std::string output = fuzz_support::scratchPath("gconfig-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  GConfig g;
  if (!g.load(input.c_str())) return 0;
  if (!g.save(output.c_str())) std::abort();
  GConfig again;
  if (!again.load(output.c_str())) std::abort();
  if (again.al.count != g.al.count || again.mcd_list.count != g.mcd_list.count) std::abort();
  return 0;
}
