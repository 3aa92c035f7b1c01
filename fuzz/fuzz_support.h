// What the fuzz targets share: a scratch file per process to hand the
// loaders their input through.
#ifndef FUZZ_FUZZ_SUPPORT_H_
#define FUZZ_FUZZ_SUPPORT_H_

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz_support {

// A path in /tmp that only this process uses, with `name` at its end.
inline std::string scratchPath(const char* name) {
  return "/tmp/brindle-fuzz-" + std::to_string(getpid()) + "-" + name;
}

// A folder of that name, made when missing.
inline std::string scratchFolder(const char* name) {
  std::string folder = scratchPath(name);
  mkdir(folder.c_str(), 0755);
  return folder;
}

// Writes the input to `path`; false when it cannot be written.
inline bool writeInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace fuzz_support

#endif  // FUZZ_FUZZ_SUPPORT_H_
