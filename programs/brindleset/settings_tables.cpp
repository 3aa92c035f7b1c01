#include "programs/brindleset/settings_tables.h"

namespace brindleset::tables {

namespace {

using G = GConfig;
using B = BoardSettings;
using N = NewDirListSettings;
using D = DawnrollSettings;
using O = chmod_allow;
using L = LConfig;
using M = MConfig;
using P = ProgressBarSettings;
using T = TagInfoSettings;
using R = RacerSettings;

constexpr Kind kText = Kind::kText;
constexpr Kind kNumber = Kind::kNumber;
constexpr Kind kSwitch = Kind::kSwitch;
constexpr Kind kChoice = Kind::kChoice;
constexpr Kind kPair = Kind::kPair;
constexpr Kind kCopy = Kind::kCopy;
constexpr Kind kList = Kind::kList;
constexpr Kind kFolderList = Kind::kFolderList;
constexpr Kind kBareFolderList = Kind::kBareFolderList;
constexpr Kind kFolder = Kind::kFolder;
constexpr Kind kTagId = Kind::kTagId;
constexpr Kind kCaption = Kind::kCaption;

constexpr int kLevels = 4;  // root, super, normal, guest
constexpr int kKinds = 3;   // disabled, file, folder; or the three sort keys

// General settings: the server's files, the vfs limit and the two name lists.
const Binding<GConfig> kGeneralRows[] = {
    {"userfile", kText, at<&G::userfile>},
    {"vfsfile", kText, at<&G::vfsfile>},
    {"vfsbackup", kText, at<&G::vfsbackup>},
    {"raidenftpd", kText, at<&G::raidenftpd>},
    {"vfs_maxentrys", kNumber, at<&G::vfs_maxentrys>},
    {"mcd_list", kList, at<&G::mcd_list>},
    {"deny_list", kList, at<&G::deny_list>},
};

// The message board.
const Binding<GConfig> kMessageBoardRows[] = {
    {"mb_en", kSwitch, at<&G::mb, &B::en>},
    {"mb_maxmode", kSwitch, at<&G::mb, &B::maxmode>},
    {"mb_cutun", kSwitch, at<&G::mb, &B::cutun>},
    {"mb_cuttxt", kSwitch, at<&G::mb, &B::cuttxt>},
    {"mb_messageifdis", kSwitch, at<&G::mb, &B::messageifdis>},
    {"mb_maxentrys", kNumber, at<&G::mb, &B::maxentrys>},
    {"delm_", kChoice, at<&G::mb, &MBoardSettings::delm>, kLevels},
    {"postm_", kChoice, at<&G::mb, &MBoardSettings::postm>, kLevels},
    {"mb_lineformat", kText, at<&G::mb, &B::lineformat>},
    {"mb_head", kText, at<&G::mb, &B::head>},
    {"mb_tail", kText, at<&G::mb, &B::tail>},
    {"mb_file", kText, at<&G::mb, &B::file>},
    {"mb_unlen", kNumber, at<&G::mb, &B::unlen>},
    {"mb_tlen", kNumber, at<&G::mb, &B::tlen>},
};

// The request board.
const Binding<GConfig> kRequestBoardRows[] = {
    {"rb_en", kSwitch, at<&G::rb, &B::en>},
    {"rb_maxmode", kSwitch, at<&G::rb, &B::maxmode>},
    {"rb_postfilled", kSwitch, at<&G::rb, &RBoardSettings::postfilled>},
    {"rb_makedir", kSwitch, at<&G::rb, &RBoardSettings::makedir>},
    {"rb_cutun", kSwitch, at<&G::rb, &B::cutun>},
    {"rb_cuttxt", kSwitch, at<&G::rb, &B::cuttxt>},
    {"rb_messageifdis", kSwitch, at<&G::rb, &B::messageifdis>},
    {"rb_maxentrys", kNumber, at<&G::rb, &B::maxentrys>},
    {"delr_", kChoice, at<&G::rb, &RBoardSettings::delr>, kLevels},
    {"postr_", kChoice, at<&G::rb, &RBoardSettings::postr>, kLevels},
    {"rb_lineformat", kText, at<&G::rb, &B::lineformat>},
    {"rb_head", kText, at<&G::rb, &B::head>},
    {"rb_tail", kText, at<&G::rb, &B::tail>},
    {"rb_file", kText, at<&G::rb, &B::file>},
    {"rb_preqpath", kFolder, at<&G::rb, &RBoardSettings::preqpath>},
    {"rb_unlen", kNumber, at<&G::rb, &B::unlen>},
    {"rb_tlen", kNumber, at<&G::rb, &B::tlen>},
};

// The new-directory list, with the folders kept out of it.
const Binding<GConfig> kNewDirListRows[] = {
    {"ndl_en", kSwitch, at<&G::ndl, &B::en>},
    {"ndl_cutun", kSwitch, at<&G::ndl, &B::cutun>},
    {"ndl_cuttxt", kSwitch, at<&G::ndl, &B::cuttxt>},
    {"ndl_cutname", kSwitch, at<&G::ndl, &N::cutname>},
    {"ndl_messageifdis", kSwitch, at<&G::ndl, &B::messageifdis>},
    {"ndl_maxentrys", kNumber, at<&G::ndl, &B::maxentrys>},
    {"ndl_lineformat", kText, at<&G::ndl, &B::lineformat>},
    {"ndl_head", kText, at<&G::ndl, &B::head>},
    {"ndl_tail", kText, at<&G::ndl, &B::tail>},
    {"ndl_file", kText, at<&G::ndl, &B::file>},
    {"ndl_unlen", kNumber, at<&G::ndl, &B::unlen>},
    {"ndl_tlen", kNumber, at<&G::ndl, &B::tlen>},
    {"ndl_namelen", kNumber, at<&G::ndl, &N::namelen>},
    {"ndl_exlist", kBareFolderList, at<&G::ndl_exlist>},
};

// The layout every module's special new-directory list shares.
const Binding<GConfig> kSpecialListRows[] = {
    {"ndlspecial_cutun", kSwitch, at<&G::ndlspecial, &B::cutun>},
    {"ndlspecial_cuttxt", kSwitch, at<&G::ndlspecial, &B::cuttxt>},
    {"ndlspecial_cutname", kSwitch, at<&G::ndlspecial, &N::cutname>},
    {"ndlspecial_maxentrys", kNumber, at<&G::ndlspecial, &B::maxentrys>},
    {"ndlspecial_lineformat", kText, at<&G::ndlspecial, &B::lineformat>},
    {"ndlspecial_head", kText, at<&G::ndlspecial, &B::head>},
    {"ndlspecial_tail", kText, at<&G::ndlspecial, &B::tail>},
    {"ndlspecial_unlen", kNumber, at<&G::ndlspecial, &B::unlen>},
    {"ndlspecial_tlen", kNumber, at<&G::ndlspecial, &B::tlen>},
    {"ndlspecial_namelen", kNumber, at<&G::ndlspecial, &N::namelen>},
};

// The dawnroll dir and the owners of today's and past day dirs.
const Binding<GConfig> kDawnrollRows[] = {
    {"nd_en", kSwitch, at<&G::nd, &D::en>},
    {"nd_today", kSwitch, at<&G::nd, &D::today>},
    {"nd_yesterday", kSwitch, at<&G::nd, &D::yesterday>},
    {"nd_path", kText, at<&G::nd, &D::path>},
    {"nd_format", kText, at<&G::nd, &D::format>},
    {"nd_todaylink", kText, at<&G::nd, &D::todaylink>},
    {"nd_yesterdaylink", kText, at<&G::nd, &D::yesterdaylink>},
    {"nd_usernametod", kCaption, at<&G::tod, &O::username>},
    {"nd_grouptod", kCaption, at<&G::tod, &O::group>},
    {"nd_allowtod", kCaption, at<&G::tod, &O::allow>},
    {"nd_usernamepast", kCaption, at<&G::past, &O::username>},
    {"nd_grouppast", kCaption, at<&G::past, &O::group>},
    {"nd_allowpast", kCaption, at<&G::past, &O::allow>},
};

// The link builder.
const Binding<LConfig> kLinkerRows[] = {
    {"link_artistdir", kText, at<&L::link_artistdir>},
    {"link_genredir", kText, at<&L::link_genredir>},
    {"link_groupdir", kText, at<&L::link_groupdir>},
    {"link_yeardir", kText, at<&L::link_yeardir>},
    {"link_dirnamedir", kText, at<&L::link_dirnamedir>},
    {"link_allinonedir", kText, at<&L::link_allinonedir>},
    {"link_logfile", kText, at<&L::link_logfile>},
    {"link_list", kList, at<&L::link_list>},
    {"link_pathes", kList, at<&L::link_pathes>},
    {"link_en", kSwitch, at<&L::link_en>},
    {"link_artisten", kSwitch, at<&L::link_artisten>},
    {"link_genreen", kSwitch, at<&L::link_genreen>},
    {"link_groupen", kSwitch, at<&L::link_groupen>},
    {"link_yearen", kSwitch, at<&L::link_yearen>},
    {"link_dirnameen", kSwitch, at<&L::link_dirnameen>},
    {"link_allinoneen", kSwitch, at<&L::link_allinoneen>},
    {"link_listp0", kPair, at<&L::link_listp>, 0, "link_listp1"},
    {"link_username", kCaption, at<&L::link_owner, &O::username>},
    {"link_group", kCaption, at<&L::link_owner, &O::group>},
    {"link_allow", kCaption, at<&L::link_owner, &O::allow>},
    {"link_show", kSwitch, at<&L::link_show>},
    {"link_makeunknown", kSwitch, at<&L::link_makeunknown>},
};

// A module's general, sfv, mp3 and progress bar pages. The bar merges with
// the tag info as the tag info's switch says; it has no switch of its own.
const Binding<MConfig> kModuleRows[] = {
    {"chmod_touser", kPair, at<&M::chmod, &Chmod::touser>, 0, "chmod_tobc"},
    {"chmod_username", kCaption, at<&M::chmod, &Chmod::username>},
    {"chmod_group", kCaption, at<&M::chmod, &Chmod::group>},
    {"chmod_allow", kCaption, at<&M::chmod, &Chmod::allow>},
    {"sfvm_", kChoice, at<&M::sfvm>, kKinds},
    {"sfvm_pat", kText, at<&M::sfvm_pat>},
    {"sfvm_patmul", kText, at<&M::sfvm_patmul>},
    {"mcd_sfvm", kSwitch, at<&M::mcd_sfvm>},
    {"sfvi_", kChoice, at<&M::sfvi>, kKinds},
    {"sfvi_pat", kText, at<&M::sfvi_pat>},
    {"sfvi_patmul", kText, at<&M::sfvi_patmul>},
    {"mcd_sfvi", kSwitch, at<&M::mcd_sfvi>},
    {"mfiles_", kChoice, at<&M::mfiles>, kKinds},
    {"mfiles_pat", kText, at<&M::mfiles_pat>},
    {"ad_en", kSwitch, at<&M::ad_en>},
    {"ad_file", kText, at<&M::ad_file>},
    {"sfv_force", kSwitch, at<&M::sfv_force>},
    {"sfv_oneonly", kSwitch, at<&M::sfv_oneonly>},
    {"sfv_insfv", kSwitch, at<&M::sfv_insfv>},
    {"sfv_filelist", kList, at<&M::sfv_filelist>},
    {"sfv_dirlist", kFolderList, at<&M::sfv_dirlist>},
    {"pb_", kChoice, at<&M::pb, &P::mode>, kKinds},
    {"pb_len", kNumber, at<&M::pb, &P::len>},
    {"pb_empty", kText, at<&M::pb, &P::empty>},
    {"pb_full", kText, at<&M::pb, &P::full>},
    {"pb_incpat", kText, at<&M::pb, &P::incpat>},
    {"pb_compat", kText, at<&M::pb, &P::compat>},
    {"pb_incpatmul", kText, at<&M::pb, &P::incpatmul>},
    {"pb_compatmul", kText, at<&M::pb, &P::compatmul>},
    {"mcd_pb", kSwitch, at<&M::pb, &P::mcd>},
    {"tinfo_merge", kCopy, at<&M::pb, &P::merge>},
    {"move_en", kSwitch, at<&M::move_en>},
    {"move_dir", kText, at<&M::move_dir>},
    {"tinfo_", kChoice, at<&M::tinfo, &T::mode>, kKinds},
    {"tinfo_id", kTagId, at<&M::tinfo, &T::id>, 0, "tinfo_last"},
    {"tinfo_format", kText, at<&M::tinfo, &T::format>},
    {"tinfo_mergepat", kText, at<&M::tinfo, &T::mergepat>},
    {"tinfo_idmul", kTagId, at<&M::tinfo, &T::idmul>, 0, "tinfo_last"},
    {"tinfo_formatmul", kText, at<&M::tinfo, &T::formatmul>},
    {"tinfo_mergepatmul", kText, at<&M::tinfo, &T::mergepatmul>},
    {"mcd_ti", kSwitch, at<&M::tinfo, &T::mcd>},
    {"tinfo_merge", kSwitch, at<&M::tinfo, &T::merge>},
    {"tinfo_last", kSwitch, at<&M::tinfo, &T::last>},
    {"m3u_deny", kSwitch, at<&M::m3u_deny>},
    {"m3u_create", kSwitch, at<&M::m3u_create>},
    {"m3u_skip", kSwitch, at<&M::m3u_skip>},
    {"cinfo_", kChoice, at<&M::cinfo>, kKinds},
    {"badf_", kChoice, at<&M::badf>, kKinds},
    {"ndlspecial_", kChoice, at<&M::specialndl>, 2},
    {"ndlspecial_addmain", kSwitch, at<&M::ndlspecial_addmain>},
    {"ndlspecial_file", kText, at<&M::ndlspecial_file>},
};

// A module's race statistics: the general, sfv and mp3 pages.
const Binding<MConfig> kRacerRows[] = {
    {"racer_en", kSwitch, at<&M::racer, &R::en>},
    {"racer_chmod", kSwitch, at<&M::racer, &R::chmod>},
    {"racer_gbody", kText, at<&M::racer, &R::gbody>},
    {"racer_guser", kText, at<&M::racer, &R::guser>},
    {"racer_ggroup", kText, at<&M::racer, &R::ggroup>},
    {"racer_gbdplen", kNumber, at<&M::racer, &R::gbdplen>},
    {"racer_gbdnlen", kNumber, at<&M::racer, &R::gbdnlen>},
    {"racer_gbfnlen", kNumber, at<&M::racer, &R::gbfnlen>},
    {"racer_gbcutdp", kSwitch, at<&M::racer, &R::gbcutdp>},
    {"racer_gbcutdn", kSwitch, at<&M::racer, &R::gbcutdn>},
    {"racer_gbcutfn", kSwitch, at<&M::racer, &R::gbcutfn>},
    {"racer_glunlen", kNumber, at<&M::racer, &R::glunlen>},
    {"racer_glgrlen", kNumber, at<&M::racer, &R::glgrlen>},
    {"racer_gldplen", kNumber, at<&M::racer, &R::gldplen>},
    {"racer_gldnlen", kNumber, at<&M::racer, &R::gldnlen>},
    {"racer_glfnlen", kNumber, at<&M::racer, &R::glfnlen>},
    {"racer_glcutun", kSwitch, at<&M::racer, &R::glcutun>},
    {"racer_glcutgr", kSwitch, at<&M::racer, &R::glcutgr>},
    {"racer_glcutdp", kSwitch, at<&M::racer, &R::glcutdp>},
    {"racer_glcutdn", kSwitch, at<&M::racer, &R::glcutdn>},
    {"racer_glcutfn", kSwitch, at<&M::racer, &R::glcutfn>},
    {"racer_gsortu", kChoice, at<&M::racer, &R::gsortu>, kKinds},
    {"racer_gsortg", kChoice, at<&M::racer, &R::gsortg>, kKinds},
    {"racer_sen", kSwitch, at<&M::racer, &R::sen>},
    {"racer_sbody", kText, at<&M::racer, &R::sbody>},
    {"racer_suser", kText, at<&M::racer, &R::suser>},
    {"racer_sgroup", kText, at<&M::racer, &R::sgroup>},
    {"racer_sbdplen", kNumber, at<&M::racer, &R::sbdplen>},
    {"racer_sbdnlen", kNumber, at<&M::racer, &R::sbdnlen>},
    {"racer_sbfnlen", kNumber, at<&M::racer, &R::sbfnlen>},
    {"racer_sbcutdp", kSwitch, at<&M::racer, &R::sbcutdp>},
    {"racer_sbcutdn", kSwitch, at<&M::racer, &R::sbcutdn>},
    {"racer_sbcutfn", kSwitch, at<&M::racer, &R::sbcutfn>},
    {"racer_sbarempty", kText, at<&M::racer, &R::sbarempty>},
    {"racer_sbarfull", kText, at<&M::racer, &R::sbarfull>},
    {"racer_sbarlen", kNumber, at<&M::racer, &R::sbarlen>},
    {"racer_slunlen", kNumber, at<&M::racer, &R::slunlen>},
    {"racer_slgrlen", kNumber, at<&M::racer, &R::slgrlen>},
    {"racer_sldplen", kNumber, at<&M::racer, &R::sldplen>},
    {"racer_sldnlen", kNumber, at<&M::racer, &R::sldnlen>},
    {"racer_slfnlen", kNumber, at<&M::racer, &R::slfnlen>},
    {"racer_slcutun", kSwitch, at<&M::racer, &R::slcutun>},
    {"racer_slcutgr", kSwitch, at<&M::racer, &R::slcutgr>},
    {"racer_slcutdp", kSwitch, at<&M::racer, &R::slcutdp>},
    {"racer_slcutdn", kSwitch, at<&M::racer, &R::slcutdn>},
    {"racer_slcutfn", kSwitch, at<&M::racer, &R::slcutfn>},
    {"racer_ssortu", kChoice, at<&M::racer, &R::ssortu>, kKinds},
    {"racer_ssortg", kChoice, at<&M::racer, &R::ssortg>, kKinds},
    {"racer_men", kSwitch, at<&M::racer, &R::men>},
    {"racer_mbody", kText, at<&M::racer, &R::mbody>},
    {"racer_marlen", kNumber, at<&M::racer, &R::marlen>},
    {"racer_mallen", kNumber, at<&M::racer, &R::mallen>},
    {"racer_mgelen", kNumber, at<&M::racer, &R::mgelen>},
    {"racer_mmmlen", kNumber, at<&M::racer, &R::mmmlen>},
    {"racer_mcolen", kNumber, at<&M::racer, &R::mcolen>},
    {"racer_mcutar", kSwitch, at<&M::racer, &R::mcutar>},
    {"racer_mcutal", kSwitch, at<&M::racer, &R::mcutal>},
    {"racer_mcutge", kSwitch, at<&M::racer, &R::mcutge>},
    {"racer_mcutmm", kSwitch, at<&M::racer, &R::mcutmm>},
    {"racer_mcutco", kSwitch, at<&M::racer, &R::mcutco>},
};

}  // namespace

const Block<GConfig> kGeneral = blockOf(kGeneralRows);
const Block<GConfig> kMessageBoard = blockOf(kMessageBoardRows);
const Block<GConfig> kRequestBoard = blockOf(kRequestBoardRows);
const Block<GConfig> kNewDirList = blockOf(kNewDirListRows);
const Block<GConfig> kSpecialList = blockOf(kSpecialListRows);
const Block<GConfig> kDawnroll = blockOf(kDawnrollRows);
const Block<LConfig> kLinker = blockOf(kLinkerRows);
const Block<MConfig> kModule = blockOf(kModuleRows);
const Block<MConfig> kRacer = blockOf(kRacerRows);

std::vector<Block<GConfig>> globalTable() {
  return {kGeneral, kMessageBoard, kRequestBoard, kNewDirList, kSpecialList, kDawnroll};
}

std::vector<Block<LConfig>> linkerTable() { return {kLinker}; }

std::vector<Block<MConfig>> moduleTable() { return {kModule, kRacer}; }

}  // namespace brindleset::tables
