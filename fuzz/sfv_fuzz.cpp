// Reads arbitrary bytes as a release's SFV, the way every hook counts it.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "hookkit/sfv_status.h"

namespace {

std::string makeFolder() {
  std::string folder = fuzz_support::scratchFolder("sfv");
  const uint8_t kData[] = {'d', 'a', 't', 'a'};
  fuzz_support::writeInput(folder + "/present.rar", kData, sizeof kData);
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = makeFolder();
  if (!fuzz_support::writeInput(folder + "/release.sfv", data, size)) return 0;

  SFVStatus sfv{XString(folder.c_str())};
  unsigned int files = sfv.fileCount();
  unsigned int present = sfv.presentCount();
  if (present > files || sfv.names.count != files || sfv.present.count != files) __builtin_trap();
  sfv.contains(XString("present.rar"));
  sfv.listedKB();
  return 0;
}
