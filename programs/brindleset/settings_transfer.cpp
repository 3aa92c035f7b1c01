// The global and link-builder settings into the panels and back.
#include "platform/paths.h"
#include "programs/brindleset/form_fields.h"
#include "programs/brindleset/main_window.h"

using namespace brindleset;  // NOLINT: the field moves read best unqualified

namespace {

constexpr int kLevels = 4;  // root, super, normal, guest
constexpr const char* kNumbersOnly =
    "username length, message length and maximum entrys must contain numbers only!";

}  // namespace

void TMainWindow::settingsToForm() {
  const TComponent& f = *this;
  GConfig& g = globalConfig;
  showText(f, "userfile", g.userfile);
  showText(f, "vfsfile", g.vfsfile);
  showText(f, "vfsbackup", g.vfsbackup);
  showText(f, "raidenftpd", g.raidenftpd);
  showNumber(f, "vfs_maxentrys", g.vfs_maxentrys);
  showList(f, "mcd_list", g.mcd_list);
  showList(f, "deny_list", g.deny_list);

  showSwitch(f, "mb_en", g.mb.en);
  showSwitch(f, "mb_maxmode", g.mb.maxmode);
  showSwitch(f, "mb_cutun", g.mb.cutun);
  showSwitch(f, "mb_cuttxt", g.mb.cuttxt);
  showSwitch(f, "mb_messageifdis", g.mb.messageifdis);
  showNumber(f, "mb_maxentrys", g.mb.maxentrys);
  showChoice(f, "delm_", kLevels, g.mb.delm);
  showChoice(f, "postm_", kLevels, g.mb.postm);
  showText(f, "mb_lineformat", g.mb.lineformat);
  showText(f, "mb_head", g.mb.head);
  showText(f, "mb_tail", g.mb.tail);
  showText(f, "mb_file", g.mb.file);
  showNumber(f, "mb_unlen", g.mb.unlen);
  showNumber(f, "mb_tlen", g.mb.tlen);
  updateMBoard(nullptr);

  showSwitch(f, "rb_en", g.rb.en);
  showSwitch(f, "rb_maxmode", g.rb.maxmode);
  showSwitch(f, "rb_postfilled", g.rb.postfilled);
  showSwitch(f, "rb_makedir", g.rb.makedir);
  showSwitch(f, "rb_cutun", g.rb.cutun);
  showSwitch(f, "rb_cuttxt", g.rb.cuttxt);
  showSwitch(f, "rb_messageifdis", g.rb.messageifdis);
  showNumber(f, "rb_maxentrys", g.rb.maxentrys);
  showChoice(f, "delr_", kLevels, g.rb.delr);
  showChoice(f, "postr_", kLevels, g.rb.postr);
  showText(f, "rb_lineformat", g.rb.lineformat);
  showText(f, "rb_head", g.rb.head);
  showText(f, "rb_tail", g.rb.tail);
  showText(f, "rb_preqpath", g.rb.preqpath);
  showText(f, "rb_file", g.rb.file);
  showNumber(f, "rb_unlen", g.rb.unlen);
  showNumber(f, "rb_tlen", g.rb.tlen);
  updateRBoard(nullptr);

  showSwitch(f, "ndl_en", g.ndl.en);
  showSwitch(f, "ndl_cutun", g.ndl.cutun);
  showSwitch(f, "ndl_cuttxt", g.ndl.cuttxt);
  showSwitch(f, "ndl_cutname", g.ndl.cutname);
  showSwitch(f, "ndl_messageifdis", g.ndl.messageifdis);
  showNumber(f, "ndl_maxentrys", g.ndl.maxentrys);
  showText(f, "ndl_lineformat", g.ndl.lineformat);
  showText(f, "ndl_head", g.ndl.head);
  showText(f, "ndl_tail", g.ndl.tail);
  showText(f, "ndl_file", g.ndl.file);
  showNumber(f, "ndl_unlen", g.ndl.unlen);
  showNumber(f, "ndl_tlen", g.ndl.tlen);
  showNumber(f, "ndl_namelen", g.ndl.namelen);
  updateNDL(nullptr);
  showList(f, "ndl_exlist", g.ndl_exlist);

  showSwitch(f, "ndlspecial_cutun", g.ndlspecial.cutun);
  showSwitch(f, "ndlspecial_cuttxt", g.ndlspecial.cuttxt);
  showSwitch(f, "ndlspecial_cutname", g.ndlspecial.cutname);
  showNumber(f, "ndlspecial_maxentrys", g.ndlspecial.maxentrys);
  showText(f, "ndlspecial_lineformat", g.ndlspecial.lineformat);
  showText(f, "ndlspecial_head", g.ndlspecial.head);
  showText(f, "ndlspecial_tail", g.ndlspecial.tail);
  showNumber(f, "ndlspecial_unlen", g.ndlspecial.unlen);
  showNumber(f, "ndlspecial_tlen", g.ndlspecial.tlen);
  showNumber(f, "ndlspecial_namelen", g.ndlspecial.namelen);

  showSwitch(f, "nd_en", g.nd.en);
  showSwitch(f, "nd_today", g.nd.today);
  showSwitch(f, "nd_yesterday", g.nd.yesterday);
  showText(f, "nd_path", g.nd.path);
  showText(f, "nd_format", g.nd.format);
  showText(f, "nd_todaylink", g.nd.todaylink);
  showText(f, "nd_yesterdaylink", g.nd.yesterdaylink);
  showOwner(f, "nd_usernametod", "nd_grouptod", "nd_allowtod", g.tod);
  showOwner(f, "nd_usernamepast", "nd_grouppast", "nd_allowpast", g.past);
  updateDawnrollDir(nullptr);

  LConfig& l = linkerConfig;
  showText(f, "link_artistdir", l.link_artistdir);
  showText(f, "link_genredir", l.link_genredir);
  showText(f, "link_groupdir", l.link_groupdir);
  showText(f, "link_yeardir", l.link_yeardir);
  showText(f, "link_dirnamedir", l.link_dirnamedir);
  showText(f, "link_allinonedir", l.link_allinonedir);
  showText(f, "link_logfile", l.link_logfile);
  showList(f, "link_list", l.link_list);
  showList(f, "link_pathes", l.link_pathes);
  showSwitch(f, "link_en", l.link_en);
  showSwitch(f, "link_artisten", l.link_artisten);
  showSwitch(f, "link_genreen", l.link_genreen);
  showSwitch(f, "link_groupen", l.link_groupen);
  showSwitch(f, "link_yearen", l.link_yearen);
  showSwitch(f, "link_dirnameen", l.link_dirnameen);
  showSwitch(f, "link_allinoneen", l.link_allinoneen);
  // Two buttons for one switch: "positive list" is the set state.
  byName<TRadioButton>(f, l.link_listp ? "link_listp0" : "link_listp1")->setChecked(true);
  showOwner(f, "link_username", "link_group", "link_allow", l.link_owner);
  showSwitch(f, "link_show", l.link_show);
  showSwitch(f, "link_makeunknown", l.link_makeunknown);

  moduleToForm();
}

// The blocks are taken in order. Within a block that holds numbers, a number
// that does not convert leaves it and the fields after it as they were,
// shows the block's panel with a message, and stops the whole transfer:
// nothing is saved, and the next save takes every control again.
bool TMainWindow::formToSettings() {
  if (!takeGeneral() || !takeMessageBoard() || !takeRequestBoard() || !takeNewDirList() ||
      !takeSpecialList()) {
    return false;
  }
  takeDawnroll();
  takeLinker();
  return formToModule();
}

namespace {

// Runs one block of fields; false, after the message with `panel` shown,
// when one of its numbers does not convert.
template <class Take>
bool guarded(TMainWindow& window, TPanel* panel, Take take) {
  try {
    take();
    return true;
  } catch (const EConvertError&) {
    window.showPanel(panel);
    Application->MessageBox(kNumbersOnly, "error", 0);
    return false;
  }
}

}  // namespace

bool TMainWindow::takeGeneral() {
  const TComponent& f = *this;
  GConfig& g = globalConfig;
  return guarded(*this, panels_general, [&] {
    g.userfile = takeText(f, "userfile");
    g.vfsfile = takeText(f, "vfsfile");
    g.vfsbackup = takeText(f, "vfsbackup");
    g.raidenftpd = takeText(f, "raidenftpd");
    g.vfs_maxentrys = takeNumber(f, "vfs_maxentrys");
    takeList(f, "mcd_list", g.mcd_list);
    takeList(f, "deny_list", g.deny_list);
  });
}

bool TMainWindow::takeMessageBoard() {
  const TComponent& f = *this;
  MBoardSettings& mb = globalConfig.mb;
  return guarded(*this, panels_messageboard, [&] {
    mb.en = takeSwitch(f, "mb_en");
    mb.maxmode = takeSwitch(f, "mb_maxmode");
    mb.cutun = takeSwitch(f, "mb_cutun");
    mb.cuttxt = takeSwitch(f, "mb_cuttxt");
    mb.messageifdis = takeSwitch(f, "mb_messageifdis");
    mb.maxentrys = takeNumber(f, "mb_maxentrys");
    mb.delm = takeChoice(f, "delm_", kLevels);
    mb.postm = takeChoice(f, "postm_", kLevels);
    mb.lineformat = takeText(f, "mb_lineformat");
    mb.head = takeText(f, "mb_head");
    mb.tail = takeText(f, "mb_tail");
    mb.file = takeText(f, "mb_file");
    mb.unlen = takeNumber(f, "mb_unlen");
    mb.tlen = takeNumber(f, "mb_tlen");
  });
}

bool TMainWindow::takeRequestBoard() {
  const TComponent& f = *this;
  RBoardSettings& rb = globalConfig.rb;
  return guarded(*this, panels_requestboard, [&] {
    rb.en = takeSwitch(f, "rb_en");
    rb.maxmode = takeSwitch(f, "rb_maxmode");
    rb.postfilled = takeSwitch(f, "rb_postfilled");
    rb.makedir = takeSwitch(f, "rb_makedir");
    rb.cutun = takeSwitch(f, "rb_cutun");
    rb.cuttxt = takeSwitch(f, "rb_cuttxt");
    rb.messageifdis = takeSwitch(f, "rb_messageifdis");
    rb.maxentrys = takeNumber(f, "rb_maxentrys");
    rb.delr = takeChoice(f, "delr_", kLevels);
    rb.postr = takeChoice(f, "postr_", kLevels);
    rb.lineformat = takeText(f, "rb_lineformat");
    rb.head = takeText(f, "rb_head");
    rb.tail = takeText(f, "rb_tail");
    rb.file = takeText(f, "rb_file");
    rb.preqpath = takeText(f, "rb_preqpath");
    rb.unlen = takeNumber(f, "rb_unlen");
    rb.tlen = takeNumber(f, "rb_tlen");
    // The folders of filled requests are made inside it.
    if (!rb.preqpath.empty()) rb.preqpath.ensureTrailing(platform::kPathSep);
  });
}

bool TMainWindow::takeNewDirList() {
  const TComponent& f = *this;
  GConfig& g = globalConfig;
  return guarded(*this, panels_newdirlist, [&] {
    g.ndl.en = takeSwitch(f, "ndl_en");
    g.ndl.cutun = takeSwitch(f, "ndl_cutun");
    g.ndl.cuttxt = takeSwitch(f, "ndl_cuttxt");
    g.ndl.cutname = takeSwitch(f, "ndl_cutname");
    g.ndl.messageifdis = takeSwitch(f, "ndl_messageifdis");
    g.ndl.maxentrys = takeNumber(f, "ndl_maxentrys");
    g.ndl.lineformat = takeText(f, "ndl_lineformat");
    g.ndl.head = takeText(f, "ndl_head");
    g.ndl.tail = takeText(f, "ndl_tail");
    g.ndl.file = takeText(f, "ndl_file");
    g.ndl.unlen = takeNumber(f, "ndl_unlen");
    g.ndl.tlen = takeNumber(f, "ndl_tlen");
    g.ndl.namelen = takeNumber(f, "ndl_namelen");
    // Folders are matched without their final separator.
    takeList(f, "ndl_exlist", g.ndl_exlist, true);
  });
}

bool TMainWindow::takeSpecialList() {
  const TComponent& f = *this;
  NewDirListSettings& s = globalConfig.ndlspecial;
  return guarded(*this, panels_ndlspecial, [&] {
    s.cutun = takeSwitch(f, "ndlspecial_cutun");
    s.cuttxt = takeSwitch(f, "ndlspecial_cuttxt");
    s.cutname = takeSwitch(f, "ndlspecial_cutname");
    s.maxentrys = takeNumber(f, "ndlspecial_maxentrys");
    s.lineformat = takeText(f, "ndlspecial_lineformat");
    s.head = takeText(f, "ndlspecial_head");
    s.tail = takeText(f, "ndlspecial_tail");
    s.unlen = takeNumber(f, "ndlspecial_unlen");
    s.tlen = takeNumber(f, "ndlspecial_tlen");
    s.namelen = takeNumber(f, "ndlspecial_namelen");
  });
}

void TMainWindow::takeDawnroll() {
  const TComponent& f = *this;
  GConfig& g = globalConfig;
  g.nd.en = takeSwitch(f, "nd_en");
  g.nd.today = takeSwitch(f, "nd_today");
  g.nd.yesterday = takeSwitch(f, "nd_yesterday");
  g.nd.path = takeText(f, "nd_path");
  g.nd.format = takeText(f, "nd_format");
  g.nd.todaylink = takeText(f, "nd_todaylink");
  g.nd.yesterdaylink = takeText(f, "nd_yesterdaylink");
  takeOwner(f, "nd_usernametod", "nd_grouptod", "nd_allowtod", g.tod);
  takeOwner(f, "nd_usernamepast", "nd_grouppast", "nd_allowpast", g.past);
}

void TMainWindow::takeLinker() {
  const TComponent& f = *this;
  LConfig& l = linkerConfig;
  l.link_artistdir = takeText(f, "link_artistdir");
  l.link_genredir = takeText(f, "link_genredir");
  l.link_groupdir = takeText(f, "link_groupdir");
  l.link_yeardir = takeText(f, "link_yeardir");
  l.link_dirnamedir = takeText(f, "link_dirnamedir");
  l.link_allinonedir = takeText(f, "link_allinonedir");
  l.link_logfile = takeText(f, "link_logfile");
  takeList(f, "link_list", l.link_list);
  takeList(f, "link_pathes", l.link_pathes);
  l.link_en = takeSwitch(f, "link_en");
  l.link_artisten = takeSwitch(f, "link_artisten");
  l.link_genreen = takeSwitch(f, "link_genreen");
  l.link_groupen = takeSwitch(f, "link_groupen");
  l.link_yearen = takeSwitch(f, "link_yearen");
  l.link_dirnameen = takeSwitch(f, "link_dirnameen");
  l.link_allinoneen = takeSwitch(f, "link_allinoneen");
  l.link_listp = byName<TRadioButton>(f, "link_listp0")->Checked();
  takeOwner(f, "link_username", "link_group", "link_allow", l.link_owner);
  l.link_show = takeSwitch(f, "link_show");
  l.link_makeunknown = takeSwitch(f, "link_makeunknown");
}
