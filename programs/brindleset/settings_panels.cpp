// The panels of the global and link-builder settings. Each control bears the
// name of the setting it edits. The lower right corner of each board panel
// is kept free for the panel's tools.
#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/form_fields.h"
#include "programs/brindleset/list_editors.h"
#include "programs/brindleset/main_window.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

namespace {

constexpr int kWidth = 600;  // of a panel
constexpr int kHeight = 500;
constexpr int kMargin = 8;  // between a panel's edge and its controls
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kEditLeft = 125;  // where edits begin after their caption
constexpr int kNumberWidth = 60;
constexpr int kBrowseWidth = 28;
constexpr int kSmallButton = 26;  // "+" and "-"

}  // namespace

void TMainWindow::addPathEdit(TEdit* edit) {
  edit->OnKeyPress = forms::handler(this, &TMainWindow::IsPathname);
}

void TMainWindow::addNumberEdit(TEdit* edit) {
  edit->OnKeyPress = forms::handler(this, &TMainWindow::OnlyNumbers);
}

void TMainWindow::addFileEdit(TWinControl* parent, const char* editName, const char* browseName,
                              int left, int top, int width) {
  addPathEdit(addEdit(parent, editName, left, top, width - kBrowseWidth - 4));
  TButton* browse =
      addButton(parent, browseName, "...", left + width - kBrowseWidth, top - 1, kBrowseWidth);
  browse->OnClick = forms::handler(this, &TMainWindow::onBrowse);
}

void TMainWindow::addListEditor(TWinControl* parent, const char* listName, int left, int top,
                                int width, int height) {
  const ListEditor* names = listEditorOf(listName);
  int inputTop = top + height - kEditHeight;
  auto* list = new TListBox(parent, names->list);
  list->SetBounds(left, top, width, height - kEditHeight - 6);
  list->setMultiSelect(names->multiSelect);
  list->OnClick = forms::handler(this, &TMainWindow::onListClick);
  int inputWidth = width - 2 * (kSmallButton + 4);
  addEdit(parent, names->input, left, inputTop, inputWidth);
  TButton* add =
      addButton(parent, names->add, "+", left + inputWidth + 4, inputTop - 1, kSmallButton);
  add->OnClick = forms::handler(this, &TMainWindow::onListAdd);
  TButton* del =
      addButton(parent, names->del, "-", left + width - kSmallButton, inputTop - 1, kSmallButton);
  del->OnClick = forms::handler(this, &TMainWindow::onListDel);
}

void TMainWindow::buildGeneralPanel() {
  TPanel* p = panels_general;
  struct File {
    const char* group;
    const char* caption;
    const char* edit;
    const char* browse;
  };
  const File files[] = {
      {"p_userfile", "user file of the server", "userfile", "user_browse"},
      {"p_vfsfile", "vfs file of the server", "vfsfile", "vfs_browse"},
      {"p_vfsbackup", "backup copy of the vfs file", "vfsbackup", "vfsbackup_browse"},
      {"p_raidenftpd", "the server's program (RaidenFTPD.exe)", "raidenftpd", "raidenftpd_browse"},
  };
  int top = 6;
  for (const File& file : files) {
    TGroupBox* group = addGroup(p, file.group, file.caption, kMargin, top, kInner, 52);
    addFileEdit(group, file.edit, file.browse, 10, 22, kInner - 20);
    top += 56;
  }
  addLabel(p, "maximum vfs entrys:", kMargin + 2, top + 4, 130);
  addNumberEdit(addEdit(p, "vfs_maxentrys", kMargin + 2 + 135, top + 4, kNumberWidth));

  int half = (kInner - 8) / 2;
  TGroupBox* mcd = addGroup(p, "p_mcd", "multiCD list", kMargin, top + 38, half, 212);
  addListEditor(mcd, "mcd_list", 10, 22, half - 20, 180);
  TGroupBox* deny = addGroup(p, "p_deny", "deny list", kMargin + half + 8, top + 38, half, 212);
  addListEditor(deny, "deny_list", 10, 22, half - 20, 180);
}

namespace {

// "who may post" and "who may delete": one radio button per user level.
void addLevels(TWinControl* parent, const char* group, const char* caption, const char* prefix,
               int left, int top, int width) {
  TGroupBox* box = addGroup(parent, group, caption, left, top, width, 48);
  const char* levels[] = {"root", "super", "normal", "guest"};
  for (int i = 0; i < 4; ++i) {
    XString name(prefix);
    name += XString(i);
    addRadio(box, name.c_str(), levels[i], 10 + i * 68, 22, 66);
  }
}

// The length and count edits of a list with their cut boxes, the directory
// name's too `withName`. Returns the top of the row after them.
int addLimits(TWinControl* p, const XString& prefix, const char* textCaption,
              const char* cutTextCaption, bool withName, int top, TMainWindow* window,
              void (TMainWindow::*numbers)(TObject*, char&)) {
  auto name = [&prefix](const char* member) { return prefix + member; };
  auto number = [&](const char* member, int left, int row) {
    TEdit* edit = addEdit(p, name(member).c_str(), left, row, kNumberWidth);
    edit->OnKeyPress = forms::handler(window, numbers);
  };
  addLabel(p, "username length:", kMargin + 2, top, 115);
  number("unlen", kEditLeft, top);
  addCheck(p, name("cutun").c_str(), "cut username", kEditLeft + kNumberWidth + 10, top + 1, 130);
  addLabel(p, "maximum entrys:", 345, top, 110);
  number("maxentrys", 455, top);
  top += kRowStep;
  addLabel(p, textCaption, kMargin + 2, top, 115);
  number("tlen", kEditLeft, top);
  addCheck(p, name("cuttxt").c_str(), cutTextCaption, kEditLeft + kNumberWidth + 10, top + 1, 130);
  top += kRowStep;
  if (withName) {
    addLabel(p, "dirname length:", kMargin + 2, top, 115);
    number("namelen", kEditLeft, top);
    addCheck(p, name("cutname").c_str(), "cut dirname", kEditLeft + kNumberWidth + 10, top + 1,
             130);
    top += kRowStep;
  }
  return top;
}

// The row template, the head and the tail of a rendered list. Returns the
// top of the row after them.
int addTemplates(TWinControl* p, const XString& prefix, int top, int headLines) {
  const int lineHeight = 15;
  addLabel(p, "line format:", kMargin + 2, top, 110);
  addEdit(p, (prefix + "lineformat").c_str(), kEditLeft, top, kWidth - kMargin - kEditLeft)
      ->setFixedPitch(true);
  top += kRowStep + 2;
  addLabel(p, "head:", kMargin + 2, top - 4, 110);
  int headHeight = headLines * lineHeight + 12;
  addMemo(p, (prefix + "head").c_str(), kMargin, top + 14, kInner, headHeight);
  top += 14 + headHeight + 4;
  addLabel(p, "tail:", kMargin + 2, top - 4, 110);
  int tailHeight = 3 * lineHeight + 12;
  addMemo(p, (prefix + "tail").c_str(), kMargin, top + 14, kInner, tailHeight);
  return top + 14 + tailHeight + 6;
}

}  // namespace

void TMainWindow::buildMessageBoardPanel() {
  TPanel* p = panels_messageboard;
  TCheckBox* en = addCheck(p, "mb_en", "enable board", kMargin + 2, 8, 150);
  en->OnClick = forms::handler(this, &TMainWindow::updateMBoard);
  addCheck(p, "mb_messageifdis", "message if disabled", 170, 8, 170);
  addCheck(p, "mb_maxmode", "delete old if full", 345, 8, 200);
  int top = addLimits(p, "mb_", "message length:", "cut message", false, 36, this,
                      &TMainWindow::OnlyNumbers);
  int half = (kInner - 8) / 2;
  addLevels(p, "mb_post", "who may post", "postm_", kMargin, top, half);
  addLevels(p, "mb_del", "who may delete any message", "delm_", kMargin + half + 8, top, half);
  top = addTemplates(p, "mb_", top + 56, 5);
  addLabel(p, "output files:", kMargin + 2, top, 110);
  addFileEdit(p, "mb_file", "mb_browse", kEditLeft, top, kWidth - kMargin - kEditLeft);
}

void TMainWindow::buildRequestBoardPanel() {
  TPanel* p = panels_requestboard;
  TCheckBox* en = addCheck(p, "rb_en", "enable board", kMargin + 2, 8, 150);
  en->OnClick = forms::handler(this, &TMainWindow::updateRBoard);
  addCheck(p, "rb_messageifdis", "message if disabled", 170, 8, 170);
  addCheck(p, "rb_maxmode", "delete old if full", 345, 8, 200);
  int top = addLimits(p, "rb_", "request length:", "cut request", false, 36, this,
                      &TMainWindow::OnlyNumbers);
  addCheck(p, "rb_postfilled", "post filled requests", 345, top - kRowStep + 1, 200);
  addLabel(p, "request folder:", kMargin + 2, top, 115);
  addPathEdit(addEdit(p, "rb_preqpath", kEditLeft, top, 210));
  addCheck(p, "rb_makedir", "create upload dir", 345, top + 1, 200);
  top += kRowStep + 2;
  int half = (kInner - 8) / 2;
  addLevels(p, "rb_post", "who may post", "postr_", kMargin, top, half);
  addLevels(p, "rb_del", "who may delete any request", "delr_", kMargin + half + 8, top, half);
  top = addTemplates(p, "rb_", top + 56, 5);
  addLabel(p, "output files:", kMargin + 2, top, 110);
  addFileEdit(p, "rb_file", "rb_browse", kEditLeft, top, kWidth - kMargin - kEditLeft);
}

void TMainWindow::buildNewDirListPanel() {
  TPanel* p = panels_newdirlist;
  TCheckBox* en = addCheck(p, "ndl_en", "enable list", kMargin + 2, 8, 150);
  en->OnClick = forms::handler(this, &TMainWindow::updateNDL);
  addCheck(p, "ndl_messageifdis", "message if disabled", 170, 8, 170);
  int top =
      addLimits(p, "ndl_", "path length:", "cut path", true, 36, this, &TMainWindow::OnlyNumbers);
  top = addTemplates(p, "ndl_", top + 2, 5);
  addLabel(p, "output files:", kMargin + 2, top, 110);
  addFileEdit(p, "ndl_file", "ndl_browse", kEditLeft, top, kWidth - kMargin - kEditLeft);
  top += kRowStep + 4;
  int height = kHeight - kMargin - top;
  TGroupBox* excluded =
      addGroup(p, "ndl_exset", "directorys kept out of the lists", kMargin, top, 400, height);
  addListEditor(excluded, "ndl_exlist", 10, 22, 380, height - 30);
}

void TMainWindow::buildSpecialListPanel() {
  TPanel* p = panels_ndlspecial;
  addLabel(p, "The layout of the new directory list that each module may keep of its own.",
           kMargin + 2, 6, kInner);
  int top = addLimits(p, "ndlspecial_", "path length:", "cut path", true, 36, this,
                      &TMainWindow::OnlyNumbers);
  addTemplates(p, "ndlspecial_", top + 2, 5);
}

namespace {

// An owner, group and rights shown in labels, set by the owner dialog.
void addOwner(TWinControl* parent, const char* caption, const char* user, const char* group,
              const char* allow, int top) {
  TGroupBox* box = addGroup(parent, "", caption, kMargin, top, kInner, 50);
  addLabel(box, "username:", 10, 20, 70);
  addNamedLabel(box, user, 80, 20, 130);
  addLabel(box, "group:", 220, 20, 50);
  addNamedLabel(box, group, 270, 20, 110);
  addLabel(box, "rights:", 390, 20, 50);
  addNamedLabel(box, allow, 440, 20, 40);
}

}  // namespace

void TMainWindow::buildDawnrollPanel() {
  TPanel* p = panels_dawnrolldir;
  TCheckBox* en = addCheck(p, "nd_en", "enable dawnroll dir", kMargin + 2, 8, 200);
  en->OnClick = forms::handler(this, &TMainWindow::updateDawnrollDir);
  int top = 36;
  addLabel(p, "folder of the day dirs:", kMargin + 2, top, 160);
  addEdit(p, "nd_path", 175, top, kWidth - kMargin - 175);
  top += kRowStep;
  addLabel(p, "name of a day dir:", kMargin + 2, top, 160);
  addEdit(p, "nd_format", 175, top, 200)->setFixedPitch(true);
  top += kRowStep;
  addCheck(p, "nd_today", "create today link:", kMargin + 2, top + 1, 160);
  addEdit(p, "nd_todaylink", 175, top, kWidth - kMargin - 175);
  top += kRowStep;
  addCheck(p, "nd_yesterday", "create yesterday link:", kMargin + 2, top + 1, 160);
  addEdit(p, "nd_yesterdaylink", 175, top, kWidth - kMargin - 175);
  top += kRowStep + 10;
  addOwner(p, "owner of today's dir", "nd_usernametod", "nd_grouptod", "nd_allowtod", top);
  addOwner(p, "owner of past dirs", "nd_usernamepast", "nd_grouppast", "nd_allowpast", top + 58);
}

void TMainWindow::buildTunelacerPanel() {
  TPanel* p = panels_tunelacer;
  addCheck(p, "link_en", "enable mp3 linker", kMargin + 2, 8, 160);
  addCheck(p, "link_show", "show linker window", 175, 8, 165);
  addCheck(p, "link_makeunknown", "link files with unknown tags", 345, 8, 240);

  struct Kind {
    const char* check;
    const char* caption;
    const char* folder;
  };
  const Kind kinds[] = {
      {"link_artisten", "artist", "link_artistdir"},
      {"link_genreen", "genre", "link_genredir"},
      {"link_groupen", "group", "link_groupdir"},
      {"link_yearen", "year", "link_yeardir"},
      {"link_dirnameen", "directory name", "link_dirnamedir"},
      {"link_allinoneen", "all in one", "link_allinonedir"},
  };
  TGroupBox* sortBy = addGroup(p, "link_sortby", "sort by (folder of each link tree)", kMargin, 34,
                               kInner, 22 + 6 * kRowStep + 4);
  int top = 22;
  for (const Kind& kind : kinds) {
    addCheck(sortBy, kind.check, kind.caption, 10, top + 1, 130);
    addPathEdit(addEdit(sortBy, kind.folder, 145, top, kInner - 155));
    top += kRowStep;
  }
  top = 34 + 22 + 6 * kRowStep + 12;
  addLabel(p, "log file:", kMargin + 2, top, 110);
  addFileEdit(p, "link_logfile", "llog_browse", kEditLeft, top, kWidth - kMargin - kEditLeft);
  top += kRowStep + 4;

  int half = (kInner - 8) / 2;
  int height = 168;
  TGroupBox* groups = addGroup(p, "link_grset", "group settings", kMargin, top, half, height);
  addListEditor(groups, "link_list", 10, 22, half - 120, height - 32);
  addRadio(groups, "link_listp0", "positive list", half - 102, 22, 96);
  addRadio(groups, "link_listp1", "negative list", half - 102, 46, 96);
  TGroupBox* pathes =
      addGroup(p, "link_paset", "pathes to scan", kMargin + half + 8, top, half, height);
  addListEditor(pathes, "link_pathes", 10, 22, half - 20, height - 32);
  addPathEdit(byName<TEdit>(*pathes, "link_pathinp"));
  addOwner(p, "owner of the links", "link_username", "link_group", "link_allow", top + height + 6);
}
