// Times a sequential upload race through the server stand-in, as a site
// sees one: a fresh site, the SFV first, then the release's MP3 files one
// after the other, every hook of the cycle started for each (landguard, the
// CRC check, tallyglad, tallyfull for the last file, landfall). Releases of
// 100 and 1,000 files; the per-file time should barely grow with the
// release. The same race on a site with no hook registered gives the
// stand-in's own share.
//
//   race_bench [SIZES...]   (default: 100 1000)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/process.h"
#include "tools/ftpd-standin/util.h"

extern char** environ;

namespace {

const char* const kFixtures[] = {"mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3",
                                 "mpeg1_vbr_mono.mp3", "mpeg1_id3v2.mp3", "mpeg1_notag.mp3"};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Runs a program with its output into `outputFile`; its exit code, -1 when
// it did not end normally.
int run(const std::vector<std::string>& argv, const std::string& outputFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
  const std::string out = folder + ".out";
  if (run({standin, "init", folder, "--programs", bin}, out) != 0) return result;
  if (!hooks) spit(folder + "/server/raidenftpd.ftpd", "");
  const std::string rel = "/Bench_Band-Race-2024";
  if (run({standin, "mkdir", folder, rel, "--user", "racer0", "--group", "grp0"}, out) != 0) {
    return result;
  }
  auto start = std::chrono::steady_clock::now();
  if (run({standin, "upload", folder, local + "/release-" + std::to_string(files) + ".sfv", rel,
           "--user", "racer0", "--group", "grp0"},
          out) != 0) {
    return result;
  }
  for (int i = 0; i < files; ++i) {
    const std::string user = "racer" + std::to_string(i % 7);
    const std::string group = "grp" + std::to_string(i % 3);
    if (run({standin, "upload", folder, local + "/" + trackName(i), rel, "--user", user, "--group",
             group, "--speed", "1234.50"},
            out) != 0) {
      return result;
    }
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The last upload completed the release.
  result.ok = slurp(out).find("  release complete\n") != std::string::npos;
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
  // The sandboxes lie in memory when the machine has /dev/shm, so that the
  // figures tell what the programs cost and not what this machine's disk
  // does; BRINDLE_BENCH_DIR names another folder.
  const char* base = std::getenv("BRINDLE_BENCH_DIR");
  if (base == nullptr) base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string templ = std::string(base) + "/brindle-race-bench-XXXXXX";
  std::vector<char> pattern(templ.begin(), templ.end());
  pattern.push_back(0);
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const std::string top = pattern.data();
  const std::string local = top + "/local";
  mkdir(local.c_str(), 0755);

  // The files and one SFV per size, made once.
  int largest = 0;
  for (int n : sizes) largest = n > largest ? n : largest;
  std::vector<std::string> fixtures;
  std::vector<uint32_t> crcs;
  for (const char* name : kFixtures) {
    fixtures.push_back(slurp(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name));
    uint32_t crc = 0;
    ftpd::fileCrc32(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name, &crc);
    crcs.push_back(crc);
  }
  for (int i = 0; i < largest; ++i) spit(local + "/" + trackName(i), fixtures[i % 5]);
  for (int n : sizes) {
    std::string sfv = "; the bench release\n";
    for (int i = 0; i < n; ++i) {
      char crc[16];
      std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(crcs[i % 5]));
      sfv += trackName(i) + " " + crc + "\n";
    }
    spit(local + "/release-" + std::to_string(n) + ".sfv", sfv);
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

  if (std::getenv("BRINDLE_BENCH_KEEP") != nullptr) {
    std::printf("\nsites kept in %s\n", top.c_str());
    return allOk ? 0 : 1;
  }
  std::string command = "rm -rf '" + top + "'";
  if (std::system(command.c_str()) != 0) return 1;
  return allOk ? 0 : 1;
}
