// Byte reads and writes of a stdio file without the stream's lock: each file
// of the suite is used by one thread. Windows' runtime has no such calls
// beside its locked ones.
#ifndef PLATFORM_STDIO_FAST_H_
#define PLATFORM_STDIO_FAST_H_

#include <cstdio>

namespace platform {

inline size_t readFast(void* target, size_t n, FILE* file) {
#ifdef _WIN32
  return std::fread(target, 1, n, file);
#else
  return fread_unlocked(target, 1, n, file);
#endif
}

inline size_t writeFast(const void* bytes, size_t n, FILE* file) {
#ifdef _WIN32
  return std::fwrite(bytes, 1, n, file);
#else
  return fwrite_unlocked(bytes, 1, n, file);
#endif
}

inline int getcFast(FILE* file) {
#ifdef _WIN32
  return std::getc(file);
#else
  return getc_unlocked(file);
#endif
}

}  // namespace platform

#endif  // PLATFORM_STDIO_FAST_H_
