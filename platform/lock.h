// Advisory locks that serialise read-modify-writes of shared files.
#ifndef PLATFORM_LOCK_H_
#define PLATFORM_LOCK_H_

#include <cstdint>

namespace platform {

// Name of the site-wide lock file, in the data folder (the programs'
// working folder).
constexpr const char* kLockFileName = "brindlecast.lock";

// Holds an exclusive advisory lock from construction to destruction. Hold
// it only around one read-modify-write, never across the start of an
// outside program. held() tells whether the lock was had: a caller that
// finds it false changes nothing the lock guards, and says so in its
// result. The lock is not re-entrant: a second lock on the same file in
// the same process waits for ever, so no path that holds one takes it again.
class FileLock {
 public:
  // The site-wide lock on `lockPath` (the lock file in the working folder
  // by default). The file is made when missing; a lock file that cannot be
  // opened for writing (a read-only data folder) is locked through a
  // read-only open, which locks the same.
  explicit FileLock(const char* lockPath = kLockFileName);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  [[nodiscard]] bool held() const { return handle_ != kNone; }

 protected:
  // The lock was not held because another holder has it (as opposed to a
  // lock file that could not be opened or locked at all).
  bool busy_ = false;

  enum class Unopened { kTag };
  explicit FileLock(Unopened) {}
  // Takes the lock on an open file (a descriptor on POSIX, a handle on
  // Windows), waiting for it unless `wait` is false; gives the file up on
  // failure.
  void take(intptr_t handle, bool wait = true);
#ifdef _WIN32
  // Waits for a named mutex, the lock of a folder there, and holds it.
  void takeMutex(intptr_t mutex);
#endif
 private:
  static constexpr intptr_t kNone = -1;
  intptr_t handle_ = kNone;
  bool mutex_ = false;
};

// The lock of one release folder: hooks that change the same release's own
// files (markers, race file, ".message") take turns, while other releases
// go on. The folder itself is locked (on Windows through a named mutex of
// the folder's identity); nothing is made in it.
class FolderLock : public FileLock {
 public:
  explicit FolderLock(const char* folder);
};

// The lock on a file of its own that one kind of run takes so that no
// second run of that kind works beside it: held() is false at once, without
// waiting, while another process holds it. The file is made and opened as
// the site-wide lock file is.
class RunLock : public FileLock {
 public:
  explicit RunLock(const char* lockPath);
  // Not held because another run holds it; false when the lock file could
  // not be made or opened (no lock could be had at all).
  [[nodiscard]] bool busy() const { return busy_; }
};

// For tests that decide the order of events: `hook` is called, in the
// waiting thread, each time a lock is found taken and the caller starts to
// wait for it; null takes it back.
void setLockWaitHook(void (*hook)());

}  // namespace platform

#endif  // PLATFORM_LOCK_H_
