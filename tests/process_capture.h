// Starts a program and captures what it writes, for the end-to-end tests
// and the benchmarks that drive the built programs.
#ifndef TESTS_PROCESS_CAPTURE_H_
#define TESTS_PROCESS_CAPTURE_H_

#include <string>
#include <vector>

namespace testing_support {

// What one run of a program gave.
struct CapturedRun {
  // The program's exit code; -1 when it could not be started, did not end
  // normally or could not be waited for (`errors` then says which).
  int exitCode = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

// Starts argv[0] directly (no shell, no search of PATH) with the current
// folder and environment and standard input from /dev/null, waits for it,
// and returns its exit code with everything it wrote to standard output and
// standard error. Safe to call from several threads at once: each run's
// output goes to files of its own that no other started program holds.
CapturedRun runCaptured(const std::vector<std::string>& argv);

}  // namespace testing_support

#endif  // TESTS_PROCESS_CAPTURE_H_
