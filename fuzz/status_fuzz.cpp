// Loads arbitrary bytes as the hooks' memo and writes a slot back.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "programs/landfall/status.h"

namespace {

bool enterScratch() {
  std::string folder = "/tmp/brindle-status-fuzz-" + std::to_string(getpid());
  mkdir(folder.c_str(), 0755);
  return chdir(folder.c_str()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = enterScratch();
  if (!ready) return 0;
  std::FILE* f = std::fopen(Status::kFileName, "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  {
    Status memo;
    if (size > 0 && (data[0] & 1)) {
      memo.checked.path = "/site/rel/file.mp3";
      memo.checked.flag = false;
    }
  }
  Status again;
  (void)again.spare.path.length();
  return 0;
}
