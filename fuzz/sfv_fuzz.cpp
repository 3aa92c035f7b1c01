// Reads arbitrary bytes as a release's SFV, the way every hook counts it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "hookkit/sfv_status.h"

namespace {

std::string makeFolder() {
  std::string folder = "/tmp/brindle-sfv-fuzz-" + std::to_string(getpid());
  mkdir(folder.c_str(), 0755);
  std::FILE* f = std::fopen((folder + "/present.rar").c_str(), "wb");
  if (f != nullptr) {
    std::fputs("data", f);
    std::fclose(f);
  }
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = makeFolder();
  std::FILE* f = std::fopen((folder + "/release.sfv").c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  SFVStatus sfv{XString(folder.c_str())};
  unsigned int files = sfv.fileCount();
  unsigned int present = sfv.presentCount();
  if (present > files || sfv.names.count != files || sfv.present.count != files) __builtin_trap();
  sfv.contains(XString("present.rar"));
  sfv.listedKB();
  return 0;
}
