// What the benchmarks share: a scratch folder on the disk for their files.
// Files are read and written with the tests' helpers (tests/test_support.h)
// and programs started with tests/process_capture.h.
#ifndef BENCH_BENCH_SUPPORT_H_
#define BENCH_BENCH_SUPPORT_H_

#include <chrono>
#include <string>

namespace bench {

// A fresh folder named after the benchmark: under BRINDLE_BENCH_DIR when
// that is set (name a tmpfs folder there for an in-memory figure beside the
// disk's), else beside the benchmark program in the build tree, so that the
// figures are the disk's. It says where on standard output; empty when it
// cannot be made.
std::string makeScratchFolder(const char* benchmark);

// Removes the folder with all it holds, or with BRINDLE_BENCH_KEEP set
// keeps it and says where. False when it could not be removed.
bool dropScratchFolder(const std::string& folder);

// Seconds since `since`.
double secondsSince(std::chrono::steady_clock::time_point since);

// Lines of a server's vfs file: one entry per release below `realRoot`
// ("<realRoot>/<year>/<name>" mapped to "/mp3/<year>/<name>"), numbered from
// `first`, CR LF after each.
std::string releaseVfsLines(const std::string& realRoot, int first, int count);

// A server's user file of `users` users with varied credits, CR LF after
// each line.
std::string userFileText(int users);

}  // namespace bench

#endif  // BENCH_BENCH_SUPPORT_H_
