// Loads a module index from arbitrary bytes, chooses modules and saves it.
// No module's settings are opened, so no file named by the input is read
// or written.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/module_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("index-in");
  static const std::string output = fuzz_support::scratchPath("index-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  ModuleIndex<MConfig> index(input.c_str());
  for (const char* dir : {"/", "/mp3/new/cd1", "", "/MP3"}) {
    int i = index.findByPath(dir);
    if (i < -1 || i >= index.count) std::abort();
  }
  index.findDefault();
  if (index.count > 0) {
    int copy = index.duplicate(0);
    if (copy != index.count - 1) std::abort();
    index.remove(0);
  }
  if (!index.save(output.c_str())) std::abort();
  ModuleIndex<MConfig> again(output.c_str());
  if (again.count != index.count) std::abort();
  return 0;
}
