#include "platform/lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;

// True when another open of the lock file could take the lock now.
bool freeNow(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR);
  if (fd < 0) return false;
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

TEST(FileLock, MadeIfMissingHeldAndReleased) {
  ScopedTempDir dir;
  std::string path = dir.at("brindlecast.lock");
  {
    mode_t saved = umask(0);
    platform::FileLock lock(path.c_str());
    umask(saved);
    ASSERT_TRUE(lock.held());
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_FALSE(freeNow(path));
  }
  EXPECT_TRUE(freeNow(path));

  // The default name is in the current folder.
  ASSERT_TRUE(chdir(dir.path().c_str()) == 0);
  {
    platform::FileLock lock;
    EXPECT_TRUE(lock.held());
    EXPECT_FALSE(freeNow(platform::kLockFileName));
  }
  // A lock file that cannot be made, or is not a regular file: nothing held.
  platform::FileLock none(dir.at("missing/x.lock").c_str());
  EXPECT_FALSE(none.held());
  ASSERT_EQ(mkfifo(dir.at("fifo.lock").c_str(), 0644), 0);
  platform::FileLock fifo(dir.at("fifo.lock").c_str());
  EXPECT_FALSE(fifo.held());
  ASSERT_EQ(symlink(path.c_str(), dir.at("link.lock").c_str()), 0);
  platform::FileLock link(dir.at("link.lock").c_str());
  EXPECT_FALSE(link.held());
}

// A data folder the hooks may not write (a server that runs them as another
// user, say): a lock file that is there is locked through a read-only open,
// which locks the same; only a lock file that is not there and cannot be
// made leaves the lock unheld. Root may write anything, so the child drops
// to another user first.
TEST(FileLock, ReadOnlyDataFolder) {
  ScopedTempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);  // the other user may look in
  std::string data = dir.at("data");
  ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
  std::string path = data + "/brindlecast.lock";
  { platform::FileLock made(path.c_str()); }
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  // Held here: the child must wait for it.
  auto mine = std::make_unique<platform::FileLock>(path.c_str());
  ASSERT_TRUE(mine->held());
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    if (open(path.c_str(), O_RDWR) >= 0) _exit(4);  // really cannot write it
    platform::FileLock readOnly(path.c_str());
    char c = readOnly.held() ? 'y' : 'n';
    platform::FileLock none((data + "/other.lock").c_str());
    if (none.held()) c = 'x';
    _exit(write(fds[1], &c, 1) == 1 ? 0 : 1);
  }
  close(fds[1]);
  struct pollfd ready = {fds[0], POLLIN, 0};
  EXPECT_EQ(poll(&ready, 1, 300), 0);  // waiting for our lock
  mine.reset();
  char c = 0;
  EXPECT_EQ(read(fds[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  close(fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// Each release has its own lock: a hook busy with one release never holds
// up a hook of another, and the release is locked without anything made in
// it.
TEST(FolderLock, ReleasesLockApart) {
  ScopedTempDir dir;
  ASSERT_EQ(mkdir(dir.at("A").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.at("B").c_str(), 0755), 0);
  platform::FolderLock a(dir.at("A").c_str());
  ASSERT_TRUE(a.held());
  {
    platform::FolderLock b(dir.at("B").c_str());  // would wait for ever if it were A's
    EXPECT_TRUE(b.held());
  }
  int fd = open(dir.at("A").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);  // A's is taken
  close(fd);
  EXPECT_TRUE(testing_support::listNames(dir.at("A")).empty());
  platform::FolderLock missing(dir.at("gone").c_str());
  EXPECT_FALSE(missing.held());
}

TEST(FileLock, SecondHolderWaitsForTheFirst) {
  ScopedTempDir dir;
  std::string path = dir.at("lock");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  auto first = std::make_unique<platform::FileLock>(path.c_str());
  ASSERT_TRUE(first->held());
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    platform::FileLock second(path.c_str());
    char c = second.held() ? 'y' : 'n';
    _exit(write(fds[1], &c, 1) == 1 ? 0 : 1);
  }
  close(fds[1]);
  // While the first holds it the second cannot have got it.
  struct pollfd ready = {fds[0], POLLIN, 0};
  EXPECT_EQ(poll(&ready, 1, 300), 0);
  first.reset();
  char c = 0;
  EXPECT_EQ(read(fds[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  close(fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Read-modify-write of one counter file from several processes at once.
TEST(FileLock, NoIncrementIsLost) {
  ScopedTempDir dir;
  std::string lockPath = dir.at("lock"), countPath = dir.at("count");
  testing_support::writeFile(countPath, "0");
  const int kChildren = 6, kRounds = 150;
  std::vector<pid_t> children;
  for (int i = 0; i < kChildren; ++i) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int round = 0; round < kRounds; ++round) {
        platform::FileLock lock(lockPath.c_str());
        if (!lock.held()) _exit(2);
        FILE* in = std::fopen(countPath.c_str(), "rb");
        long value = 0;
        if (in == nullptr || std::fscanf(in, "%ld", &value) != 1) _exit(3);
        std::fclose(in);
        usleep(50);  // widen the window a lost update needs
        FILE* out = std::fopen(countPath.c_str(), "wb");
        if (out == nullptr) _exit(4);
        std::fprintf(out, "%ld", value + 1);
        if (std::fclose(out) != 0) _exit(5);
      }
      _exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(readFile(countPath), std::to_string(kChildren * kRounds));
}

// A second run finds the lock taken and learns it at once; after the
// first lets go the next run has it. A lock file that cannot be made or
// opened is no lock at all, not another run's.
TEST(RunLock, SecondRunIsTurnedAwayWithoutWaiting) {
  ScopedTempDir dir;
  std::string path = dir.at("run.lock");
  auto first = std::make_unique<platform::RunLock>(path.c_str());
  ASSERT_TRUE(first->held());
  EXPECT_FALSE(first->busy());
  platform::RunLock second(path.c_str());  // another open: flock sees two holders
  EXPECT_FALSE(second.held());
  EXPECT_TRUE(second.busy());
  EXPECT_FALSE(freeNow(path));
  first.reset();
  platform::RunLock third(path.c_str());
  EXPECT_TRUE(third.held());
  ASSERT_EQ(symlink(path.c_str(), dir.at("link.lock").c_str()), 0);
  ASSERT_EQ(mkdir(dir.at("folder.lock").c_str(), 0755), 0);
  for (const char* name : {"link.lock", "folder.lock", "missing/x.lock"}) {
    platform::RunLock none(dir.at(name).c_str());
    EXPECT_FALSE(none.held()) << name;
    EXPECT_FALSE(none.busy()) << name;
  }
}

}  // namespace
