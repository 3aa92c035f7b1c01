// Separators and names that differ between platforms.
#ifndef PLATFORM_PATHS_H_
#define PLATFORM_PATHS_H_

namespace platform {

// kNamesFoldCase: the file system finds a name whatever the case of its
// letters, so two names that differ only so are one entry.
#ifdef _WIN32
constexpr char kPathSep = '\\';
constexpr const char* kPathSepText = "\\";
constexpr const char* kExeSuffix = ".exe";
constexpr bool kNamesFoldCase = true;
#else
constexpr char kPathSep = '/';
constexpr const char* kPathSepText = "/";
constexpr const char* kExeSuffix = "";
constexpr bool kNamesFoldCase = false;
#endif

}  // namespace platform

#endif  // PLATFORM_PATHS_H_
