// Locks on Windows: LockFileEx on the lock file, and a named mutex for a
// folder, which cannot carry a byte-range lock there.
#include "platform/win32_files.h"
// After windows.h:
#include <atomic>
#include <cstdio>
#include <string>

#include "platform/lock.h"

namespace platform {

namespace {

std::atomic<void (*)()> waitHook{nullptr};

void waiting() {
  if (void (*hook)() = waitHook.load()) hook();
}

HANDLE asHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The lock file, made when missing; read-only where it cannot be written.
HANDLE openLockFile(const char* path) {
  HANDLE handle = win32::openRegular(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED &&
      GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    handle = win32::openRegular(path, GENERIC_READ, OPEN_EXISTING);
  }
  return handle;
}

// One byte far past any content is locked: a byte-range lock on Windows
// also stops reads of its bytes, and the lock file is never read anyway.
constexpr DWORD kLockOffsetHigh = 0x40000000;

}  // namespace

void setLockWaitHook(void (*hook)()) { waitHook.store(hook); }

FileLock::FileLock(const char* lockPath) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  take(reinterpret_cast<intptr_t>(openLockFile(lockPath)));
}

// A folder's identity (its volume and file number) names its mutex, so every
// path that reaches the folder, in any case or through its 8.3 alias, takes
// the same lock.
FolderLock::FolderLock(const char* folder) : FileLock(Unopened::kTag) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!win32::infoFollowing(folder, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return;
  }
  char name[96];
  std::snprintf(name, sizeof name, "Local\\brindlecast-folder-%08lx-%08lx%08lx",
                static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh),
                static_cast<unsigned long>(info.nFileIndexLow));
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
  if (mutex == nullptr) return;
  takeMutex(reinterpret_cast<intptr_t>(mutex));
}

RunLock::RunLock(const char* lockPath) : FileLock(Unopened::kTag) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  take(reinterpret_cast<intptr_t>(openLockFile(lockPath)), false);
}

void FileLock::take(intptr_t handle, bool wait) {
  mutex_ = false;
  busy_ = false;
  HANDLE file = asHandle(handle);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return;
  OVERLAPPED where = {};
  where.OffsetHigh = kLockOffsetHigh;
  bool locked =
      LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where);
  if (!locked && GetLastError() == ERROR_LOCK_VIOLATION) {
    if (wait) {
      waiting();
      where = {};
      where.OffsetHigh = kLockOffsetHigh;
      locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &where);
    } else {
      busy_ = true;
    }
  }
  if (!locked) {
    CloseHandle(file);
    return;
  }
  handle_ = handle;
}

// A holder that died leaves the mutex abandoned, which hands it on as a
// lock file's lock is handed on when its holder dies.
void FileLock::takeMutex(intptr_t mutex) {
  HANDLE object = asHandle(mutex);
  DWORD waited = WaitForSingleObject(object, 0);
  if (waited == WAIT_TIMEOUT) {
    waiting();
    waited = WaitForSingleObject(object, INFINITE);
  }
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(object);
    return;
  }
  mutex_ = true;
  handle_ = mutex;
}

FileLock::~FileLock() {
  if (handle_ == kNone) return;
  HANDLE object = asHandle(handle_);
  if (mutex_) {
    ReleaseMutex(object);
  } else {
    OVERLAPPED where = {};
    where.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(object, 0, 1, 0, &where);
  }
  CloseHandle(object);
}

}  // namespace platform
