#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/lock.h"

namespace platform {

namespace {

int openRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = open(path, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

// Close-on-exec matters: a started program that kept the descriptor would
// keep the lock after we let it go. A lock file that is a link or not a
// regular file is not ours to open.
FileLock::FileLock(const char* lockPath) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  int fd = openRetrying(lockPath, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = openRetrying(lockPath, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  }
  take(fd);
}

FolderLock::FolderLock(const char* folder) : FileLock(Unopened::kTag) {
  if (folder == nullptr || folder[0] == 0) return;
  take(openRetrying(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

RunLock::RunLock(const char* lockPath) : FileLock(Unopened::kTag) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  int fd = openRetrying(lockPath, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = openRetrying(lockPath, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  }
  take(fd, false);
}

void FileLock::take(intptr_t handle, bool wait) {
  mutex_ = false;  // flock locks folders as well as files
  if (handle < 0) return;
  int fd = static_cast<int>(handle);
  struct stat st;
  if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
    close(fd);
    return;
  }
  int rc;
  do {
    rc = flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
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
