// Times the MP3 reader against Debian's mp3info over 10,000 small files in
// 1,000 folders, each side in one process (mp3info in as few as xargs needs),
// and prints both times and their ratio.
//
//   mp3_bench [files]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "media/mp3_info.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 1000;
constexpr int kRounds = 3;

// lame's fixtures; mp3info reads no Layer I or II.
const char* const kFixtures[] = {
    "mpeg1_cbr_joint.mp3",   "mpeg1_cbr_stereo.mp3", "mpeg1_vbr_mono.mp3",  "mpeg1_id3v2.mp3",
    "mpeg1_notag.mp3",       "mpeg2_cbr_mono.mp3",   "mpeg2_vbr_joint.mp3", "mpeg2_cbr_dual.mp3",
    "mpeg25_cbr_stereo.mp3", "mpeg25_cbr_12k.mp3",   "mpeg25_vbr_mono.mp3",
};

using testing_support::readFile;
using testing_support::writeFile;

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  if (testing_support::onPath("mp3info").empty() || testing_support::onPath("xargs").empty()) {
    std::fprintf(stderr, "mp3_bench: needs mp3info and xargs on PATH\n");
    return 1;
  }

  std::vector<std::string> fixtures;
  for (const char* name : kFixtures) {
    fixtures.push_back(readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name));
    if (fixtures.back().size() < 256) {
      std::fprintf(stderr, "mp3_bench: cannot read fixture %s\n", name);
      return 1;
    }
  }

  std::error_code error;
  const std::string top = bench::makeScratchFolder("mp3-bench");
  if (top.empty()) return 1;
  const fs::path root(top);

  // Copies of the fixtures, each with its own title in the tag when it has
  // one, spread over the folders.
  std::vector<std::string> paths;
  std::string list;
  uint64_t bytes = 0;
  for (int i = 0; i < files; ++i) {
    fs::path folder = root / ("release" + std::to_string(i % kFolders));
    fs::create_directories(folder, error);
    std::string data = fixtures[i % fixtures.size()];
    size_t tag = data.size() - 128;
    if (data.compare(tag, 3, "TAG") == 0) {
      std::string title = "Track " + std::to_string(i);
      data.replace(tag + 3, title.size(), title);
    }
    std::string path = (folder / ("file" + std::to_string(i) + ".mp3")).string();
    writeFile(path, data);
    bytes += data.size();
    paths.push_back(path);
    list += path;
    list += '\0';
  }
  const std::string listPath = (root / "files.list").string();
  writeFile(listPath, list);
  const std::string outPath = (root / "mp3info.out").string();
  // xargs splits the list into as few command lines as the system allows.
  // mp3info ends with a non-zero code for a file without a tag, so its
  // output, one line a file, tells whether it read them all.
  const std::string command = "xargs -0 mp3info -r a -p '%Q %v %L %o %r|%a|%l|%y|%c|%G\\n' < '" +
                              listPath + "' > '" + outPath + "' 2> /dev/null";

  double ours = 1e9, theirs = 1e9;
  size_t checksum = 0;
  for (int round = 0; round < kRounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
      MP3Info info;
      info.read(path.c_str());
      checksum += info.bitrate.length() + info.sampleRate.length() + info.artist[0];
    }
    ours = std::min(ours, bench::secondsSince(start));

    start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    theirs = std::min(theirs, bench::secondsSince(start));
    std::string out = readFile(outPath);
    long lines = static_cast<long>(std::count(out.begin(), out.end(), '\n'));
    if (status == -1 || lines != files) {
      std::fprintf(stderr, "mp3_bench: mp3info gave %ld lines for %d files\n", lines, files);
      bench::dropScratchFolder(top);
      return 1;
    }
  }
  if (!bench::dropScratchFolder(top)) return 1;

  std::printf("files: %d in %d folders, %.1f KB each on average\n", files,
              std::min(files, kFolders), bytes / 1024.0 / files);
  std::printf("MP3Info::read:  %.3f s (%.2f us a file)\n", ours, ours * 1e6 / files);
  std::printf("mp3info:        %.3f s (%.2f us a file)\n", theirs, theirs * 1e6 / files);
  std::printf("ratio ours / mp3info: %.3f (best of %d rounds; checksum %zu)\n", ours / theirs,
              kRounds, checksum);
  return 0;
}
