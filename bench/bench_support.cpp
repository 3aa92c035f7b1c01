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

double secondsSince(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string releaseVfsLines(const std::string& realRoot, int first, int count) {
  std::string text;
  char line[256];
  for (int i = first; i < first + count; ++i) {
    int n = std::snprintf(line, sizeof line,
                          "/%04d/Some_Artist-Some_Title-%06d-GRP|/mp3/%04d/"
                          "Some_Artist-Some_Title-%06d-GRP|siteop|music|777|r|0|0|0|0|0|0|0|0|\r\n",
                          1990 + i % 30, i, 1990 + i % 30, i);
    text += realRoot;
    text.append(line, static_cast<size_t>(n));
  }
  return text;
}

std::string userFileText(int users) {
  std::string text;
  char line[256];
  for (int i = 0; i < users; ++i) {
    int n = std::snprintf(line, sizeof line,
                          "user%05d:0:5f4dcc3b5aa765d61d8327deb882cf99:users,music:1:0:0:0:0:0:0:0:"
                          "::: %d.%02d:0:0:00000000::0:0:\r\n",
                          i, i * 37 % 100000, i % 100);
    text.append(line, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace bench
