// Loads arbitrary bytes as a release's racer.sav, then sorts, renders and
// saves what it got.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "race/racer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz_support::scratchFolder("racer");
  static const XString path((folder + "/racer.sav").c_str());
  static const XString message((folder + "/.message").c_str());
  if (!fuzz_support::writeInput(path.str(), data, size)) return 0;

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
  (void)race.writeStats(message,
                        size % 2 == 0);  // rendering must not crash; the text is not looked at
  race.users.sortBySpeed();
  race.groups.sortBySize();
  if (!race.save(path)) return 0;
  Racer again(&settings);
  if (!again.load(path) || again.users.count != race.users.count) __builtin_trap();
  return 0;
}
