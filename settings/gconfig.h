// The global settings of the site, in "BCconfig.bcc" in the data folder.
#ifndef SETTINGS_GCONFIG_H_
#define SETTINGS_GCONFIG_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "settings/allot_list.h"

// An owner triple: user name, group and three octal rights digits ("766").
struct chmod_allow {  // NOLINT: the settings' own name
  XString username;
  XString group;
  XString allow;
};

// The layout and limits of one rendered list (a board or a new-directory
// list). `type` is set at construction and never stored.
struct BoardSettings {
  bool en = false;
  bool messageifdis = false;
  bool maxmode = false;  // 1 drops the oldest entry when full, 0 refuses
  bool cutun = false;
  bool cuttxt = false;
  unsigned int unlen = 0;
  unsigned int tlen = 0;
  unsigned int maxentrys = 0;
  XString lineformat;
  XString head;
  XString tail;
  XString file;  // '|'-separated output files
  int type = 0;  // 1 message board, 2 request board, 3 new-directory list
};

struct MBoardSettings : BoardSettings {
  unsigned char delm = 0;   // highest level number that may delete any message
  unsigned char postm = 0;  // highest level number that may post
};

struct RBoardSettings : BoardSettings {
  unsigned char delr = 0;
  unsigned char postr = 0;
  bool postfilled = false;
  bool makedir = false;
  XString preqpath;
};

struct NewDirListSettings : BoardSettings {
  bool cutname = false;
  unsigned int namelen = 0;
};

struct DawnrollSettings {
  bool en = false;
  bool today = false;
  bool yesterday = false;
  XString format;
  XString todaylink;
  XString yesterdaylink;
  XPath path;
};

// Every text and list empty and every number 0 when built, apart from the
// board types and the new-directory lists' full-list rule. A load that fails
// (missing file, wrong header, unknown version, a file that ends early or
// holds impossible lengths) leaves the record as it was, apart from
// `version`, which takes an unknown version's number.
class GConfig {
 public:
  GConfig();
  GConfig(const GConfig&) = delete;
  GConfig& operator=(const GConfig&) = delete;

  bool load(const char* path);
  bool read(XFile& file);
  // Writes to a temporary file and renames it over `path`; false leaves the
  // old file in place.
  [[nodiscard]] bool save(const char* path);
  // Gives a non-empty `nd.path` its final separator first; the record keeps
  // it.
  bool write(XFile& file);
  // With 0 sets every default; any other value sets only `version`.
  void setDefaults(int value);

  unsigned int version = 956;
  XString userfile;
  XString vfsfile;
  XString vfsbackup;
  XString raidenftpd;
  unsigned int vfs_maxentrys = 0;
  XStringList mcd_list;
  XStringList deny_list;
  MBoardSettings mb;
  RBoardSettings rb;
  NewDirListSettings ndl;
  NewDirListSettings ndlspecial;
  XStringList ndl_exlist;
  DawnrollSettings nd;
  chmod_allow tod;
  chmod_allow past;
  AllotList al;
};

#endif  // SETTINGS_GCONFIG_H_
