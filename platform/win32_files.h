// Windows only, inside the platform layer: opening a path the safe way.
#ifndef PLATFORM_WIN32_FILES_H_
#define PLATFORM_WIN32_FILES_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace platform {
namespace win32 {

// The last part of `path` names one of the system's devices (CON, NUL,
// COM1, LPT1, ... with any extension), which an open would reach in every
// folder.
bool isDeviceName(const char* path);

// The last part of `path` could reach an entry under another name: through
// its 8.3 alias (a '~' in it) or through the trailing dots and blanks that
// the system drops. Then the entry's own name is looked up, and true
// returned unless it is the last part itself (case ignored).
bool reachesAnotherName(const char* path);

// Opens `path` without following a reparse point in its last part and keeps
// the handle only when it names a regular disk file; INVALID_HANDLE_VALUE
// otherwise (GetLastError tells why). Device names and alias-only names are
// refused before anything is opened. `share` defaults to every kind of
// sharing, as a POSIX open shares.
HANDLE openRegular(const char* path, DWORD access, DWORD disposition,
                   DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);

// What a handle names.
bool isRegularHandle(HANDLE handle);

// Information on what `path` names, reparse points followed; false when
// nothing is there.
bool infoFollowing(const char* path, BY_HANDLE_FILE_INFORMATION* info);

}  // namespace win32
}  // namespace platform

#endif  // PLATFORM_WIN32_FILES_H_
