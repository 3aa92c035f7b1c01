// The few module switches that the stand-in's "set" command changes on a
// sandbox site, so the demo can show the rules and the playlist without the
// configuration utility. Each is given as "KEY=VALUE".
#ifndef TOOLS_FTPD_STANDIN_MODULE_SWITCH_H_
#define TOOLS_FTPD_STANDIN_MODULE_SWITCH_H_

#include <string>
#include <vector>

#include "settings/mconfig.h"
#include "tools/ftpd-standin/vfs_map.h"

namespace ftpd {

// The keys, in the order the usage names them: the switches sfv_force,
// sfv_oneonly, sfv_insfv, m3u_deny, m3u_create, m3u_skip and move_en take 0
// or 1; badf takes 0, 1 or 2; move_dir takes a virtual folder of the site,
// which is stored as its physical path; cinfo (the creator marker of a new
// folder) takes 0, 1 or 2.
const std::vector<std::string>& moduleSwitchKeys();

// Applies one "KEY=VALUE" to `config`; false with `error` set for an
// unknown key or a value the key does not take.
bool setModuleSwitch(const std::string& assignment, const VfsMap& vfs, MConfig* config,
                     std::string* error);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_MODULE_SWITCH_H_
