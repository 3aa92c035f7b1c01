// Loads a group list file from arbitrary bytes; what loads must save and
// load back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "programs/brindleset/group_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("grouplist-in");
  static const std::string output = fuzz_support::scratchPath("grouplist-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  std::vector<XString> names;
  if (!brindleset::readGroupList(input.c_str(), names)) return 0;
  if (names.size() > static_cast<size_t>(brindleset::kGroupListLimit)) std::abort();
  for (const XString& name : names) {
    if (name.length() > brindleset::kGroupNameLimit) std::abort();
  }
  std::vector<XString> again;
  if (!brindleset::writeGroupList(output.c_str(), names) ||
      !brindleset::readGroupList(output.c_str(), again) || again != names) {
    std::abort();
  }
  return 0;
}
