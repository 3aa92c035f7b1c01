#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "platform/lock.h"

namespace platform {

namespace {

std::atomic<void (*)()> waitHook{nullptr};

int openRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The lock file, made when missing. Close-on-exec matters: a started
// program that kept the descriptor would keep the lock after we let it go.
// A lock file that is a link or not a regular file is not ours to open. One
// that cannot be opened for writing (a read-only data folder) is opened
// read-only, which locks the same.
int openLockFile(const char* path) {
  int fd = openRetrying(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = openRetrying(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  }
  return fd;
}

int flockRetrying(int fd, int operation) {
  int rc;
  do {
    rc = flock(fd, operation);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

void setLockWaitHook(void (*hook)()) { waitHook.store(hook); }

FileLock::FileLock(const char* lockPath) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  take(openLockFile(lockPath));
}

FolderLock::FolderLock(const char* folder) : FileLock(Unopened::kTag) {
  if (folder == nullptr || folder[0] == 0) return;
  take(openRetrying(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

RunLock::RunLock(const char* lockPath) : FileLock(Unopened::kTag) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  take(openLockFile(lockPath), false);
}

void FileLock::take(intptr_t handle, bool wait) {
  mutex_ = false;  // flock locks folders as well as files
  busy_ = false;
  if (handle < 0) return;
  int fd = static_cast<int>(handle);
  struct stat st;
  if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
    close(fd);
    return;
  }
  int rc = flockRetrying(fd, LOCK_EX | LOCK_NB);
  if (rc != 0 && errno == EWOULDBLOCK) {
    if (wait) {
      if (void (*hook)() = waitHook.load()) hook();
      rc = flockRetrying(fd, LOCK_EX);
    } else {
      busy_ = true;
    }
  }
  if (rc != 0) {
    close(fd);
    return;
  }
  handle_ = fd;
}

FileLock::~FileLock() {
  if (handle_ == kNone) return;
  int fd = static_cast<int>(handle_);
  flock(fd, LOCK_UN);
  close(fd);
}

}  // namespace platform
