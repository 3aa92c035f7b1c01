// The shown module's settings into the module pages and back.
#include <algorithm>
#include <vector>

#include "platform/paths.h"
#include "programs/brindleset/form_fields.h"
#include "programs/brindleset/main_window.h"

using namespace brindleset;  // NOLINT: the field moves read best unqualified

namespace {

constexpr int kKinds = 3;  // disabled, file, folder; and the three sort keys
constexpr const char* kLengthsOnly = "All length entrys must contain numbers only!";

// The tag ids are stored in brackets; the edit shows what stands between.
XString unbracketed(XString id) {
  id.dropLast(']');
  id.dropFirst('[');
  return id;
}

// A module's list into its list box, in the order the administrator saw
// it last: a list taken back from the pages stands reversed (each item was
// added at its head), a loaded one does not. The folders exempt from the
// SFV rules are stored with a final separator and shown without one.
void showModuleList(const TComponent& form, const char* name, const XStringList& list,
                    bool reversed, bool folders) {
  std::vector<XString> texts;
  for (const XStringListEntry* entry = list.head; entry; entry = entry->next) {
    texts.push_back(entry->text);
    if (folders) texts.back().dropLast(platform::kPathSep);
  }
  if (reversed) std::reverse(texts.begin(), texts.end());
  TStrings* items = byName<TListBox>(form, name)->Items();
  items->Clear();
  for (const XString& text : texts) items->Add(text);
}

void takeFolders(const TComponent& form, const char* name, XStringList& folders) {
  takeList(form, name, folders);
  for (XStringListEntry* entry = folders.head; entry; entry = entry->next) {
    entry->text.ensureTrailing(platform::kPathSep);
  }
}

}  // namespace

void TMainWindow::moduleToForm() {
  if (!currentModule) return;
  const TComponent& f = *this;
  MConfig& m = *currentModule;

  byName<TRadioButton>(f, m.chmod.touser ? "chmod_touser" : "chmod_tobc")->setChecked(true);
  byName<TLabel>(f, "chmod_username")->setCaption(m.chmod.username);
  byName<TLabel>(f, "chmod_group")->setCaption(m.chmod.group);
  byName<TLabel>(f, "chmod_allow")->setCaption(m.chmod.allow);

  showChoice(f, "sfvm_", kKinds, m.sfvm);
  showText(f, "sfvm_pat", m.sfvm_pat);
  showText(f, "sfvm_patmul", m.sfvm_patmul);
  showSwitch(f, "mcd_sfvm", m.mcd_sfvm);
  showChoice(f, "sfvi_", kKinds, m.sfvi);
  showText(f, "sfvi_pat", m.sfvi_pat);
  showText(f, "sfvi_patmul", m.sfvi_patmul);
  showSwitch(f, "mcd_sfvi", m.mcd_sfvi);
  showChoice(f, "mfiles_", kKinds, m.mfiles);
  showText(f, "mfiles_pat", m.mfiles_pat);

  showSwitch(f, "ad_en", m.ad_en);
  showText(f, "ad_file", m.ad_file);
  showSwitch(f, "sfv_force", m.sfv_force);
  showSwitch(f, "sfv_oneonly", m.sfv_oneonly);
  showSwitch(f, "sfv_insfv", m.sfv_insfv);
  bool reversed = takenModules_.count(currentModule) != 0;
  showModuleList(f, "sfv_filelist", m.sfv_filelist, reversed, false);
  showModuleList(f, "sfv_dirlist", m.sfv_dirlist, reversed, true);

  showChoice(f, "pb_", kKinds, m.pb.mode);
  showNumber(f, "pb_len", m.pb.len);
  showText(f, "pb_empty", m.pb.empty);
  showText(f, "pb_full", m.pb.full);
  showText(f, "pb_incpat", m.pb.incpat);
  showText(f, "pb_compat", m.pb.compat);
  showText(f, "pb_incpatmul", m.pb.incpatmul);
  showText(f, "pb_compatmul", m.pb.compatmul);
  showSwitch(f, "mcd_pb", m.pb.mcd);

  showSwitch(f, "move_en", m.move_en);
  showText(f, "move_dir", m.move_dir);

  showChoice(f, "tinfo_", kKinds, m.tinfo.mode);
  showText(f, "tinfo_id", unbracketed(m.tinfo.id));
  showText(f, "tinfo_format", m.tinfo.format);
  showText(f, "tinfo_mergepat", m.tinfo.mergepat);
  showText(f, "tinfo_idmul", unbracketed(m.tinfo.idmul));
  showText(f, "tinfo_formatmul", m.tinfo.formatmul);
  showText(f, "tinfo_mergepatmul", m.tinfo.mergepatmul);
  showSwitch(f, "mcd_ti", m.tinfo.mcd);
  showSwitch(f, "tinfo_merge", m.tinfo.merge);
  // Its OnClick runs the tag-id rule when the state changes; the call
  // below covers an unchanged one.
  showSwitch(f, "tinfo_last", m.tinfo.last);
  updateTagInfo(nullptr);

  showSwitch(f, "m3u_deny", m.m3u_deny);
  showSwitch(f, "m3u_create", m.m3u_create);
  showSwitch(f, "m3u_skip", m.m3u_skip);
  showChoice(f, "cinfo_", kKinds, m.cinfo);
  showChoice(f, "badf_", kKinds, m.badf);
  byName<TRadioButton>(f, m.specialndl ? "ndlspecial_1" : "ndlspecial_0")->setChecked(true);
  showSwitch(f, "ndlspecial_addmain", m.ndlspecial_addmain);
  showText(f, "ndlspecial_file", m.ndlspecial_file);

  const RacerSettings& r = m.racer;
  showSwitch(f, "racer_en", r.en);
  showSwitch(f, "racer_chmod", r.chmod);
  showText(f, "racer_gbody", r.gbody);
  showText(f, "racer_guser", r.guser);
  showText(f, "racer_ggroup", r.ggroup);
  showNumber(f, "racer_gbdplen", r.gbdplen);
  showNumber(f, "racer_gbdnlen", r.gbdnlen);
  showNumber(f, "racer_gbfnlen", r.gbfnlen);
  showSwitch(f, "racer_gbcutdp", r.gbcutdp);
  showSwitch(f, "racer_gbcutdn", r.gbcutdn);
  showSwitch(f, "racer_gbcutfn", r.gbcutfn);
  showNumber(f, "racer_glunlen", r.glunlen);
  showNumber(f, "racer_glgrlen", r.glgrlen);
  showNumber(f, "racer_gldplen", r.gldplen);
  showNumber(f, "racer_gldnlen", r.gldnlen);
  showNumber(f, "racer_glfnlen", r.glfnlen);
  showSwitch(f, "racer_glcutun", r.glcutun);
  showSwitch(f, "racer_glcutgr", r.glcutgr);
  showSwitch(f, "racer_glcutdp", r.glcutdp);
  showSwitch(f, "racer_glcutdn", r.glcutdn);
  showSwitch(f, "racer_glcutfn", r.glcutfn);
  showChoice(f, "racer_gsortu", kKinds, static_cast<unsigned char>(r.gsortu));
  showChoice(f, "racer_gsortg", kKinds, static_cast<unsigned char>(r.gsortg));

  showSwitch(f, "racer_sen", r.sen);
  showText(f, "racer_sbody", r.sbody);
  showText(f, "racer_suser", r.suser);
  showText(f, "racer_sgroup", r.sgroup);
  showNumber(f, "racer_sbdplen", r.sbdplen);
  showNumber(f, "racer_sbdnlen", r.sbdnlen);
  showNumber(f, "racer_sbfnlen", r.sbfnlen);
  showSwitch(f, "racer_sbcutdp", r.sbcutdp);
  showSwitch(f, "racer_sbcutdn", r.sbcutdn);
  showSwitch(f, "racer_sbcutfn", r.sbcutfn);
  showText(f, "racer_sbarempty", r.sbarempty);
  showText(f, "racer_sbarfull", r.sbarfull);
  showNumber(f, "racer_sbarlen", r.sbarlen);
  showNumber(f, "racer_slunlen", r.slunlen);
  showNumber(f, "racer_slgrlen", r.slgrlen);
  showNumber(f, "racer_sldplen", r.sldplen);
  showNumber(f, "racer_sldnlen", r.sldnlen);
  showNumber(f, "racer_slfnlen", r.slfnlen);
  showSwitch(f, "racer_slcutun", r.slcutun);
  showSwitch(f, "racer_slcutgr", r.slcutgr);
  showSwitch(f, "racer_slcutdp", r.slcutdp);
  showSwitch(f, "racer_slcutdn", r.slcutdn);
  showSwitch(f, "racer_slcutfn", r.slcutfn);
  showChoice(f, "racer_ssortu", kKinds, static_cast<unsigned char>(r.ssortu));
  showChoice(f, "racer_ssortg", kKinds, static_cast<unsigned char>(r.ssortg));

  showSwitch(f, "racer_men", r.men);
  showText(f, "racer_mbody", r.mbody);
  showNumber(f, "racer_marlen", r.marlen);
  showNumber(f, "racer_mallen", r.mallen);
  showNumber(f, "racer_mgelen", r.mgelen);
  showNumber(f, "racer_mmmlen", r.mmmlen);
  showNumber(f, "racer_mcolen", r.mcolen);
  showSwitch(f, "racer_mcutar", r.mcutar);
  showSwitch(f, "racer_mcutal", r.mcutal);
  showSwitch(f, "racer_mcutge", r.mcutge);
  showSwitch(f, "racer_mcutmm", r.mcutmm);
  showSwitch(f, "racer_mcutco", r.mcutco);

  // The advertisement file follows its switch for every module shown.
  advertisement_update(nullptr);
}

// The bar length is taken outside the checked block: a text that is no
// number leaves the transfer with the conversion error, which is reported
// as any error of a handler is, and nothing is saved or switched.
bool TMainWindow::formToModule() {
  if (!currentModule) return true;
  takeModule();
  return takeRacer();
}

void TMainWindow::takeModule() {
  const TComponent& f = *this;
  MConfig& m = *currentModule;

  m.chmod.touser = byName<TRadioButton>(f, "chmod_touser")->Checked();
  m.chmod.username = byName<TLabel>(f, "chmod_username")->Caption();
  m.chmod.group = byName<TLabel>(f, "chmod_group")->Caption();
  m.chmod.allow = byName<TLabel>(f, "chmod_allow")->Caption();

  m.sfvm = takeChoice(f, "sfvm_", kKinds);
  m.sfvm_pat = takeText(f, "sfvm_pat");
  m.sfvm_patmul = takeText(f, "sfvm_patmul");
  m.mcd_sfvm = takeSwitch(f, "mcd_sfvm");
  m.sfvi = takeChoice(f, "sfvi_", kKinds);
  m.sfvi_pat = takeText(f, "sfvi_pat");
  m.sfvi_patmul = takeText(f, "sfvi_patmul");
  m.mcd_sfvi = takeSwitch(f, "mcd_sfvi");
  m.mfiles = takeChoice(f, "mfiles_", kKinds);
  m.mfiles_pat = takeText(f, "mfiles_pat");

  m.ad_en = takeSwitch(f, "ad_en");
  m.ad_file = takeText(f, "ad_file");
  m.sfv_force = takeSwitch(f, "sfv_force");
  m.sfv_oneonly = takeSwitch(f, "sfv_oneonly");
  m.sfv_insfv = takeSwitch(f, "sfv_insfv");
  takeList(f, "sfv_filelist", m.sfv_filelist);
  takeFolders(f, "sfv_dirlist", m.sfv_dirlist);
  takenModules_.insert(currentModule);

  m.pb.mode = takeChoice(f, "pb_", kKinds);
  m.pb.len = takeNumber(f, "pb_len");
  m.pb.empty = takeText(f, "pb_empty");
  m.pb.full = takeText(f, "pb_full");
  m.pb.incpat = takeText(f, "pb_incpat");
  m.pb.compat = takeText(f, "pb_compat");
  m.pb.incpatmul = takeText(f, "pb_incpatmul");
  m.pb.compatmul = takeText(f, "pb_compatmul");
  m.pb.mcd = takeSwitch(f, "mcd_pb");
  // The bar has no switch of its own for merging: the tag info's decides.
  m.pb.merge = takeSwitch(f, "tinfo_merge");

  m.move_en = takeSwitch(f, "move_en");
  m.move_dir = takeText(f, "move_dir");

  // Without "show only last tag" the ids are not used and stay empty.
  bool last = takeSwitch(f, "tinfo_last");
  auto bracketed = [&](const char* name) {
    return last ? XString("[") + takeText(f, name) + "]" : XString();
  };
  m.tinfo.mode = takeChoice(f, "tinfo_", kKinds);
  m.tinfo.id = bracketed("tinfo_id");
  m.tinfo.format = takeText(f, "tinfo_format");
  m.tinfo.mergepat = takeText(f, "tinfo_mergepat");
  m.tinfo.idmul = bracketed("tinfo_idmul");
  m.tinfo.formatmul = takeText(f, "tinfo_formatmul");
  m.tinfo.mergepatmul = takeText(f, "tinfo_mergepatmul");
  m.tinfo.mcd = takeSwitch(f, "mcd_ti");
  m.tinfo.merge = takeSwitch(f, "tinfo_merge");
  m.tinfo.last = last;

  m.m3u_deny = takeSwitch(f, "m3u_deny");
  m.m3u_create = takeSwitch(f, "m3u_create");
  m.m3u_skip = takeSwitch(f, "m3u_skip");
  m.cinfo = takeChoice(f, "cinfo_", kKinds);
  m.badf = takeChoice(f, "badf_", kKinds);
  m.specialndl = !byName<TRadioButton>(f, "ndlspecial_0")->Checked();
  m.ndlspecial_addmain = takeSwitch(f, "ndlspecial_addmain");
  m.ndlspecial_file = takeText(f, "ndlspecial_file");
}

// Every length in turn: one that does not convert keeps its old value and
// those after it, and the racer tab is shown with a message.
bool TMainWindow::takeRacer() {
  const TComponent& f = *this;
  RacerSettings& r = currentModule->racer;
  try {
    r.en = takeSwitch(f, "racer_en");
    r.chmod = takeSwitch(f, "racer_chmod");
    r.gbody = takeText(f, "racer_gbody");
    r.guser = takeText(f, "racer_guser");
    r.ggroup = takeText(f, "racer_ggroup");
    r.gbdplen = takeNumber(f, "racer_gbdplen");
    r.gbdnlen = takeNumber(f, "racer_gbdnlen");
    r.gbfnlen = takeNumber(f, "racer_gbfnlen");
    r.gbcutdp = takeSwitch(f, "racer_gbcutdp");
    r.gbcutdn = takeSwitch(f, "racer_gbcutdn");
    r.gbcutfn = takeSwitch(f, "racer_gbcutfn");
    r.glunlen = takeNumber(f, "racer_glunlen");
    r.glgrlen = takeNumber(f, "racer_glgrlen");
    r.gldplen = takeNumber(f, "racer_gldplen");
    r.gldnlen = takeNumber(f, "racer_gldnlen");
    r.glfnlen = takeNumber(f, "racer_glfnlen");
    r.glcutun = takeSwitch(f, "racer_glcutun");
    r.glcutgr = takeSwitch(f, "racer_glcutgr");
    r.glcutdp = takeSwitch(f, "racer_glcutdp");
    r.glcutdn = takeSwitch(f, "racer_glcutdn");
    r.glcutfn = takeSwitch(f, "racer_glcutfn");
    r.gsortu = static_cast<char>(takeChoice(f, "racer_gsortu", kKinds));
    r.gsortg = static_cast<char>(takeChoice(f, "racer_gsortg", kKinds));
    r.sen = takeSwitch(f, "racer_sen");
    r.sbody = takeText(f, "racer_sbody");
    r.suser = takeText(f, "racer_suser");
    r.sgroup = takeText(f, "racer_sgroup");
    r.sbdplen = takeNumber(f, "racer_sbdplen");
    r.sbdnlen = takeNumber(f, "racer_sbdnlen");
    r.sbfnlen = takeNumber(f, "racer_sbfnlen");
    r.sbcutdp = takeSwitch(f, "racer_sbcutdp");
    r.sbcutdn = takeSwitch(f, "racer_sbcutdn");
    r.sbcutfn = takeSwitch(f, "racer_sbcutfn");
    r.sbarempty = takeText(f, "racer_sbarempty");
    r.sbarfull = takeText(f, "racer_sbarfull");
    r.sbarlen = takeNumber(f, "racer_sbarlen");
    r.slunlen = takeNumber(f, "racer_slunlen");
    r.slgrlen = takeNumber(f, "racer_slgrlen");
    r.sldplen = takeNumber(f, "racer_sldplen");
    r.sldnlen = takeNumber(f, "racer_sldnlen");
    r.slfnlen = takeNumber(f, "racer_slfnlen");
    r.slcutun = takeSwitch(f, "racer_slcutun");
    r.slcutgr = takeSwitch(f, "racer_slcutgr");
    r.slcutdp = takeSwitch(f, "racer_slcutdp");
    r.slcutdn = takeSwitch(f, "racer_slcutdn");
    r.slcutfn = takeSwitch(f, "racer_slcutfn");
    r.ssortu = static_cast<char>(takeChoice(f, "racer_ssortu", kKinds));
    r.ssortg = static_cast<char>(takeChoice(f, "racer_ssortg", kKinds));
    r.men = takeSwitch(f, "racer_men");
    r.mbody = takeText(f, "racer_mbody");
    r.marlen = takeNumber(f, "racer_marlen");
    r.mallen = takeNumber(f, "racer_mallen");
    r.mgelen = takeNumber(f, "racer_mgelen");
    r.mmmlen = takeNumber(f, "racer_mmmlen");
    r.mcolen = takeNumber(f, "racer_mcolen");
    r.mcutar = takeSwitch(f, "racer_mcutar");
    r.mcutal = takeSwitch(f, "racer_mcutal");
    r.mcutge = takeSwitch(f, "racer_mcutge");
    r.mcutmm = takeSwitch(f, "racer_mcutmm");
    r.mcutco = takeSwitch(f, "racer_mcutco");
    return true;
  } catch (const EConvertError&) {
    showPanel(panels_moduledetail);
    modules_pages->setActivePage(byName<TTabSheet>(f, "modules_racer"));
    Application->MessageBox(kLengthsOnly, "error", 0);
    return false;
  }
}
