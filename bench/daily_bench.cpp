// Times the two daily programs as the scheduler starts them: dawnroll with a
// vfs file of 8,192 lines (the default entry limit) and of 100,000 lines,
// creditdole with a user file of 1,000 and of 10,000 users who all get
// credits. Each is set against the floor of starting a program that does
// nothing plus copying the same file (reading it and writing the same bytes
// beside it, flushed to the disk as the programs' saves are). dawnroll also
// starts the chmod program (here one that only counts its starts) for the
// day folder and yesterday's; those starts are shown, and a second floor
// counts them in. Goals: at most 3 times the floor; the time grows no faster
// than the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/process.h"
#include "settings/gconfig.h"
#include "stores/date_time.h"
#include "tests/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::readFile;
using testing_support::writeFile;

const std::string kBin = std::string(BRINDLE_BINARY_DIR) + "/bin/";
const std::string kBench = std::string(BRINDLE_BINARY_DIR) + "/bench/";

double medianMs(int rounds, const std::function<void()>& before, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    before();
    auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void copyProgram(const std::string& from, const std::string& to) {
  writeFile(to, readFile(from));
  chmod(to.c_str(), 0755);
}

// The floor's copy: read the file whole, write the bytes beside it and flush
// them to the disk.
void copyFile(const std::string& from, const std::string& to) {
  std::string bytes = readFile(from);
  int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      fsync(fd) != 0 || close(fd) != 0) {
    std::fprintf(stderr, "cannot copy %s\n", from.c_str());
    std::exit(1);
  }
}

void runProgram(const std::string& path, int expected = 0) {
  int code = platform::runAndWait({path}, 120);
  if (code != expected) {
    std::fprintf(stderr, "%s ended with %d\n", path.c_str(), code);
    std::exit(1);
  }
}

// An install folder with the two programs, the counting chmod program, and
// global settings with the new day on for a site below `root`/site.
struct Install {
  explicit Install(const std::string& folder) : root(folder) {
    install = root + "/install";
    site = root + "/site";
    for (const std::string& d : {root, install, install + "/data", site, site + "/daily"}) {
      mkdir(d.c_str(), 0755);
    }
    copyProgram(kBin + "dawnroll", install + "/dawnroll");
    copyProgram(kBin + "creditdole", install + "/creditdole");
    copyProgram(kBench + "count_chmod", install + "/chmod");
    global.setDefaults(0);
    global.vfsfile = XString(root + "/server.vfs");
    global.userfile = XString(root + "/server.usr");
    global.nd.en = true;
    global.nd.today = true;
    global.nd.yesterday = true;
    global.nd.format = "%Y%o%d";
    global.nd.path = XString(site + "/daily");
    global.nd.todaylink = XString(site + "/today");
    global.nd.yesterdaylink = XString(site + "/yesterday");
  }

  void saveSettings() {
    if (!global.save((install + "/data/BCconfig.bcc").c_str())) std::exit(1);
  }

  int chmodStarts() const {
    struct stat st;
    return stat((install + "/chmod.count").c_str(), &st) == 0 ? static_cast<int>(st.st_size) : 0;
  }

  std::string root, install, site;
  GConfig global;
};

// The server's lines: the site's root, then one entry per release.
std::string vfsText(const std::string& site, int lines) {
  return site + "|/|site|site|777|r|0|0|0|0|0|0|0|0|\r\n" +
         bench::releaseVfsLines("/srv/mp3", 1, lines - 1);
}

struct Row {
  const char* program;
  int size;
  double ms;
  double chmods;
  double floorMs;
  double floorWithChmodMs;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const std::string top = bench::makeScratchFolder("daily-bench");
  if (top.empty()) return 1;
  const std::string noop = kBench + "noop";
  const double startMs = medianMs(
      rounds * 3, [] {}, [&] { runProgram(noop); });
  std::printf("floor of a start (a program that does nothing): %.3f ms (medians of %d rounds)\n\n",
              startMs, rounds);

  std::vector<Row> rows;
  std::vector<double> ranMs;
  for (int lines : {8192, 100000}) {
    Install box(top + "/dawnroll" + std::to_string(lines));
    // The file fills the entry limit: the two links replace two old ones.
    box.global.vfs_maxentrys = static_cast<unsigned int>(lines);
    box.saveSettings();
    writeFile(box.global.vfsfile.str(), vfsText(box.site, lines - 2));
    const std::string program = box.install + "/dawnroll";
    runProgram(program);  // the links are in; from here on each run replaces them
    // Yesterday's folder is there and gets its owner too.
    Date yesterday;
    yesterday.setNow();
    yesterday.stepBackOneDay();
    char name[32];
    std::snprintf(name, sizeof name, "/daily/%04d%02d%02d", static_cast<int>(yesterday.year),
                  yesterday.month, yesterday.day);
    mkdir((box.site + name).c_str(), 0755);
    const int chmodsBefore = box.chmodStarts();
    const double ms = medianMs(
        rounds, [] {}, [&] { runProgram(program); });
    const double chmods = static_cast<double>(box.chmodStarts() - chmodsBefore) / rounds;
    const std::string copy = box.root + "/copy.vfs";
    const double copyMs = medianMs(
        rounds, [] {}, [&] { copyFile(box.global.vfsfile.str(), copy); });
    rows.push_back(
        {"dawnroll", lines, ms, chmods, startMs + copyMs, startMs * (1 + chmods) + copyMs});
  }
  for (int users : {1000, 10000}) {
    Install box(top + "/creditdole" + std::to_string(users));
    for (int i = 0; i < users; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "user%05d", i);
      User allot{XString(name), XString(), XString()};
      allot.when = 0;  // daily
      allot.mode = 1;  // add
      allot.number = 5;
      box.global.al.add(allot);
    }
    box.saveSettings();
    writeFile(box.global.userfile.str(), bench::userFileText(users));
    const std::string program = box.install + "/creditdole";
    const std::string lastAllot = box.install + "/data/lastallot.sav";
    // Every round is the day's first.
    const double ms = medianMs(
        rounds, [&] { unlink(lastAllot.c_str()); }, [&] { runProgram(program); });
    const std::string copy = box.root + "/copy.usr";
    const double copyMs = medianMs(
        rounds, [] {}, [&] { copyFile(box.global.userfile.str(), copy); });
    rows.push_back({"creditdole", users, ms, 0, startMs + copyMs, startMs + copyMs});
    // What a start costs that finds the day done: the settings with every
    // allotment read, nothing written.
    ranMs.push_back(medianMs(
        rounds, [] {}, [&] { runProgram(program, 1); }));
  }

  std::printf("%-10s %8s %9s %7s %9s %8s %12s %8s %8s\n", "program", "lines", "ms", "chmods",
              "floor ms", "x floor", "x floor+chm", "growth", "floor gr");
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    char growth[16] = "";
    char floorGrowth[16] = "";
    if (i % 2 == 1) {
      std::snprintf(growth, sizeof growth, "%.2f", r.ms / rows[i - 1].ms);
      std::snprintf(floorGrowth, sizeof floorGrowth, "%.2f", r.floorMs / rows[i - 1].floorMs);
    }
    std::printf("%-10s %8d %9.3f %7.1f %9.3f %8.2f %12.2f %8s %8s\n", r.program, r.size, r.ms,
                r.chmods, r.floorMs, r.ms / r.floorMs, r.ms / r.floorWithChmodMs, growth,
                floorGrowth);
  }
  std::printf(
      "\ncreditdole started again the same day (exit 1): %.3f ms with 1,000 users, %.3f ms "
      "with 10,000\n",
      ranMs[0], ranMs[1]);
  std::printf(
      "\ngrowth: the time over that of the smaller file (%.1f times the lines for "
      "dawnroll, 10 times the users for creditdole)\n",
      100000.0 / 8192.0);
  return bench::dropScratchFolder(top) ? 0 : 1;
}
