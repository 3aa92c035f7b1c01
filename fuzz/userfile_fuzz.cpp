// Loads the server's user file from arbitrary bytes. What loads whole must
// save to the same bytes, and a credit change must come back exactly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "serverfiles/userfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("users-in");
  static const std::string output = fuzz_support::scratchPath("users-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  Userfile users(input.c_str());
  if (!users.ok) return 0;
  if (!users.save(output.c_str())) std::abort();
  if (fuzz_support::readBytes(output) != std::string(reinterpret_cast<const char*>(data), size))
    std::abort();

  UserfileEntry* first = users.entry(0);
  if (first == nullptr) return 0;
  int64_t credits = first->credits + 12345;
  if (credits > INT64_C(1000000000000000)) return 0;
  first->credits = credits;
  if (!users.save(output.c_str())) std::abort();
  Userfile again(output.c_str());
  if (!again.ok || again.count != users.count || again.entry(0)->credits != credits) {
    std::abort();
  }
  return 0;
}
