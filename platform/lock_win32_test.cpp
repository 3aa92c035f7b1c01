// The Windows locks between two processes: the test holds a lock while a
// helper program asks for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/lock.h"
#include "platform/process.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;

const std::string kHelper = BRINDLE_BINARY_DIR "/bin/win32_helper.exe";

// Starts the helper in a thread of its own; its exit code lands in `code`.
std::thread helper(std::vector<std::string> args, int* code) {
  args.insert(args.begin(), kHelper);
  return std::thread([args, code] { *code = platform::runAndWait(args, 60); });
}

bool waitFor(const std::string& path, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (exists(path)) return true;
    Sleep(20);
  }
  return exists(path);
}

TEST(FileLockWin32, SecondProcessWaitsForTheFirst) {
  ScopedTempDir dir;
  const std::string lockPath = dir.at("brindlecast.lock");
  int code = -100;
  std::thread other;
  {
    platform::FileLock lock(lockPath.c_str());
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(platform::runAndWait({kHelper, "trylock", lockPath}, 60), 1);
    other = helper({"lock", lockPath, dir.at("marker"), "0"}, &code);
    EXPECT_FALSE(waitFor(dir.at("marker"), 700));
  }
  other.join();
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(exists(dir.at("marker")));
  EXPECT_EQ(platform::runAndWait({kHelper, "trylock", lockPath}, 60), 0);

  // A holder that is ended (here by its time limit) hands the lock on.
  EXPECT_EQ(platform::runAndWait({kHelper, "lock", lockPath, dir.at("held"), "600000"}, 2),
            platform::kTimedOut);
  EXPECT_TRUE(exists(dir.at("held")));
  EXPECT_EQ(platform::runAndWait({kHelper, "trylock", lockPath}, 60), 0);
}

TEST(FileLockWin32, NoIncrementIsLostBetweenProcesses) {
  ScopedTempDir dir;
  const std::string lockPath = dir.at("brindlecast.lock"), counter = dir.at("counter");
  std::vector<int> codes(4, -100);
  std::vector<std::thread> writers;
  for (int& code : codes) writers.push_back(helper({"count", lockPath, counter, "50"}, &code));
  for (std::thread& writer : writers) writer.join();
  for (int code : codes) EXPECT_EQ(code, 0);
  EXPECT_EQ(readFile(counter), "200");
}

TEST(FolderLockWin32, OneReleaseAtATimeAndReleasesApart) {
  ScopedTempDir dir;
  makeDirs(dir.at("site/Release-One"));
  makeDirs(dir.at("site/Release-Two"));
  int one = -100, two = -100;
  std::thread first, second;
  {
    // Another spelling of the folder names the same lock.
    platform::FolderLock lock(dir.at("site/RELEASE-ONE").c_str());
    ASSERT_TRUE(lock.held());
    first = helper({"folderlock", dir.at("site/Release-One"), dir.at("one"), "0"}, &one);
    second = helper({"folderlock", dir.at("site/Release-Two"), dir.at("two"), "0"}, &two);
    EXPECT_TRUE(waitFor(dir.at("two"), 20000));
    EXPECT_FALSE(waitFor(dir.at("one"), 500));
  }
  first.join();
  second.join();
  EXPECT_EQ(one, 0);
  EXPECT_EQ(two, 0);
  EXPECT_TRUE(exists(dir.at("one")));
  // A folder that is not there cannot be locked.
  platform::FolderLock missing(dir.at("site/none").c_str());
  EXPECT_FALSE(missing.held());
}

}  // namespace
