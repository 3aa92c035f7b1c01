#include "tests/process_capture.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

namespace testing_support {
namespace {

std::string standin() { return std::string(BRINDLE_BINARY_DIR) + "/bin/ftpd-standin"; }

// Both streams are kept apart; a program that cannot be started, or whose
// end cannot be waited for, gives -1 and says why instead of hanging.
TEST(ProcessCapture, CapturesBothStreamsAndEndsOnEveryError) {
  CapturedRun run = runCaptured({standin(), "help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output.compare(0, 7, "usage:\n"), 0) << run.output;
  EXPECT_EQ(run.errors, "");
  run = runCaptured({standin()});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.errors.compare(0, 7, "usage:\n"), 0) << run.errors;

  run = runCaptured({standin() + "-missing"});
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_NE(run.errors.find("cannot start"), std::string::npos) << run.errors;
  EXPECT_EQ(runCaptured({}).exitCode, -1);

  // With SIGCHLD ignored the system reaps the child itself, and waiting for
  // it fails with an error that no retry mends.
  struct sigaction ignore = {};
  struct sigaction saved = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGCHLD, &ignore, &saved), 0);
  run = runCaptured({standin(), "help"});
  ASSERT_EQ(sigaction(SIGCHLD, &saved, nullptr), 0);
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_NE(run.errors.find("cannot wait"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace testing_support
