// Times what a hook does with a release's race file when an uploader has
// planted one with the most entries a list may hold: load it, sort both
// lists by files, by size and by speed, and render the statistics text
// through the default module templates. The keys grow along the lists, so
// every sort meets its worst case: the head-pivot sort takes one entry off
// per pass. Lists at the cap and at a tenth of it; the race file in a folder
// under the working folder (on the disk) and in /dev/shm beside it.
//
//   racer_bench [ENTRIES...]   (default: the cap and a tenth of it)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "race/racer.h"
#include "settings/mconfig.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A race whose entry i has i + 1 files, i + 1 KB and an average speed of
// about i + 1, in both lists.
void fillRace(Racer& race, unsigned int entries) {
  race.mySfv = "release.sfv";
  for (RacerList* list : {&race.users, &race.groups}) {
    for (unsigned int i = 0; i < entries; ++i) {
      XString name(("racer" + std::to_string(i)).c_str());
      RacerListEntry* e = list->add(name, XString("grp"));
      e->filesCount = i + 1;
      e->kb = i + 1;
      e->sfvFiles = i + 1;
      e->sfvKb = i + 1;
      e->speedSum = static_cast<float>(i + 1) * static_cast<float>(i + 1);
      race.allFiles += e->filesCount;
      race.allKb += e->kb;
    }
  }
  race.sfvListedFiles = race.sfvUploadedFiles = race.allFiles;
  race.sfvListedKb = race.sfvUploadedKb = race.allKb;
}

struct Times {
  double load = 0, sorts = 0, stats = 0;
  double total() const { return load + sorts + stats; }
};

// One hook's work on the race file in `folder`; false when a step failed.
bool timeOnce(const std::string& folder, const RacerSettings& settings, unsigned int entries,
              Times* times) {
  Racer race(&settings);
  Clock::time_point start = Clock::now();
  if (!race.load(XString((folder + "/racer.sav").c_str()))) return false;
  times->load = secondsSince(start);
  if (race.users.count != entries || race.groups.count != entries) return false;
  start = Clock::now();
  for (RacerList* list : {&race.users, &race.groups}) {
    list->sortByFiles();
    list->sortBySize();
    list->sortBySpeed();
  }
  times->sorts = secondsSince(start);
  start = Clock::now();
  bool written = race.writeStats(XString((folder + "/.message").c_str()), false);
  times->stats = secondsSince(start);
  return written;
}

// The best of a few rounds, so that a stray pause on the machine does not
// count.
bool bench(const std::string& where, const std::string& folder, const RacerSettings& settings,
           unsigned int entries) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  if (!fs::create_directories(folder, ignored)) {
    std::printf("%-8s cannot make %s\n", where.c_str(), folder.c_str());
    return false;
  }
  Racer planted(&settings);
  fillRace(planted, entries);
  bool ok = planted.save(XString((folder + "/racer.sav").c_str()));
  Times best;
  for (int round = 0; ok && round < kRounds; ++round) {
    Times now;
    ok = timeOnce(folder, settings, entries, &now);
    if (round == 0 || now.total() < best.total()) best = now;
  }
  if (ok) {
    std::printf(
        "%-8s %7u entries a list, %9ju bytes: load %8.2f ms, sorts %8.2f ms, "
        "text %7.2f ms, total %8.2f ms\n",
        where.c_str(), entries,
        static_cast<uintmax_t>(fs::file_size(folder + "/racer.sav", ignored)), best.load * 1e3,
        best.sorts * 1e3, best.stats * 1e3, best.total() * 1e3);
  } else {
    std::printf("%-8s %7u entries a list: a step failed\n", where.c_str(), entries);
  }
  fs::remove_all(folder, ignored);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<unsigned int> sizes;
  for (int i = 1; i < argc; ++i) {
    sizes.push_back(static_cast<unsigned int>(std::strtoul(argv[i], nullptr, 10)));
  }
  if (sizes.empty()) sizes = {kMaxRacerEntries / 10, kMaxRacerEntries};

  MConfig module;
  module.setDefaults(0);
  const std::string name = "racer-bench-" + std::to_string(getpid());
  const std::string disk = (fs::current_path() / name).string();
  const std::string shm = "/dev/shm/" + name;
  std::printf("load, three sorts of both lists and the statistics text (best of %d); cap %u\n",
              kRounds, kMaxRacerEntries);
  bool ok = true;
  for (unsigned int entries : sizes) {
    ok = bench("disk", disk, module.racer, entries) && ok;
    if (fs::is_directory("/dev/shm")) ok = bench("/dev/shm", shm, module.racer, entries) && ok;
  }
  return ok ? 0 : 1;
}
