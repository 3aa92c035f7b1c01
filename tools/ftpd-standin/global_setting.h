// The global settings that the stand-in's "set" command changes on a
// sandbox site, so the demo and the tests can run the new-day and credit
// allotment programs without the configuration utility. Each is given as
// "KEY=VALUE", like the module switches.
#ifndef TOOLS_FTPD_STANDIN_GLOBAL_SETTING_H_
#define TOOLS_FTPD_STANDIN_GLOBAL_SETTING_H_

#include <string>
#include <vector>

#include "settings/gconfig.h"
#include "tools/ftpd-standin/vfs_map.h"

namespace ftpd {

// The keys: nd_en, nd_today and nd_yesterday take 0 or 1; nd_format a
// day folder's name template; nd_path, nd_todaylink and nd_yesterdaylink a
// virtual folder of the site, stored as its physical path;
// nd_usernametod, nd_grouptod, nd_usernamepast and nd_grouppast a name;
// nd_allowtod and nd_allowpast three octal digits; allot one user's
// allotment as NAME:WHEN:MODE:NUMBER[:FILLLESS] (WHEN daily, weekly or
// monthly; MODE off, add or fill; NUMBER whole credits; FILLLESS 0 or 1,
// 1 when left out), replacing the entry the user has.
const std::vector<std::string>& globalSettingKeys();

// The assignment's key is one of the global settings.
bool isGlobalSetting(const std::string& assignment);

// Applies one "KEY=VALUE" to `global`; false with `error` set for an
// unknown key or a value the key does not take.
bool setGlobalSetting(const std::string& assignment, const VfsMap& vfs, GConfig* global,
                      std::string* error);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_GLOBAL_SETTING_H_
