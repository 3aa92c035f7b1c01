#include "tests/process_capture.h"

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace testing_support {

namespace {

// A file with no name, open for reading and writing. Close-on-exec, so that
// programs that other threads start meanwhile do not hold it: the child
// gets it only as the copy that spawn puts on its descriptor 1 or 2.
int anonymousFile() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/brindle-capture-XXXXXX";
  int fd = mkostemp(&pattern[0], O_CLOEXEC);
  if (fd >= 0) unlink(pattern.c_str());
  return fd;
}

std::string readBack(int fd) {
  std::string out;
  if (lseek(fd, 0, SEEK_SET) != 0) return out;
  char buffer[1 << 14];
  for (;;) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    out.append(buffer, static_cast<size_t>(got));
  }
  return out;
}

}  // namespace

CapturedRun runCaptured(const std::vector<std::string>& argv) {
  CapturedRun result;
  if (argv.empty()) {
    result.errors = "nothing to start";
    return result;
  }
  const int out = anonymousFile();
  const int err = anonymousFile();
  if (out < 0 || err < 0) {
    if (out >= 0) close(out);
    if (err >= 0) close(err);
    result.errors = "cannot make the capture files";
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    close(out);
    close(err);
    result.errors = "cannot start " + argv[0] + ": " + std::strerror(failed);
    return result;
  }
  int status = 0;
  int waitError = 0;
  while (waitpid(pid, &status, 0) != pid) {
    if (errno == EINTR) continue;
    waitError = errno;  // any other error will not pass by waiting again
    break;
  }
  result.output = readBack(out);
  result.errors = readBack(err);
  close(out);
  close(err);
  if (waitError != 0) {
    result.errors += "cannot wait for " + argv[0] + ": " + std::strerror(waitError);
  } else if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  return result;
}

}  // namespace testing_support
