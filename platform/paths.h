// Separators and names that differ between platforms.
#ifndef PLATFORM_PATHS_H_
#define PLATFORM_PATHS_H_

namespace platform {

#ifdef _WIN32
constexpr char kPathSep = '\\';
constexpr const char* kPathSepText = "\\";
constexpr const char* kExeSuffix = ".exe";
#else
constexpr char kPathSep = '/';
constexpr const char* kPathSepText = "/";
constexpr const char* kExeSuffix = "";
#endif

}  // namespace platform

#endif  // PLATFORM_PATHS_H_
