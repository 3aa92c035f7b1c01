// Loads a module index from arbitrary bytes, chooses modules and saves it.
// No module's settings are opened, so no file named by the input is read
// or written.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/module_index.h"

namespace {

std::string scratchPath(const char* what) {
  return std::string("/tmp/brindle-index-fuzz-") + what + "-" + std::to_string(getpid());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = scratchPath("in");
  static const std::string output = scratchPath("out");
  FILE* f = std::fopen(input.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

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
