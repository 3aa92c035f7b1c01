#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "platform/process.h"

extern char** environ;

namespace platform {

namespace {

int64_t monotonicMs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int openPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  errno = ENOSYS;
  return -1;
#endif
}

// Waits until the child ends or the deadline (-1: none) passes; true when it
// ended. The child is not reaped here.
bool waitForEnd(pid_t pid, int64_t deadline) {
  int pidfd = openPidFd(pid);
  if (pidfd >= 0) {
    for (;;) {
      int timeout = -1;
      if (deadline >= 0) {
        int64_t left = deadline - monotonicMs();
        if (left <= 0) break;
        timeout = left > 1000000 ? 1000000 : static_cast<int>(left);
      }
      struct pollfd ready = {pidfd, POLLIN, 0};
      int n = poll(&ready, 1, timeout);
      if (n > 0) {
        close(pidfd);
        return true;
      }
      if (n < 0 && errno != EINTR) break;  // fall back to the loop below
    }
    close(pidfd);
    if (deadline >= 0 && monotonicMs() >= deadline) return false;
  }
  // Without process descriptors: look at the child in short steps.
  for (;;) {
    siginfo_t info;
    info.si_pid = 0;
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid) {
      return true;
    }
    if (deadline >= 0 && monotonicMs() >= deadline) return false;
    struct timespec step = {0, 5 * 1000 * 1000};
    nanosleep(&step, nullptr);
  }
}

int reap(pid_t pid) {
  int status = 0;
  pid_t done;
  do {
    done = waitpid(pid, &status, 0);
  } while (done < 0 && errno == EINTR);
  if (done != pid) return kNoExitCode;
  return WIFEXITED(status) ? WEXITSTATUS(status) : kNoExitCode;
}

}  // namespace

// POSIX has no command-line text of its own: the arguments stand for it.
std::string commandLineText(int argc, char** argv) {
  if (argc <= 1) return argc == 1 && argv[0] != nullptr ? argv[0] : "";
  if (argc == 2) return argv[1];
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

std::vector<std::string> programArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i] != nullptr ? argv[i] : "");
  return arguments;
}

// Linux and the BSDs that mount it name the running program in /proc; where
// nothing tells, the folder is unknown and the caller says so.
std::string executableFolder() {
  std::vector<char> buffer(4096);
  for (const char* link : {"/proc/self/exe", "/proc/curproc/file"}) {
    ssize_t n = readlink(link, buffer.data(), buffer.size() - 1);
    if (n <= 0) continue;
    std::string path(buffer.data(), static_cast<size_t>(n));
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
  }
  return "";
}

int runAndWait(const std::vector<std::string>& argv, int timeoutSeconds, bool shareOutput) {
  if (argv.empty() || argv[0].empty()) return kNotStarted;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!shareOutput) {
    // Nothing the program prints reaches the server's own output.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Files opened without close-on-exec (by a library, say) stay ours too.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  // Signals we ignore or block would stay ignored or blocked in the child.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, reset;
  sigemptyset(&none);
  sigemptyset(&reset);
  for (int sig : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM}) {
    sigaddset(&reset, sig);
  }
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &reset);
  // Its own process group, so that a program that outlives its time is
  // ended with everything it started.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  pid_t pid = 0;
  int failed = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) return kNotStarted;

  int64_t deadline =
      timeoutSeconds > 0 ? monotonicMs() + static_cast<int64_t>(timeoutSeconds) * 1000 : -1;
  if (waitForEnd(pid, deadline)) return reap(pid);
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  // A child that ended on its own just before the kill keeps its exit code.
  int code = reap(pid);
  return code == kNoExitCode ? kTimedOut : code;
}

// No text is built: no character of a name can make a fifth argument.
int runChmod(const ChmodCall& call, int timeoutSeconds) {
  return runAndWait({call.program, call.rights, call.user, call.group, call.path}, timeoutSeconds);
}

}  // namespace platform
