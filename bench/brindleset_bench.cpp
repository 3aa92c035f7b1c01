// Times the configuration utility from its start to its window shown and
// saved, on Qt's screenless platform, with the default settings and with
// 200 modules, against the floor of a Qt program that shows one empty
// window of the same size. Beside the time it took, the processor time the
// program used: the saves wait for the disk, which other work on the
// machine can hold up.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/process.h"
#include "settings/module_index.h"
#include "tests/test_support.h"

namespace {

const std::string kBench = std::string(BRINDLE_BINARY_DIR) + "/bench/";

// The median of the rounds: a round that another process on the machine
// slowed down does not move it.
double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
}

struct Timing {
  double seconds = 0;
  double cpuSeconds = 0;
  int failures = 0;
};

// User and system time of the programs waited for so far.
double childrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing timeProgram(const std::vector<std::string>& argv, int rounds) {
  Timing t;
  std::vector<double> times;
  std::vector<double> cpu;
  for (int r = 0; r < rounds; ++r) {
    double cpuBefore = childrenCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    if (platform::runAndWait(argv, 60) != 0) ++t.failures;
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    cpu.push_back(childrenCpuSeconds() - cpuBefore);
  }
  t.seconds = median(times);
  t.cpuSeconds = median(cpu);
  return t;
}

// An install folder whose index lists `modules` modules besides the
// default one; the settings files are written by a first, untimed run.
std::string makeInstall(const std::string& top, int modules) {
  std::string install = top + "/install" + std::to_string(modules);
  testing_support::makeDirs(install + "/data");
  std::string indexPath = install + "/data/ModuleIndex.idx";
  ModuleIndex<MConfig> index(indexPath.c_str());
  index.ensureDefault();
  for (int i = 0; i < modules; ++i) {
    std::string n = std::to_string(i);
    index.add(XString(("module" + n + ".bcm").c_str()), XString(("/section" + n + "/").c_str()),
              XString(("section" + n).c_str()), XString(("the releases of section " + n).c_str()),
              0);
  }
  if (!index.save(indexPath.c_str())) std::abort();
  if (platform::runAndWait({kBench + "brindleset_start", install}, 60) != 0) std::abort();
  return install;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string top = bench::makeScratchFolder("brindleset-bench");
  if (top.empty()) return 1;

  Timing floor = timeProgram({kBench + "empty_window"}, rounds);
  std::printf(
      "floor (a Qt program showing one empty 738 x 550 window): %.1f ms, %.1f ms processor "
      "(medians of %d rounds)\n\n",
      floor.seconds * 1e3, floor.cpuSeconds * 1e3, rounds);
  std::printf("%-40s %8s %8s %10s %8s\n", "brindleset, start, window shown, save", "ms", "x floor",
              "cpu ms", "x floor");
  int failures = floor.failures;
  for (int modules : {0, 200}) {
    std::string install = makeInstall(top, modules);
    Timing t = timeProgram({kBench + "brindleset_start", install}, rounds);
    failures += t.failures;
    std::string label = modules == 0 ? "default settings" : std::to_string(modules) + " modules";
    std::printf("%-40s %8.1f %8.2f %10.1f %8.2f\n", label.c_str(), t.seconds * 1e3,
                t.seconds / floor.seconds, t.cpuSeconds * 1e3, t.cpuSeconds / floor.cpuSeconds);
  }
  if (failures > 0) std::printf("\n%d runs failed\n", failures);
  return bench::dropScratchFolder(top) && failures == 0 ? 0 : 1;
}
