// Times the reading of a release's SFV with the presence test of every
// listed file, for releases of 100, 1,000 and 10,000 files. One listing of
// the folder serves every lookup, so the time per file should stay flat.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "hookkit/sfv_status.h"
#include "tests/test_support.h"

namespace {

using testing_support::writeFile;

}  // namespace

int main() {
  const std::string root = bench::makeScratchFolder("sfv-bench");
  if (root.empty()) return 1;
  std::printf("%8s %12s %14s\n", "files", "ms per read", "us per file");
  for (int files : {100, 1000, 10000}) {
    std::string rel = root + "/rel" + std::to_string(files);
    mkdir(rel.c_str(), 0755);
    std::string sfv = "; made for the benchmark\n";
    for (int i = 0; i < files; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "Some.Release-%05d.R%02d", i, i % 100);
      // Every other file is listed in another letter case than on disk.
      std::string listed = name;
      if (i % 2) listed[0] = 's';
      writeFile(rel + "/" + name, "x");
      sfv += listed + " 0123ABCD\n";
    }
    writeFile(rel + "/release.sfv", sfv);
    const int rounds = files >= 10000 ? 5 : 50;
    auto start = std::chrono::steady_clock::now();
    unsigned int present = 0;
    for (int r = 0; r < rounds; ++r) {
      SFVStatus status{XString(rel.c_str())};
      present = status.presentCount();
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    if (present != static_cast<unsigned int>(files)) {
      std::fprintf(stderr, "only %u of %d present\n", present, files);
      return 1;
    }
    std::printf("%8d %12.3f %14.3f\n", files, seconds * 1e3, seconds * 1e6 / files);
  }
  return bench::dropScratchFolder(root) ? 0 : 1;
}
