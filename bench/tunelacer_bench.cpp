// Times the built link builder over 1,000, 2,000 and 4,000 release folders
// of one small MP3 file each, with varied tags and every kind of link on,
// against a floor: find over the same tree plus Debian's mp3info on the one
// MP3 file of each folder (in as few processes as xargs needs). A run also
// lists every link folder the last run made, to clear it of what it must
// not hold, so a second floor adds find over the link trees. Prints the
// times, the ratios and how the time grows when the folders double.
//
//   tunelacer_bench [folders...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/fs.h"
#include "settings/gconfig.h"
#include "settings/lconfig.h"
#include "tests/process_capture.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;

// lame's fixtures that mp3info reads (Layer III).
const char* const kFixtures[] = {
    "mpeg1_cbr_joint.mp3", "mpeg1_cbr_stereo.mp3", "mpeg1_vbr_mono.mp3",    "mpeg2_cbr_mono.mp3",
    "mpeg2_vbr_joint.mp3", "mpeg2_cbr_dual.mp3",   "mpeg25_cbr_stereo.mp3", "mpeg25_cbr_12k.mp3",
};

using testing_support::readFile;
using testing_support::writeFile;

// `text` in the 30-byte field at `at` of a 128-byte ID3v1 tag, NUL-padded.
void putField(std::string& data, size_t at, size_t width, const std::string& text) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  data.replace(at, width, field);
}

struct Tree {
  std::string install;
  std::string music;
  std::string links;
  std::string list;  // the MP3 files, NUL-separated, for xargs
};

// A site with `folders` releases below music/, the link roots below links/,
// a backup that maps both, and the settings that switch every kind on.
bool makeTree(const std::string& top, int folders, const std::vector<std::string>& fixtures,
              Tree* tree) {
  tree->install = top + "/install";
  tree->music = top + "/music";
  const std::string server = top + "/server";
  const std::string links = tree->links = top + "/links";
  for (const std::string& folder : {tree->install + "/data", tree->music, server, links}) {
    testing_support::makeDirs(folder);
  }
  for (int i = 0; i < folders; ++i) {
    // Artists, genres, years and groups repeat at different rates, so the
    // link trees hold folders of many sizes.
    const std::string artist = "Artist " + std::to_string(i % 97);
    const std::string group =
        i % 3 == 0 ? std::to_string(1990 + i % 30) : "GRP" + std::to_string(i % 7);
    const std::string name = (i % 11 == 0 ? "va-" : "") + artist.substr(7) + "_Band-Album_" +
                             std::to_string(i) + "-" + group;
    const std::string folder = tree->music + "/" + name;
    testing_support::makeDirs(folder);
    std::string data = fixtures[static_cast<size_t>(i) % fixtures.size()];
    const size_t tag = data.size() - 128;
    if (data.compare(tag, 3, "TAG") == 0) {
      putField(data, tag + 33, 30, artist);
      putField(data, tag + 93, 4, std::to_string(1980 + i % 40));
      data[tag + 127] = static_cast<char>(i % 148);
    }
    const std::string path = folder + "/01-track.mp3";
    writeFile(path, data);
    tree->list += path;
    tree->list += '\0';
  }
  writeFile(server + "/backup.vfs", links + "|/links|site|site|777|r|0|0|0|0|0|0|0|0|\r\n" +
                                        tree->music +
                                        "|/music|site|site|777|r|0|0|0|0|0|0|0|0|\r\n");

  GConfig global;
  global.setDefaults(0);
  global.vfsfile = XString(server + "/raidenftpd.vfs");
  global.vfsbackup = XString(server + "/backup.vfs");
  global.vfs_maxentrys = 8 * static_cast<unsigned int>(folders) + 16;
  LConfig linker;
  linker.setDefaults(0);
  linker.link_en = linker.link_listp = true;
  linker.link_artisten = linker.link_genreen = linker.link_groupen = true;
  linker.link_yearen = linker.link_dirnameen = linker.link_allinoneen = true;
  linker.link_show = false;
  linker.link_artistdir = XString(links + "/artist");
  linker.link_genredir = XString(links + "/genre");
  linker.link_groupdir = XString(links + "/group");
  linker.link_yeardir = XString(links + "/year");
  linker.link_dirnamedir = XString(links + "/dirname");
  linker.link_allinonedir = XString(links + "/allinone");
  linker.link_logfile = XString(top + "/tunelacer.log");
  linker.link_pathes.add(XString(tree->music));
  const std::string data = tree->install + "/data/";
  return global.save((data + "BCconfig.bcc").c_str()) &&
         linker.save((data + kLinkerConfigFile).c_str());
}

struct Figures {
  int folders;
  double ours;
  double find;
  double findLinks;  // find over the link trees
  double mp3info;

  double floor() const { return find + mp3info; }
  double floorWithLinks() const { return find + findLinks + mp3info; }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::max(1, std::atoi(argv[i])));
  if (sizes.empty()) sizes = {1000, 2000, 4000};
  if (testing_support::onPath("mp3info").empty() || testing_support::onPath("xargs").empty() ||
      testing_support::onPath("find").empty()) {
    std::fprintf(stderr, "tunelacer_bench: needs find, xargs and mp3info on PATH\n");
    return 1;
  }
  const std::string program = std::string(BRINDLE_BINARY_DIR) + "/bin/tunelacer";
  std::vector<std::string> fixtures;
  for (const char* name : kFixtures) {
    fixtures.push_back(readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/" + name));
  }

  const std::string top = bench::makeScratchFolder("tunelacer-bench");
  if (top.empty()) return 1;
  std::vector<Figures> results;
  for (int folders : sizes) {
    Tree tree;
    const std::string site = top + "/" + std::to_string(folders);
    if (!makeTree(site, folders, fixtures, &tree)) {
      std::fprintf(stderr, "tunelacer_bench: cannot write the settings\n");
      return 1;
    }
    const std::string listPath = site + "/files.list";
    writeFile(listPath, tree.list);
    const std::string find = "find '" + tree.music + "' > /dev/null";
    const std::string findLinks = "find '" + tree.links + "' > /dev/null";
    const std::string mp3info = "xargs -0 mp3info -p '%a|%g|%y\\n' < '" + listPath + "' > '" +
                                site + "/mp3info.out' 2> /dev/null";
    // The first run makes the link trees that each later run keeps.
    const std::vector<std::string> run = {program, tree.install + "/tunelacer"};
    auto firstStart = std::chrono::steady_clock::now();
    testing_support::CapturedRun first = testing_support::runCaptured(run);
    const double firstRun = bench::secondsSince(firstStart);
    if (first.exitCode != 0) {
      std::fprintf(stderr, "tunelacer_bench: tunelacer ended with %d\n", first.exitCode);
      return 1;
    }
    Figures f{folders, 1e9, 1e9, 1e9, 1e9};
    auto best = [](double* figure, const std::string& command) {
      auto start = std::chrono::steady_clock::now();
      int status = std::system(command.c_str());
      *figure = std::min(*figure, bench::secondsSince(start));
      return status != -1;
    };
    for (int round = 0; round < kRounds; ++round) {
      auto start = std::chrono::steady_clock::now();
      int code = testing_support::runCaptured(run).exitCode;
      f.ours = std::min(f.ours, bench::secondsSince(start));
      if (code != 0 || !best(&f.find, find) || !best(&f.findLinks, findLinks) ||
          !best(&f.mp3info, mp3info)) {
        std::fprintf(stderr, "tunelacer_bench: a run failed\n");
        return 1;
      }
    }
    const std::string out = readFile(site + "/mp3info.out");
    if (std::count(out.begin(), out.end(), '\n') != folders) {
      std::fprintf(stderr, "tunelacer_bench: mp3info did not read every file\n");
      return 1;
    }
    const std::string vfs = readFile(site + "/server/raidenftpd.vfs");
    const long entries = static_cast<long>(std::count(vfs.begin(), vfs.end(), '\n'));
    std::printf(
        "%5d folders: tunelacer %.3f s (%ld vfs entries; the first run, which makes the "
        "link trees, %.3f s)\n",
        folders, f.ours, entries, firstRun);
    std::printf("       floor %.3f s (find %.3f s + mp3info %.3f s): ratio %.2f\n", f.floor(),
                f.find, f.mp3info, f.ours / f.floor());
    std::printf("       with find over the link trees (%.3f s) %.3f s: ratio %.2f\n", f.findLinks,
                f.floorWithLinks(), f.ours / f.floorWithLinks());
    results.push_back(f);
  }
  for (size_t i = 1; i < results.size(); ++i) {
    const Figures& a = results[i - 1];
    const Figures& b = results[i];
    std::printf("%d -> %d folders: tunelacer x%.2f, floor x%.2f, with the link trees x%.2f\n",
                a.folders, b.folders, b.ours / a.ours, b.floor() / a.floor(),
                b.floorWithLinks() / a.floorWithLinks());
  }
  std::printf("(best of %d rounds each, after one run that makes the link trees)\n", kRounds);
  return bench::dropScratchFolder(top) ? 0 : 1;
}
