#include "programs/brindleset/linker_panel.h"

#include <vector>

#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/group_list.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/window_controls.h"

namespace brindleset {

namespace {

constexpr int kWidth = 600;  // of a panel
constexpr int kMargin = 8;
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kEditLeft = 125;
constexpr const char* kGroupListFilter = "text files|*.txt|All files|*.*";

}  // namespace

LinkerPanel::LinkerPanel(TMainWindow& window, TPanel* panel) : window_(window) {
  build(panel);
  rows_.bind(*panel, tables::kLinker);
}

void LinkerPanel::show(LConfig& settings) { rows_.show(settings); }

void LinkerPanel::take(LConfig& settings) { rows_.take(settings); }

void LinkerPanel::build(TPanel* p) {
  addCheck(p, "link_en", "enable mp3 linker", kMargin + 2, 8, 160);
  addCheck(p, "link_show", "show linker window", 175, 8, 165);
  addCheck(p, "link_makeunknown", "link files with unknown tags", 345, 8, 240);

  struct Tree {
    const char* check;
    const char* caption;
    const char* folder;
  };
  const Tree kinds[] = {
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
  for (const Tree& kind : kinds) {
    addCheck(sortBy, kind.check, kind.caption, 10, top + 1, 130);
    addPathEdit(window_, sortBy, kind.folder, 145, top, kInner - 155);
    top += kRowStep;
  }
  top = 34 + 22 + 6 * kRowStep + 12;
  addLabel(p, "log file:", kMargin + 2, top, 110);
  addFileEdit(window_, p, "link_logfile", "llog_browse", kEditLeft, top,
              kWidth - kMargin - kEditLeft);
  top += kRowStep + 4;

  int half = (kInner - 8) / 2;
  int height = 168;
  TGroupBox* groups = addGroup(p, "link_grset", "group settings", kMargin, top, half, height);
  addListEditor(window_, groups, "link_list", 10, 22, half - 120, height - 32);
  groups_ = byName<TListBox>(*groups, "link_list");
  addRadio(groups, "link_listp0", "positive list", half - 102, 22, 96);
  addRadio(groups, "link_listp1", "negative list", half - 102, 46, 96);
  TButton* saveList = addButton(groups, "link_save", "save", 186, 84, 90);
  saveList->OnClick = forms::handler(&window_, &TMainWindow::link_saveClick);
  TButton* loadList = addButton(groups, "link_load", "load", 186, 114, 90);
  loadList->OnClick = forms::handler(&window_, &TMainWindow::link_loadClick);
  TGroupBox* pathes =
      addGroup(p, "link_paset", "pathes to scan", kMargin + half + 8, top, half, height);
  addListEditor(window_, pathes, "link_pathes", 10, 22, half - 20, height - 32);
  byName<TEdit>(*pathes, "link_pathinp")->OnKeyPress =
      forms::handler(&window_, &TMainWindow::IsPathname);
  addOwner(window_, p,
           {"", "owner of the links", "link_change", "link_username", "link_group", "link_allow"},
           kMargin, top + height + 6, kInner, 50, 20);
}

void LinkerPanel::saveGroupList() {
  TSaveDialog dialog(&window_);
  dialog.DefaultExt = "txt";
  dialog.FileName = "grouplist.txt";
  dialog.Filter = kGroupListFilter;
  dialog.Title = "Save grouplist.";
  dialog.Options = ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  if (!dialog.Execute()) return;
  std::vector<XString> names;
  TStrings* items = groups_->Items();
  for (int i = 0; i < items->Count(); ++i) names.push_back(items->Strings(i));
  if (!writeGroupList(dialog.FileName.c_str(), names)) {
    Application->MessageBox(XString("The group list could not be written to ") + dialog.FileName,
                            "error", 0);
  }
}

void LinkerPanel::loadGroupList() {
  TOpenDialog dialog(&window_);
  dialog.DefaultExt = "txt";
  dialog.FileName = "grouplist.txt";
  dialog.Filter = kGroupListFilter;
  dialog.Title = "Load a grouplist.";
  dialog.Options = ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofFileMustExist;
  if (!dialog.Execute()) return;
  std::vector<XString> names;
  if (!readGroupList(dialog.FileName.c_str(), names)) {
    Application->MessageBox(XString("The group list could not be read from ") + dialog.FileName,
                            "error", 0);
    return;
  }
  TStrings* items = groups_->Items();
  items->Clear();
  for (const XString& name : names) items->Add(name);
}

}  // namespace brindleset
