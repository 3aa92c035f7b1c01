#include "platform/fs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform {

FILE* openFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  // POSIX has no text translation; "t" only tells our own reader to fold
  // CR LF, so every mode opens as binary here.
  char native[4] = {0, 'b', 0, 0};
  switch (mode[0]) {
    case 'r':
    case 'w':
    case 'a':
      native[0] = mode[0];
      break;
    default:
      return nullptr;
  }
  return std::fopen(path, native);
}

int64_t openFileSize(FILE* file) {
  if (file == nullptr) return -1;
  struct stat st;
  if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool currentDir(std::string& out) {
  out.clear();
  std::vector<char> buffer(512);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      out = buffer.data();
      return true;
    }
    if (errno != ERANGE || buffer.size() > (1u << 20)) return false;
    buffer.resize(buffer.size() * 2);
  }
}

bool changeDir(const char* path) {
  return path != nullptr && path[0] != 0 && chdir(path) == 0;
}

std::string tempPathFor(const std::string& path) {
  static std::atomic<unsigned> serial{0};
  std::string::size_type slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(getpid()),
                serial.fetch_add(1));
  return folder + "." + name + suffix;
}

bool replaceFile(const char* from, const char* to) {
  return std::rename(from, to) == 0;
}

bool removeFile(const char* path) { return unlink(path) == 0; }

}  // namespace platform
