#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/lock.h"
#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

TEST(CommandLine, TextFromArguments) {
  char prog[] = "prog", a[] = "one two", b[] = "x";
  char* none[] = {prog, nullptr};
  char* one[] = {prog, a, nullptr};
  char* two[] = {prog, a, b, nullptr};
  EXPECT_EQ(platform::commandLineText(1, none), "prog");
  EXPECT_EQ(platform::commandLineText(2, one), "one two");
  EXPECT_EQ(platform::commandLineText(3, two), "one two x");
}

TEST(RunAndWait, ExitCodesAndUnstartablePrograms) {
  ScopedTempDir dir;
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", "exit 7"}, 10), 7);
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", "exit 0"}, 0), 0);
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", "kill -9 $$"}, 10), platform::kNoExitCode);

  EXPECT_EQ(platform::runAndWait({}, 10), platform::kNotStarted);
  EXPECT_EQ(platform::runAndWait({""}, 10), platform::kNotStarted);
  EXPECT_EQ(platform::runAndWait({dir.at("missing")}, 10), platform::kNotStarted);
  EXPECT_EQ(platform::runAndWait({dir.path()}, 10), platform::kNotStarted);
  writeFile(dir.at("plain"), "not a program");
  EXPECT_EQ(platform::runAndWait({dir.at("plain")}, 10), platform::kNotStarted);
  // No search of PATH and no shell: a bare name is a file in the current folder.
  EXPECT_EQ(platform::runAndWait({"sh", "-c", "exit 0"}, 10), platform::kNotStarted);
  EXPECT_EQ(platform::runAndWait({"/bin/sh -c true"}, 10), platform::kNotStarted);
}

TEST(RunAndWait, RelativeProgramFolderAndArguments) {
  ScopedTempDir dir;
  testing_support::makeDirs(dir.at("install/data"));
  writeFile(dir.at("install/tool"), "#!/bin/sh\npwd > where\nprintf '%s|' \"$@\" > args\n");
  ASSERT_TRUE(platform::setModeBits(dir.at("install/tool").c_str(), 0755));
  ASSERT_TRUE(platform::changeDir(dir.at("install/data").c_str()));
  std::string cwd;
  ASSERT_TRUE(platform::currentDir(cwd));

  EXPECT_EQ(platform::runAndWait(platform::splitCommandText("../tool 777  g \"a b* c\""), 10), 0);
  EXPECT_EQ(readFile("where"), cwd + "\n");
  EXPECT_EQ(readFile("args"), "777|g|a b* c|");
}

TEST(RunAndWait, ChildGetsNoInputAndNoOpenFiles) {
  ScopedTempDir dir;
  ASSERT_TRUE(platform::changeDir(dir.path().c_str()));
  // stdin is /dev/null: a reader ends at once instead of hanging.
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", "cat > got; exit 3"}, 20), 3);
  EXPECT_EQ(readFile("got"), "");

  // A descriptor without close-on-exec is not passed on either.
  int leaked = open(dir.at("leak").c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(leaked, 0);
  std::string probe = "[ -e /proc/self/fd/" + std::to_string(leaked) + " ]";
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", probe}, 10), 1);
  close(leaked);

  // A lock held while a program starts is ours alone: once we let it go it
  // is free, even while something the program left behind still runs.
  {
    platform::FileLock lock(dir.at("lockfile").c_str());
    ASSERT_TRUE(lock.held());
    ASSERT_EQ(platform::runAndWait({"/bin/sh", "-c", "sleep 3 >/dev/null 2>&1 &"}, 10), 0);
  }
  int fd = open(dir.at("lockfile").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  close(fd);
}

// A program that outlives its time is ended with everything it started:
// a child it forked that hangs too goes with it. What it prints reaches
// nobody.
TEST(RunAndWait, TimeoutEndsTheWholeGroup) {
  ScopedTempDir dir;
  std::string pids = dir.at("pids");
  std::string script = "sleep 60 & echo $! > '" + pids + "'; echo $$ >> '" + pids +
                       "'; echo noise; echo noise >&2; sleep 60";
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::runAndWait({"/bin/sh", "-c", script}, 1), platform::kTimedOut);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  std::string text = readFile(pids);
  std::vector<pid_t> started;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    started.push_back(static_cast<pid_t>(std::atol(text.substr(at, end - at).c_str())));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  ASSERT_EQ(started.size(), 2u);
  for (pid_t pid : started) {
    ASSERT_GT(pid, 0);
    // Both killed; the program reaped. Its orphaned child is reaped by init
    // a moment later.
    for (int tries = 0; tries < 200 && kill(pid, 0) == 0; ++tries) usleep(10000);
    errno = 0;
    EXPECT_EQ(kill(pid, 0), -1) << pid;
    EXPECT_EQ(errno, ESRCH) << pid;
  }
}

}  // namespace
