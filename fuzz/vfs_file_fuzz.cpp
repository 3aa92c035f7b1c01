// Loads the server's vfs file from arbitrary bytes. What loads must save,
// and a second load and save must give the server's lines back in their
// own order, byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "serverfiles/vfs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = fuzz_support::scratchPath("vfs-in");
  static const std::string output = fuzz_support::scratchPath("vfs-out");
  if (!fuzz_support::writeInput(input, data, size)) return 0;

  VFSfile vfs(input.c_str(), 64);
  if (!vfs.valid) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  // The input's own text as a folder: any answer will do, but no crash.
  (void)vfs.virtualPathOf(XString(text.substr(0, 64)));
  if (vfs.save(output.c_str()) != 1) std::abort();
  VFSfile again(output.c_str(), 64);
  if (!again.valid || again.count != vfs.count) std::abort();
  if (again.save(output.c_str()) != 1) std::abort();
  if ((text.empty() || text.back() == '\n') && fuzz_support::readBytes(output) != text)
    std::abort();
  return 0;
}
