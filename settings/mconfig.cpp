#include "settings/mconfig.h"

#include "settings/settings_file.h"

namespace {

const char kHeader[] = "Brindlecast module-configuration file";
constexpr unsigned int kVersion = 956;
// The accepted versions, oldest first. Each adds items to the one before:
// 97 the progress bar's merge switch, 954 the module's own new-directory
// list, 955 the folders exempt from the SFV rules, 956 the "also add to the
// main list" switch and the chmod of racer.sav.
constexpr unsigned int kVersion96 = 96;
constexpr unsigned int kVersion97 = 97;
constexpr unsigned int kVersion954 = 954;
constexpr unsigned int kVersion955 = 955;

bool accepted(unsigned int v) {
  return v == kVersion96 || v == kVersion97 || v == kVersion954 || v == kVersion955 ||
         v == kVersion;
}

// Reads the items of version `v` in table order into `c`; items that `v`
// lacks are left alone.
void readItems(XFile& f, unsigned int v, MConfig& c) {
  f >> c.chmod.touser >> c.chmod.username >> c.chmod.group >> c.chmod.allow;
  f >> c.sfvm >> c.sfvm_pat >> c.sfvm_patmul >> c.mcd_sfvm;
  f >> c.sfvi >> c.sfvi_pat >> c.sfvi_patmul >> c.mcd_sfvi;
  f >> c.mfiles >> c.mfiles_pat >> c.ad_en >> c.ad_file;
  f >> c.sfv_force >> c.sfv_oneonly >> c.sfv_insfv >> c.sfv_filelist;
  if (v >= kVersion955) f >> c.sfv_dirlist;

  ProgressBarSettings& pb = c.pb;
  f >> pb.mode >> pb.len >> pb.empty >> pb.full >> pb.incpat >> pb.compat >> pb.incpatmul >>
      pb.compatmul;
  if (v >= kVersion97) f >> pb.merge;
  f >> pb.mcd >> c.move_en >> c.move_dir;

  TagInfoSettings& ti = c.tinfo;
  f >> ti.mode >> ti.id >> ti.format >> ti.mergepat >> ti.idmul >> ti.formatmul >> ti.mergepatmul >>
      ti.mcd >> ti.merge >> ti.last;
  f >> c.m3u_deny >> c.m3u_create >> c.m3u_skip >> c.cinfo >> c.badf;
  if (v >= kVersion954) f >> c.specialndl >> c.ndlspecial_file;
  if (v >= kVersion) f >> c.ndlspecial_addmain;

  RacerSettings& r = c.racer;
  f >> r.gbody >> r.guser >> r.ggroup >> r.gbdplen >> r.gbdnlen >> r.gbfnlen >> r.gbcutdp >>
      r.gbcutdn >> r.gbcutfn;
  f >> r.glunlen >> r.glgrlen >> r.gldplen >> r.gldnlen >> r.glfnlen >> r.glcutun >> r.glcutgr >>
      r.glcutdp >> r.glcutdn >> r.glcutfn >> r.gsortu >> r.gsortg;
  f >> r.sbody >> r.suser >> r.sgroup >> r.sbdplen >> r.sbdnlen >> r.sbfnlen >> r.sbcutdp >>
      r.sbcutdn >> r.sbcutfn;
  f >> r.slunlen >> r.slgrlen >> r.sldplen >> r.sldnlen >> r.slfnlen >> r.slcutun >> r.slcutgr >>
      r.slcutdp >> r.slcutdn >> r.slcutfn;
  f >> r.sbarempty >> r.sbarfull >> r.sbarlen >> r.ssortu >> r.ssortg;
  f >> r.mbody >> r.marlen >> r.mallen >> r.mgelen >> r.mmmlen >> r.mcolen;
  f >> r.mcutar >> r.mcutal >> r.mcutge >> r.mcutmm >> r.mcutco;
  f >> r.en >> r.sen >> r.men;
  if (v >= kVersion) f >> r.chmod;

  // Version 96 had one merge switch, the tag info's.
  if (v == kVersion96) pb.merge = ti.merge;
}

}  // namespace

bool MConfig::load(const char* path) {
  XFile file(path, "rb", false);
  return read(file);
}

// Read into a scratch copy that is taken over only when the whole file
// could be read: a file that ends early or holds impossible lengths or
// counts leaves the record as it was. An unknown version is kept in
// `version`, nothing else changes.
bool MConfig::read(XFile& file) {
  unsigned int stored = 0;
  if (!readSettingsHeader(file, kHeader, &stored)) return false;
  if (!accepted(stored)) {
    version = stored;
    return false;
  }
  MConfig next(*this);
  readItems(file, stored, next);
  if (file.failed()) return false;
  *this = next;
  version = kVersion;
  return true;
}

bool MConfig::save(const char* path) { return saveSettings(*this, path); }

bool MConfig::write(XFile& f) {
  if (!f.isOpen()) return false;
  f << kHeader << version;
  f << chmod.touser << chmod.username << chmod.group << chmod.allow;
  f << sfvm << sfvm_pat << sfvm_patmul << mcd_sfvm;
  f << sfvi << sfvi_pat << sfvi_patmul << mcd_sfvi;
  f << mfiles << mfiles_pat << ad_en << ad_file;
  f << sfv_force << sfv_oneonly << sfv_insfv << sfv_filelist << sfv_dirlist;
  f << pb.mode << pb.len << pb.empty << pb.full << pb.incpat << pb.compat << pb.incpatmul
    << pb.compatmul << pb.merge << pb.mcd << move_en << move_dir;
  f << tinfo.mode << tinfo.id << tinfo.format << tinfo.mergepat << tinfo.idmul << tinfo.formatmul
    << tinfo.mergepatmul << tinfo.mcd << tinfo.merge << tinfo.last;
  f << m3u_deny << m3u_create << m3u_skip << cinfo << badf << specialndl << ndlspecial_file
    << ndlspecial_addmain;

  const RacerSettings& r = racer;
  f << r.gbody << r.guser << r.ggroup << r.gbdplen << r.gbdnlen << r.gbfnlen << r.gbcutdp
    << r.gbcutdn << r.gbcutfn;
  f << r.glunlen << r.glgrlen << r.gldplen << r.gldnlen << r.glfnlen << r.glcutun << r.glcutgr
    << r.glcutdp << r.glcutdn << r.glcutfn << r.gsortu << r.gsortg;
  f << r.sbody << r.suser << r.sgroup << r.sbdplen << r.sbdnlen << r.sbfnlen << r.sbcutdp
    << r.sbcutdn << r.sbcutfn;
  f << r.slunlen << r.slgrlen << r.sldplen << r.sldnlen << r.slfnlen << r.slcutun << r.slcutgr
    << r.slcutdp << r.slcutdn << r.slcutfn;
  f << r.sbarempty << r.sbarfull << r.sbarlen << r.ssortu << r.ssortg;
  f << r.mbody << r.marlen << r.mallen << r.mgelen << r.mmmlen << r.mcolen;
  f << r.mcutar << r.mcutal << r.mcutge << r.mcutmm << r.mcutco;
  f << r.en << r.sen << r.men << r.chmod;
  return !f.failed();
}
