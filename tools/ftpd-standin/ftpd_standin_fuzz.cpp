// Feeds arbitrary bytes to the stand-in's readers of the server's ".ftpd"
// and vfs files and of SFVs, and renders a command from what was read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/ftpd-standin/hook_table.h"
#include "tools/ftpd-standin/sfv_list.h"
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

  ftpd::SfvList sfv;
  sfv.parse(text);
  sfv.find("a.mp3");
  return 0;
}
