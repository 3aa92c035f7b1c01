// The MP3 link builder's settings, in "linkerconfig.bcc" in the data folder.
#ifndef SETTINGS_LCONFIG_H_
#define SETTINGS_LCONFIG_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "settings/gconfig.h"

// The one name of the link builder's settings file, wherever it is read or
// written.
constexpr const char* kLinkerConfigFile = "linkerconfig.bcc";

// Where the link builder makes its link trees, which kinds it makes, the
// folders it scans, the group filter and the owner of what it makes.
// Everything empty or 0 when built. A load that fails (missing file, wrong
// header, unknown version, a file that ends early) leaves the record as it
// was, apart from `version`, which takes an unknown version's number.
class LConfig {
 public:
  [[nodiscard]] bool load(const char* path);
  [[nodiscard]] bool read(XFile& file);
  // Writes to a temporary file and renames it over `path`; false leaves the
  // old file in place.
  [[nodiscard]] bool save(const char* path);
  // Gives each non-empty link folder (not the log file) its final separator
  // first; the record keeps it. The version is written as the current one.
  [[nodiscard]] bool write(XFile& file);
  // With 0 sets the defaults; "20??" and "19??" are added at the head of
  // `link_list`, which is not cleared. Any other value changes nothing.
  void setDefaults(int value);

  unsigned int version = 0;
  XPath link_artistdir;
  XPath link_genredir;
  XPath link_yeardir;
  XPath link_groupdir;
  XPath link_dirnamedir;
  XPath link_allinonedir;
  XPath link_logfile;
  XStringList link_list;    // wildcard patterns of release groups
  XStringList link_pathes;  // the folders to scan
  bool link_listp = false;  // 1 only listed groups, 0 all but the listed ones
  bool link_en = false;
  bool link_artisten = false;
  bool link_genreen = false;
  bool link_yearen = false;
  bool link_groupen = false;
  bool link_dirnameen = false;
  bool link_allinoneen = false;
  bool link_show = false;
  bool link_makeunknown = false;
  unsigned int link_reserved = 0;  // kept as stored; nothing uses it
  chmod_allow link_owner;
};

#endif  // SETTINGS_LCONFIG_H_
