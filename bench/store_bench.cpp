// Times a run's use of the server's files: the vfs file loaded, one entry
// added and saved (1,000, 10,000 and 100,000 lines), and the user file loaded,
// one user's credits changed and saved (1,000 and 10,000 users). Each is set
// against the floor of copying the same file (reading it and writing the same
// bytes in the same folder). Goals: at most 3 times the floor at the largest
// size, and 10 times the lines in at most 11 times the time.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "serverfiles/server_file.h"
#include "serverfiles/userfile.h"
#include "serverfiles/vfs_file.h"

namespace {

using Clock = std::chrono::steady_clock;

bool writeText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

// The floor: read the file whole, write the same bytes beside it, and flush
// them to disk when the stores' saves do.
bool copyFile(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (in == nullptr) return false;
  std::string bytes;
  char chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.append(chunk, got);
  std::fclose(in);
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  ok = std::fflush(out) == 0 && ok;
  // The saves are flushed to the disk: the floor's copy is too.
  ok = fsync(fileno(out)) == 0 && ok;
  return std::fclose(out) == 0 && ok;
}

double medianMs(int rounds, const std::function<bool()>& run) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    auto start = Clock::now();
    if (!run()) {
      std::fprintf(stderr, "a round failed\n");
      std::exit(1);
    }
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string vfsText(int lines) { return bench::releaseVfsLines("/site/mp3", 0, lines); }

struct Row {
  const char* store;
  int size;
  double ms;
  double floorMs;
};

// Growth is the time over that of the size ten times smaller, for the store
// and for its floor.
void printRows(const char* where, const std::vector<Row>& rows) {
  std::printf("%s\n", where);
  std::printf("  %-6s %8s %10s %10s %8s %8s %8s\n", "store", "lines", "ms", "floor ms", "x floor",
              "growth", "floor gr");
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& r = rows[i];
    char growth[32] = "";
    char floorGrowth[32] = "";
    if (i > 0 && rows[i - 1].store == r.store) {
      std::snprintf(growth, sizeof growth, "%.2f", r.ms / rows[i - 1].ms);
      std::snprintf(floorGrowth, sizeof floorGrowth, "%.2f", r.floorMs / rows[i - 1].floorMs);
    }
    std::printf("  %-6s %8d %10.3f %10.3f %8.2f %8s %8s\n", r.store, r.size, r.ms, r.floorMs,
                r.ms / r.floorMs, growth, floorGrowth);
  }
}

bool benchIn(const std::string& base, const char* where) {
  std::string pattern = base + "/store-bench-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) return false;
  const std::string folder = pattern;
  const std::string path = folder + "/store.txt";
  const std::string copy = folder + "/copy.txt";
  std::vector<Row> rows;

  for (int lines : {1000, 10000, 100000}) {
    const std::string text = vfsText(lines);
    if (!writeText(path, text)) return false;
    int rounds = lines >= 100000 ? 9 : 21;
    double ms = medianMs(rounds, [&] {
      VFSfile vfs(path.c_str(), lines + rounds + 1);
      return vfs.addEntry("/site/links/x", "/links/x", "siteop", "music", "777", 'r', 0, 0, 0,
                          false, false, false, false, false) &&
             vfs.save(path.c_str()) == 1;
    });
    if (!writeText(path, text)) return false;
    double floor = medianMs(rounds, [&] { return copyFile(path, copy); });
    rows.push_back({"vfs", lines, ms, floor});
  }
  for (int users : {1000, 10000}) {
    const std::string text = bench::userFileText(users);
    if (!writeText(path, text)) return false;
    int rounds = 21;
    double ms = medianMs(rounds, [&] {
      Userfile file(path.c_str());
      UserfileEntry* user = file.entry(static_cast<unsigned int>(users / 2));
      if (!file.ok || user == nullptr) return false;
      user->credits += 50 * kCreditUnit;
      return file.save(path.c_str());
    });
    double floor = medianMs(rounds, [&] { return copyFile(path, copy); });
    rows.push_back({"users", users, ms, floor});
  }
  printRows(where, rows);
  std::remove(path.c_str());
  std::remove(copy.c_str());
  rmdir(folder.c_str());
  return true;
}

}  // namespace

int main() {
  std::printf("medians; saves and the floor's copy are flushed to the disk\n");
  if (!benchIn(".", "disk (a folder under the working folder)")) {
    std::fprintf(stderr, "cannot work in the working folder\n");
    return 1;
  }
  if (access("/dev/shm", W_OK) == 0) benchIn("/dev/shm", "tmpfs (/dev/shm)");
  return 0;
}
