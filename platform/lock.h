// The advisory lock that serialises read-modify-writes of shared files.
#ifndef PLATFORM_LOCK_H_
#define PLATFORM_LOCK_H_

namespace platform {

// Name of the one lock file, in the data folder (the hooks' working folder).
constexpr const char* kLockFileName = "brindlecast.lock";

// Holds an exclusive advisory lock on the lock file from construction to
// destruction. Hold it only around one read-modify-write, never across the
// start of an outside program. When the lock file cannot be made the object
// holds nothing and the caller goes on unlocked.
class FileLock {
 public:
  explicit FileLock(const char* lockPath = kLockFileName);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform

#endif  // PLATFORM_LOCK_H_
