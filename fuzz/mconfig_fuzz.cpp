// Loads one module's settings from arbitrary bytes; what loads must save
// and load again.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/mconfig.h"

namespace {

std::string scratchPath(const char* what) {
  return std::string("/tmp/brindle-mconfig-fuzz-") + what + "-" + std::to_string(getpid());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = scratchPath("in");
  static const std::string output = scratchPath("out");
  FILE* f = std::fopen(input.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

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
