// Times a sequential upload race through the server stand-in, as a site
// sees one: a fresh site, the SFV first, then the release's MP3 files one
// after the other, every hook of the cycle started for each (landguard, the
// CRC check, tallyglad, tallyfull for the last file, landfall). Releases of
// 100 and 1,000 files; the per-file time should barely grow with the
// release. The same race on a site with no hook registered gives the
// stand-in's own share.
//
//   race_bench [SIZES...]   (default: 100 1000)
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/process.h"
#include "tests/process_capture.h"
#include "tests/test_support.h"
#include "tools/ftpd-standin/util.h"

namespace {

using testing_support::readFile;
using testing_support::writeFile;

const char* const kFixtures[] = {"mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3",
                                 "mpeg1_vbr_mono.mp3", "mpeg1_id3v2.mp3", "mpeg1_notag.mp3"};

// Runs a program, its output into `output`; its exit code, -1 when it did
// not end normally.
int run(const std::vector<std::string>& argv, std::string* output) {
  testing_support::CapturedRun result = testing_support::runCaptured(argv);
  *output = result.output;
  return result.exitCode;
}

std::string trackName(int i) {
  char name[64];
  std::snprintf(name, sizeof name, "%04d-bench_band-track.mp3", i + 1);
  return name;
}

struct RaceResult {
  bool ok = false;
  double seconds = 0;
};

// One race of `files` files on a fresh site in `folder`; with `hooks` off
// the site registers no hook.
RaceResult playRace(const std::string& bin, const std::string& local, const std::string& folder,
                    int files, bool hooks) {
  RaceResult result;
  const std::string standin = bin + "/ftpd-standin";
  std::string out;
  if (run({standin, "init", folder, "--programs", bin}, &out) != 0) return result;
  if (!hooks) writeFile(folder + "/server/raidenftpd.ftpd", "");
  const std::string rel = "/Bench_Band-Race-2024";
  if (run({standin, "mkdir", folder, rel, "--user", "racer0", "--group", "grp0"}, &out) != 0) {
    return result;
  }
  auto start = std::chrono::steady_clock::now();
  if (run({standin, "upload", folder, local + "/release-" + std::to_string(files) + ".sfv", rel,
           "--user", "racer0", "--group", "grp0"},
          &out) != 0) {
    return result;
  }
  for (int i = 0; i < files; ++i) {
    const std::string user = "racer" + std::to_string(i % 7);
    const std::string group = "grp" + std::to_string(i % 3);
    if (run({standin, "upload", folder, local + "/" + trackName(i), rel, "--user", user, "--group",
             group, "--speed", "1234.50"},
            &out) != 0) {
      return result;
    }
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The last upload completed the release.
  result.ok = out.find("  release complete\n") != std::string::npos;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100, 1000};
  const std::string bin = platform::executableFolder() + "/../bin";
  if (access((bin + "/ftpd-standin").c_str(), X_OK) != 0) {
    std::fprintf(stderr, "race_bench: no %s/ftpd-standin; build the programs first\n", bin.c_str());
    return 1;
  }
  const std::string top = bench::makeScratchFolder("race-bench");
  if (top.empty()) return 1;
  const std::string local = top + "/local";
  mkdir(local.c_str(), 0755);

  // The files and one SFV per size, made once.
  int largest = 0;
  for (int n : sizes) largest = n > largest ? n : largest;
  std::vector<std::string> fixtures;
  std::vector<uint32_t> crcs;
  for (const char* name : kFixtures) {
    fixtures.push_back(readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name));
    uint32_t crc = 0;
    ftpd::fileCrc32(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name, &crc);
    crcs.push_back(crc);
  }
  for (int i = 0; i < largest; ++i) writeFile(local + "/" + trackName(i), fixtures[i % 5]);
  for (int n : sizes) {
    std::string sfv = "; the bench release\n";
    for (int i = 0; i < n; ++i) sfv += trackName(i) + " " + ftpd::crc32Text(crcs[i % 5]) + "\n";
    writeFile(local + "/release-" + std::to_string(n) + ".sfv", sfv);
  }

  std::printf("%-26s %7s %10s %12s\n", "race", "files", "total s", "ms per file");
  std::vector<double> full;
  std::vector<double> own;
  bool allOk = true;
  for (int n : sizes) {
    for (bool hooks : {true, false}) {
      RaceResult r = playRace(bin, local,
                              top + "/site-" + std::to_string(n) + (hooks ? "" : "-own"), n, hooks);
      allOk = allOk && r.ok;
      const double perFile = r.seconds / n;
      (hooks ? full : own).push_back(perFile);
      std::printf("%-26s %7d %10.2f %12.3f%s\n", hooks ? "full cycle" : "stand-in only (no hooks)",
                  n, r.seconds, perFile * 1e3, r.ok ? "" : "  (the race did not complete!)");
    }
  }
  std::printf("\n");
  for (size_t i = 0; i < sizes.size(); ++i) {
    std::printf("%d files: the stand-in's own share %.0f%%\n", sizes[i],
                full[i] > 0 ? 100.0 * own[i] / full[i] : 0.0);
  }
  if (sizes.size() >= 2) {
    const size_t last = sizes.size() - 1;
    std::printf(
        "per file, %d files / %d files: full cycle %.2f (goal: at most 1.5), "
        "stand-in only %.2f\n",
        sizes[last], sizes[0], full[last] / full[0], own[last] / own[0]);
  }

  if (!bench::dropScratchFolder(top)) return 1;
  return allOk ? 0 : 1;
}
