// Feeds arbitrary bytes to the stand-in's readers of the server's ".ftpd"
// and vfs files, of SFVs and of its own check records and list of uploads
// in flight, and renders a command from what was read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tools/ftpd-standin/check_tally.h"
#include "tools/ftpd-standin/hook_table.h"
#include "tools/ftpd-standin/sfv_list.h"
#include "tools/ftpd-standin/uploads_in_flight.h"
#include "tools/ftpd-standin/util.h"
#include "tools/ftpd-standin/vfs_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  ftpd::HookTable hooks;
  hooks.parse(text);
  for (const ftpd::HookEntry& entry : hooks.entries()) {
    ftpd::substitute(entry.command, {{'m', "/x"}, {'%', "y"}});
    ftpd::programName(entry.program);
  }
  hooks.find("landfall");

  ftpd::VfsMap vfs;
  vfs.parse(text);
  std::string physical;
  vfs.toPhysical("/", &physical);
  vfs.toPhysical("/a/b/", &physical);

  static const std::string sfvPath = fuzz_support::scratchPath("release.sfv");
  if (fuzz_support::writeInput(sfvPath, data, size)) {
    ftpd::SfvList sfv;
    if (sfv.load(sfvPath, 1 << 20)) {
      sfv.find("a.mp3");
      sfv.passing("a.mp3", 0);
    }
  }

  ftpd::CheckTally tally("/x", "/Rel");
  if (tally.parse(text)) {
    tally.add(-1);
    tally.text();
  }
  ftpd::splitLines(text, true);
  ftpd::UploadsInFlight flight("/x");
  flight.parse(text);
  flight.before("1", "/Rel");
  flight.text();
  return 0;
}
