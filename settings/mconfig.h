// One module's settings, in the module's own file in the data folder.
#ifndef SETTINGS_MCONFIG_H_
#define SETTINGS_MCONFIG_H_

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "settings/gconfig.h"

// Who owns what the hooks make: the event's user and group (touser 1) or the
// configured owner, with the rights `allow`; the hooks hand it to the
// outside chmod program.
struct Chmod {
  bool touser = false;
  XString username;
  XString group;
  XString allow;  // three octal rights digits
};

// Marker kinds used below: 0 disabled, 1 an empty file, 2 a folder.
struct ProgressBarSettings {
  bool mcd = false;
  bool merge = false;  // copy of tinfo.merge
  unsigned char mode = 0;
  unsigned int len = 0;
  XString empty;
  XString full;
  XString incpat;
  XString compat;
  XString incpatmul;
  XString compatmul;
};

struct TagInfoSettings {
  bool mcd = false;
  bool merge = false;
  bool last = false;
  unsigned char mode = 0;
  XString id;
  XString format;
  XString mergepat;
  XString idmul;
  XString formatmul;
  XString mergepatmul;
};

// The race statistics templates with their widths, cuts and sorts. g... is
// the general text, s... the one used once the SFV fixed the race's figures,
// m... the MP3 block.
struct RacerSettings {
  XString gbody, guser, ggroup;
  XString sbody, suser, sgroup;
  XString sbarfull, sbarempty;
  XString mbody;

  unsigned int gbdplen = 0, gbdnlen = 0, gbfnlen = 0;
  unsigned int glunlen = 0, glgrlen = 0, gldplen = 0, gldnlen = 0, glfnlen = 0;
  unsigned int sbdplen = 0, sbdnlen = 0, sbfnlen = 0;
  unsigned int slunlen = 0, slgrlen = 0, sldplen = 0, sldnlen = 0, slfnlen = 0;
  unsigned int sbarlen = 0;
  unsigned int marlen = 0, mallen = 0, mgelen = 0, mmmlen = 0, mcolen = 0;

  bool en = false;     // enable the race statistics
  bool sen = false;    // use the sfv text once the SFV is uploaded
  bool men = false;    // append the MP3 block after an MP3 upload
  bool chmod = false;  // hand racer.sav to the chmod program

  bool gbcutdp = false, gbcutdn = false, gbcutfn = false;
  bool glcutun = false, glcutgr = false, glcutdp = false, glcutdn = false, glcutfn = false;
  bool sbcutdp = false, sbcutdn = false, sbcutfn = false;
  bool slcutun = false, slcutgr = false, slcutdp = false, slcutdn = false, slcutfn = false;
  bool mcutar = false, mcutal = false, mcutge = false, mcutmm = false, mcutco = false;

  // 0 by number of files, 1 by size, other values by average speed.
  char gsortu = 0, gsortg = 0, ssortu = 0, ssortg = 0;
};

// A load that fails (missing file, wrong header, unknown version, a file
// that ends early or holds impossible lengths) leaves the record as it was,
// apart from `version`, which takes an unknown version's number.
class MConfig {
 public:
  MConfig() = default;

  bool load(const char* path);
  bool read(XFile& file);
  // Writes to a temporary file and renames it over `path`; false leaves the
  // old file in place.
  [[nodiscard]] bool save(const char* path);
  bool write(XFile& file);
  // With 0 sets every default; any other value changes nothing.
  void setDefaults(int value);

  unsigned int version = 956;
  Chmod chmod;
  bool mcd_sfvm = false;
  unsigned char sfvm = 0;
  XString sfvm_pat, sfvm_patmul;
  bool mcd_sfvi = false;
  unsigned char sfvi = 0;
  XString sfvi_pat, sfvi_patmul;
  unsigned char mfiles = 0;
  XString mfiles_pat;
  bool ad_en = false;
  XString ad_file;
  bool sfv_force = false;
  bool sfv_oneonly = false;
  bool sfv_insfv = false;
  XStringList sfv_filelist;
  XStringList sfv_dirlist;
  ProgressBarSettings pb;
  bool move_en = false;
  XString move_dir;
  TagInfoSettings tinfo;
  bool m3u_deny = false;
  bool m3u_create = false;
  bool m3u_skip = false;
  unsigned char cinfo = 0;
  unsigned char badf = 0;  // 0 leave, 1 delete, 2 cut to zero bytes
  bool specialndl = false;
  bool ndlspecial_addmain = false;
  XString ndlspecial_file;
  RacerSettings racer;

 private:
  // Copies only for the loader's scratch record.
  MConfig(const MConfig&) = default;
  MConfig& operator=(const MConfig&) = default;
};

#endif  // SETTINGS_MCONFIG_H_
