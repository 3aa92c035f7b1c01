#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/lock.h"

namespace platform {

// Close-on-exec matters: a started program that kept the descriptor would
// keep the lock after we let it go.
FileLock::FileLock(const char* lockPath) {
  if (lockPath == nullptr || lockPath[0] == 0) return;
  int fd;
  do {
    fd = open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return;
  int rc;
  do {
    rc = flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    close(fd);
    return;
  }
  fd_ = fd;
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  flock(fd_, LOCK_UN);
  close(fd_);
}

}  // namespace platform
