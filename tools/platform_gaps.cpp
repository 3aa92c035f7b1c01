#include "tools/platform_gaps.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

namespace platform_gaps {

namespace {

constexpr int kRandomChars = 8;
constexpr int kTries = 100;

std::string randomChars() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kAlphabet) - 2);
  std::string out;
  for (int i = 0; i < kRandomChars; ++i) out += kAlphabet[pick(generator)];
  return out;
}

}  // namespace

FILE* createTempFile(const std::string& folder, const char* prefix, std::string* path) {
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (int attempt = 0; attempt < kTries; ++attempt) {
    std::string candidate = base + prefix + randomChars();
    int fd;
    do {
      fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      if (errno == EEXIST) continue;  // taken: another name
      return nullptr;
    }
    FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
      close(fd);
      unlink(candidate.c_str());
      return nullptr;
    }
    *path = candidate;
    return file;
  }
  return nullptr;
}

bool isLink(const char* path) {
  struct stat st;
  return path != nullptr && lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

bool setModeBitsNoFollow(const char* path, unsigned int bits) {
  // Refused for a link, so a link put in place after a look at the path is
  // not followed either.
  return path != nullptr &&
         fchmodat(AT_FDCWD, path, static_cast<mode_t>(bits & 07777), AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace platform_gaps
