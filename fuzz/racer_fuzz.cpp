// Loads arbitrary bytes as a release's racer.sav, then sorts, renders and
// saves what it got.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "programs/landfall/racer.h"

namespace {

std::string makeFolder() {
  std::string folder = "/tmp/brindle-racer-fuzz-" + std::to_string(getpid());
  mkdir(folder.c_str(), 0755);
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = makeFolder();
  static const XString path((folder + "/racer.sav").c_str());
  static const XString message((folder + "/.message").c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  RacerSettings settings;
  settings.gbody = "%u|%g|%S|%N|%v";
  settings.guser = "%u %s %n %p %v %r";
  settings.ggroup = "%g %c %s %n %p %v %r";
  settings.sbody = "%p %b %u %g";
  settings.suser = settings.guser;
  settings.sgroup = settings.ggroup;
  settings.sen = (size & 1) != 0;
  settings.sbarlen = 20;
  settings.sbarfull = "#";
  settings.sbarempty = ":";
  settings.gsortu = static_cast<char>(size % 3);
  Racer race(&settings);
  if (!race.load(path)) return 0;
  race.writeStats(message, size % 2 == 0);
  race.users.sortBySpeed();
  race.groups.sortBySize();
  race.save(path);
  Racer again(&settings);
  if (!again.load(path) || again.users.count != race.users.count) __builtin_trap();
  return 0;
}
