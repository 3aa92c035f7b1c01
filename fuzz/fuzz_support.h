// What the fuzz targets share: a scratch folder per process to hand the
// loaders their input through, removed when the process ends.
#ifndef FUZZ_FUZZ_SUPPORT_H_
#define FUZZ_FUZZ_SUPPORT_H_

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fuzz_support {

// This process's own folder under the system's temporary folder; it and all
// it holds go when the process exits.
inline const std::string& scratchRoot() {
  static const std::string root = [] {
    std::string made = (std::filesystem::temp_directory_path() / "brindle-fuzz-XXXXXX").string();
    if (mkdtemp(&made[0]) == nullptr) return std::string(".");
    static std::string toRemove = made;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(toRemove, ignored);
    });
    return made;
  }();
  return root;
}

// A path in the scratch folder with `name` at its end.
inline std::string scratchPath(const char* name) { return scratchRoot() + "/" + name; }

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

// The bytes of a file; empty when it cannot be read.
inline std::string readBytes(const std::string& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return bytes;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, got);
  std::fclose(f);
  return bytes;
}

}  // namespace fuzz_support

#endif  // FUZZ_FUZZ_SUPPORT_H_
