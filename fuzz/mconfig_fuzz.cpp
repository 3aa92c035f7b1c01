// Loads one module's settings from arbitrary bytes; what loads must save
// and load again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/mconfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("mconfig-in");
  static const std::string output = fuzz_support::scratchPath("mconfig-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  MConfig c;
  if (!c.load(input.c_str())) return 0;
  if (!c.save(output.c_str())) std::abort();
  MConfig again;
  if (!again.load(output.c_str())) std::abort();
  if (again.racer.mbody != c.racer.mbody || again.sfv_filelist.count != c.sfv_filelist.count) {
    std::abort();
  }
  return 0;
}
