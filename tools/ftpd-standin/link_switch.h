// The link builder's switches that the stand-in's "set" command changes on
// a sandbox site (data/linkerconfig.bcc), each given as "KEY=VALUE".
#ifndef TOOLS_FTPD_STANDIN_LINK_SWITCH_H_
#define TOOLS_FTPD_STANDIN_LINK_SWITCH_H_

#include <string>

#include "settings/lconfig.h"

namespace ftpd {

// The key names one of the link builder's switches: link_en, link_artisten,
// link_genreen, link_groupen, link_yearen, link_dirnameen, link_allinoneen,
// link_listp, link_show and link_makeunknown, each 0 or 1.
bool isLinkSwitch(const std::string& assignment);

// Applies one "KEY=VALUE" to `config`; false with `error` set for a value
// other than 0 or 1, or a key that is not one of the above.
bool setLinkSwitch(const std::string& assignment, LConfig* config, std::string* error);

}  // namespace ftpd

#endif  // TOOLS_FTPD_STANDIN_LINK_SWITCH_H_
