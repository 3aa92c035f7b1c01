// What the benchmarks share: a scratch folder on the disk for their files.
// Files are read and written with the tests' helpers (tests/test_support.h)
// and programs started with tests/process_capture.h.
#ifndef BENCH_BENCH_SUPPORT_H_
#define BENCH_BENCH_SUPPORT_H_

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

}  // namespace bench

#endif  // BENCH_BENCH_SUPPORT_H_
