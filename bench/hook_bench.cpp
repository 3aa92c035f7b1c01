// Times the hooks as the server starts them: one event into releases of 10,
// 100 and 1,000 listed files with as many earlier uploads recorded, and one
// new folder entered in new-directory lists of 20, 1,000 and 10,000 entries
// (the "files" column), against the floor of starting and waiting for a
// program that does nothing, built the same way. The install folder's chmod
// program does nothing either but count its starts.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/process.h"
#include "race/racer.h"
#include "settings/gconfig.h"
#include "settings/module_index.h"
#include "stores/board.h"
#include "tests/test_support.h"

namespace {

const std::string kBin = std::string(BRINDLE_BINARY_DIR) + "/bin/";
const std::string kBench = std::string(BRINDLE_BINARY_DIR) + "/bench/";

using testing_support::readFile;
using testing_support::writeFile;

void copyProgram(const std::string& from, const std::string& to) {
  writeFile(to, readFile(from));
  chmod(to.c_str(), 0755);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One sandbox install with a release of `files` listed files, all but the
// last present and recorded as earlier uploads in racer.sav.
struct Sandbox {
  Sandbox(const std::string& folder, int fileCount) : root(folder), files(fileCount) {
    install = root + "/install";
    rel = root + "/site/Rel";
    for (const std::string& d : {root, install, install + "/data", root + "/server",
                                 root + "/server/output", root + "/site", rel}) {
      mkdir(d.c_str(), 0755);
    }
    for (const char* hook : {"landfall", "landguard", "tallyglad", "tallyfull"}) {
      if (access((kBin + hook).c_str(), X_OK) == 0) copyProgram(kBin + hook, install + "/" + hook);
    }
    copyProgram(kBench + "count_chmod", install + "/chmod");
    if (chdir((install + "/data").c_str()) != 0) std::abort();
    GConfig global;
    global.setDefaults(0);
    global.raidenftpd = root + "/server/raidenftpd";
    if (!global.save("BCconfig.bcc")) std::abort();
    ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"),
                               XString(""), 0);
    index.ensureDefault();
    // The defaults, with the rules that read the release's SFV switched on.
    MConfig* c = index.at(0)->config();
    c->sfv_force = true;
    c->sfv_insfv = true;
    c->m3u_create = true;
    if (!index.save("ModuleIndex.idx")) std::abort();

    std::string mp3 =
        readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/mpeg1_cbr_joint.mp3");
    std::string sfv;
    RacerSettings settings;
    Racer race(&settings);
    for (int i = 0; i < files; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "%04d-artist-title.mp3", i);
      sfv += std::string(name) + " 0123ABCD\n";
      if (i + 1 == files) {
        last = name;
        continue;
      }
      writeFile(rel + "/" + name, mp3);
      race.addUpload(XString((rel + "/" + name).c_str()),
                     XString(("/Rel/" + std::string(name)).c_str()),
                     XString(("user" + std::to_string(i % 7)).c_str()),
                     XString(("group" + std::to_string(i % 3)).c_str()), 5, 1000.0f + i);
    }
    writeFile(rel + "/release.sfv", sfv);
    race.rescanSfv(XString((rel + "/release.sfv").c_str()));
    if (!race.save(XString((rel + "/racer.sav").c_str()))) std::abort();
    racerBytes = readFile(rel + "/racer.sav");
    writeFile(rel + "/" + last, mp3);
  }

  int chmodStarts() const {
    struct stat st;
    return stat((install + "/chmod.count").c_str(), &st) == 0 ? static_cast<int>(st.st_size) : 0;
  }

  std::string line(const std::string& hook, const std::string& fields) const {
    return install + "/" + hook + fields;
  }

  std::string root, install, rel, last, racerBytes;
  int files;
};

struct Timing {
  double seconds = 0;
  double chmods = 0;
};

// The median of the rounds: a round that another process on the machine
// slowed down does not move it.
double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
}

Timing timeHook(Sandbox& box, const std::string& hook, const std::string& text, int rounds) {
  Timing t;
  std::vector<double> times;
  int before = box.chmodStarts();
  for (int r = 0; r < rounds; ++r) {
    // The same race and a fresh memo every round.
    writeFile(box.rel + "/racer.sav", box.racerBytes);
    unlink((box.install + "/data/Status.sav").c_str());
    auto start = std::chrono::steady_clock::now();
    platform::runAndWait({box.install + "/" + hook, text}, 60);
    times.push_back(secondsSince(start));
  }
  t.seconds = median(times);
  t.chmods = static_cast<double>(box.chmodStarts() - before) / rounds;
  return t;
}

double floorSeconds(int rounds) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    platform::runAndWait({kBench + "noop", "x??-??y"}, 60);
    times.push_back(secondsSince(start));
  }
  return median(times);
}

// One new folder asked of foldbirth on a site whose new-directory list
// holds `entries` entries (its limit raised to that when above the default)
// and is shown in a text file: the list is full, so the new folder drops the
// oldest entry, as on a busy site.
struct NewDirSandbox {
  NewDirSandbox(const std::string& folder, unsigned int entries) : root(folder) {
    install = root + "/install";
    for (const std::string& d : {root, install, install + "/data", root + "/server",
                                 root + "/server/output", root + "/site"}) {
      mkdir(d.c_str(), 0755);
    }
    copyProgram(kBin + "foldbirth", install + "/foldbirth");
    copyProgram(kBench + "count_chmod", install + "/chmod");
    if (chdir((install + "/data").c_str()) != 0) std::abort();
    GConfig global;
    global.setDefaults(0);
    global.raidenftpd = root + "/server/raidenftpd";
    global.ndl.file = "newdirlist.txt";
    if (entries > global.ndl.maxentrys) global.ndl.maxentrys = entries;
    if (!global.save("BCconfig.bcc")) std::abort();
    ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"),
                               XString(""), 0);
    index.ensureDefault();
    index.at(0)->config();
    if (!index.save("ModuleIndex.idx")) std::abort();

    Board list(global.ndl);
    for (unsigned int i = 0; i < entries; ++i) {
      char path[64];
      std::snprintf(path, sizeof path, "/Artist-Release_%05u-2024", i);
      if (list.prepend(XString(path), XString(("user" + std::to_string(i % 7)).c_str())) < 0) {
        std::abort();
      }
    }
    if (list.save(Board::kNewDirListFile) != 1) std::abort();
    storeBytes = readFile(install + "/data/" + Board::kNewDirListFile);
  }

  // The median time of `rounds` new folders, each into the same full list,
  // and the chmod runs per folder.
  Timing time(int rounds) {
    Timing t;
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
      writeFile(install + "/data/" + Board::kNewDirListFile, storeBytes);
      std::string name = "New_Folder-" + std::to_string(r);
      std::string physical = root + "/site/" + name;
      mkdir(physical.c_str(), 0755);
      std::string text =
          install + "/foldbirth??-??1??-??" + physical + "??-??/" + name + "??-??grp??-??usr";
      auto start = std::chrono::steady_clock::now();
      platform::runAndWait({install + "/foldbirth", text}, 60);
      times.push_back(secondsSince(start));
    }
    struct stat st;
    int chmods =
        stat((install + "/chmod.count").c_str(), &st) == 0 ? static_cast<int>(st.st_size) : 0;
    t.seconds = median(times);
    t.chmods = static_cast<double>(chmods) / rounds;
    return t;
  }

  std::string root, install, storeBytes;
};

// foldbirth with lists of the default 20, 1,000 and 10,000 entries.
void benchNewDirs(const std::string& top, double floor, int rounds,
                  std::vector<std::string>* ratios) {
  if (access((kBin + "foldbirth").c_str(), X_OK) != 0) return;
  double at1000 = 0;
  for (unsigned int entries : {20u, 1000u, 10000u}) {
    NewDirSandbox box(top + "/foldbirth" + std::to_string(entries), entries);
    Timing t = box.time(rounds);
    const double seconds = t.seconds;
    std::printf("%-28s %7u %10.3f %8.1f %8.2f\n", "foldbirth, one new folder", entries,
                seconds * 1e3, t.chmods, seconds / floor);
    if (entries == 20) {
      char line[128];
      std::snprintf(line, sizeof line, "%-10s 20 entries (the default) / floor: %.2f", "foldbirth",
                    seconds / floor);
      ratios->push_back(line);
    }
    if (entries == 1000) at1000 = seconds;
    if (entries == 10000) {
      char line[128];
      std::snprintf(line, sizeof line, "%-10s 10,000 entries / 1,000 entries: %.2f", "foldbirth",
                    seconds / at1000);
      ratios->push_back(line);
    }
  }
}

// The site command hook in an install of its own: a message board and a
// new-directory list of `entries` entries each (the limits raised to hold
// them), and a release of `files` listed files, all but the last present.
struct SiteBox {
  SiteBox(const std::string& folder, unsigned int entries, int files) : root(folder) {
    install = root + "/install";
    rel = root + "/site/Rel";
    for (const std::string& d : {root, install, install + "/data", root + "/server",
                                 root + "/server/output", root + "/site", rel}) {
      mkdir(d.c_str(), 0755);
    }
    copyProgram(kBin + "quipgate", install + "/quipgate");
    copyProgram(kBench + "count_chmod", install + "/chmod");
    if (chdir((install + "/data").c_str()) != 0) std::abort();
    GConfig global;
    global.setDefaults(0);
    global.raidenftpd = root + "/server/raidenftpd";
    global.mb.maxentrys = entries;
    global.ndl.maxentrys = entries;
    if (!global.save("BCconfig.bcc")) std::abort();
    ModuleIndex<MConfig> index(XString("default.bcm"), XString("/"), XString("default"),
                               XString(""), 0);
    index.ensureDefault();
    index.at(0)->config();
    if (!index.save("ModuleIndex.idx")) std::abort();

    Board board(global.mb);
    Board list(global.ndl);
    for (unsigned int i = 0; i < entries; ++i) {
      std::string n = std::to_string(i);
      if (board.add(XString("message number " + n + " about a release"), XString("user" + n)) < 0 ||
          list.prepend(XString("/mp3/Artist-Album_" + n + "-2024"), XString("user" + n)) < 0) {
        std::abort();
      }
    }
    if (board.save(Board::kMessageBoardFile) != 1 || list.save(Board::kNewDirListFile) != 1) {
      std::abort();
    }

    std::string mp3 =
        readFile(std::string(BRINDLE_SOURCE_DIR) + "/media/testdata/mpeg1_cbr_joint.mp3");
    std::string sfv;
    for (int i = 0; i < files; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "%04d-artist-title.mp3", i);
      sfv += std::string(name) + " 0123ABCD\n";
      if (i + 1 < files) writeFile(rel + "/" + name, mp3);
    }
    writeFile(rel + "/release.sfv", sfv);
  }

  // The command line of a SITE command typed in the release folder.
  std::string line(const std::string& text) const {
    return install + "/quipgate??-??" + rel + "/??-??/Rel??-??grp??-??usr??-??2??-??1??-??" + text;
  }
  int chmodStarts() const {
    struct stat st;
    return stat((install + "/chmod.count").c_str(), &st) == 0 ? static_cast<int>(st.st_size) : 0;
  }

  std::string root, install, rel;
};

Timing timeSiteCommand(SiteBox& box, const std::string& text, int rounds) {
  Timing t;
  std::vector<double> times;
  int before = box.chmodStarts();
  const std::string keyword = text.substr(0, text.find(' '));
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    platform::runAndWait({box.install + "/quipgate", box.line(text)}, 60);
    times.push_back(secondsSince(start));
    unlink((box.root + "/server/output/site-" + keyword + ".1").c_str());
  }
  t.seconds = median(times);
  t.chmods = static_cast<double>(box.chmodStarts() - before) / rounds;
  return t;
}

// "board" and "new" with 20 (the default limit), 1,000 and 10,000 stored
// entries; "rescan" of an incomplete release of 100 and 1,000 files. Each
// ratio compares the time beyond the floor at ten times the size.
void benchSiteCommands(const std::string& top, double floor, int rounds,
                       std::vector<std::string>* ratios) {
  if (access((kBin + "quipgate").c_str(), X_OK) != 0) return;
  struct Run {
    const char* label;
    const char* text;
    unsigned int entries;
    int files;
  };
  const Run runs[] = {
      {"quipgate, site board", "board", 20, 2},     {"quipgate, site board", "board", 1000, 2},
      {"quipgate, site board", "board", 10000, 2},  {"quipgate, site new", "new", 20, 2},
      {"quipgate, site new", "new", 1000, 2},       {"quipgate, site new", "new", 10000, 2},
      {"quipgate, site rescan", "rescan", 20, 100}, {"quipgate, site rescan", "rescan", 20, 1000},
  };
  std::printf("\n%-28s %7s %7s %10s %8s %8s\n", "site command", "entries", "files", "ms", "chmods",
              "x floor");
  double previous = 0;
  for (const Run& run : runs) {
    SiteBox box(
        top + "/site-" + run.text + std::to_string(run.entries) + "-" + std::to_string(run.files),
        run.entries, run.files);
    Timing t = timeSiteCommand(box, run.text, rounds);
    std::printf("%-28s %7u %7d %10.3f %8.1f %8.2f\n", run.label, run.entries, run.files,
                t.seconds * 1e3, t.chmods, t.seconds / floor);
    const bool tenfold = run.entries == 10000 || run.files == 1000;
    if (tenfold) {
      char line[160];
      std::snprintf(line, sizeof line,
                    "quipgate %-6s ten times the %s: %.2f times the time beyond the floor",
                    run.text, run.files == 1000 ? "files" : "entries",
                    (t.seconds - floor) / (previous - floor));
      ratios->push_back(line);
    }
    previous = t.seconds;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 30;
  const std::string top = bench::makeScratchFolder("hook-bench");
  if (top.empty()) return 1;
  double floor = floorSeconds(rounds * 3);
  std::printf("floor (start and wait for a no-op program): %.3f ms (medians of %d rounds)\n\n",
              floor * 1e3, rounds);
  std::printf("%-28s %7s %10s %8s %8s\n", "event", "files", "ms", "chmods", "x floor");
  struct Event {
    const char* hook;
    const char* label;
    // The fields after the program's path, given the file's physical and
    // virtual paths.
    std::string (*fields)(const std::string& physical, const std::string& virtualPath);
  };
  const Event events[] = {
      {"landguard", "landguard, one upload asked",
       [](const std::string& p, const std::string& v) {
         return "??-??1??-??" + p + "??-??" + v + "??-??grp??-??usr";
       }},
      {"tallyglad", "tallyglad, one file checked",
       [](const std::string& p, const std::string& v) {
         return "??-??R??-??b??-??" + p + "??-??" + v + "??-??grp??-??usr";
       }},
      {"tallyfull", "tallyfull, release completed",
       [](const std::string& p, const std::string& v) {
         return "??-??" + p + "??-??" + v + "??-??grp??-??usr";
       }},
      {"landfall", "landfall, one MP3 upload",
       [](const std::string& p, const std::string& v) {
         return "??-??R??-??b??-??" + p + "??-??" + v + "??-??grp??-??usr??-??1234.5??-??1";
       }},
  };
  std::vector<std::string> ratios;
  for (const Event& event : events) {
    if (access((kBin + event.hook).c_str(), X_OK) != 0) continue;
    double at100 = 0;
    for (int files : {10, 100, 1000}) {
      Sandbox box(top + "/" + event.hook + std::to_string(files), files);
      std::string physical = box.rel + "/" + box.last;
      Timing t = timeHook(box, event.hook,
                          box.line(event.hook, event.fields(physical, "/Rel/" + box.last)), rounds);
      std::printf("%-28s %7d %10.3f %8.1f %8.2f\n", event.label, files, t.seconds * 1e3, t.chmods,
                  t.seconds / floor);
      if (files == 100) at100 = t.seconds;
      if (files == 1000) {
        char line[128];
        std::snprintf(line, sizeof line, "%-10s 1,000 files / 100 files: %.2f", event.hook,
                      t.seconds / at100);
        ratios.push_back(line);
      }
    }
  }
  benchNewDirs(top, floor, rounds, &ratios);
  benchSiteCommands(top, floor, rounds, &ratios);
  std::printf("\n");
  for (const std::string& line : ratios) std::printf("%s\n", line.c_str());

  return bench::dropScratchFolder(top) ? 0 : 1;
}
