#include "bench/bench_support.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/process.h"

namespace bench {

std::string makeScratchFolder(const char* benchmark) {
  const char* base = std::getenv("BRINDLE_BENCH_DIR");
  std::string folder =
      base != nullptr && *base != 0 ? std::string(base) : platform::executableFolder();
  // Absolute: a benchmark may change its working folder.
  std::error_code error;
  folder = std::filesystem::absolute(folder.empty() ? "." : folder, error).string();
  std::string pattern = folder + "/brindle-" + benchmark + "-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  if (mkdtemp(name.data()) == nullptr) {
    std::fprintf(stderr, "%s: cannot make a folder in %s\n", benchmark, folder.c_str());
    return std::string();
  }
  std::printf("files in %s\n", name.data());
  return name.data();
}

bool dropScratchFolder(const std::string& folder) {
  if (std::getenv("BRINDLE_BENCH_KEEP") != nullptr) {
    std::printf("\nfiles kept in %s\n", folder.c_str());
    return true;
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return !error;
}

}  // namespace bench
