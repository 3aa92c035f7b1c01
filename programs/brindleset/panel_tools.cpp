// The panel tools of the main window: the store resets, the group list
// file, the help call, the bar previews, the placeholder legends, the
// tag-id edits, the advertisement file and the owner dialog. Each acts on
// the controls or on a file at once; the settings take the controls only
// when they are saved.
#include "programs/brindleset/panel_tools.h"

#include <vector>

#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "programs/brindleset/chmod_popup.h"
#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/form_fields.h"
#include "programs/brindleset/group_list.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

namespace {

constexpr int kWidth = 600;  // of a panel
constexpr int kMargin = 8;
constexpr int kShowWidth = 56;  // of a "show" panel
constexpr int kLegendLineHeight = 14;
constexpr const char* kGroupListFilter = "text files|*.txt|All files|*.*";

XString nameOf(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  return component ? component->Name() : XString();
}

// The stores are rewritten by the hooks under the site-wide lock; removed
// inside it, a store cannot come back from a save that was under way.
// True when the file is gone, whether it was there or not.
bool removeStore(const XString& file) {
  platform::FileLock lock;
  if (!lock.held()) return false;
  if (platform::removeFile(file.c_str())) return true;
  return !platform::pathExists(file.c_str());
}

// A section name becomes the name of its special list in the data folder:
// one that holds a folder separator would reach another folder.
bool plainName(const XString& name) {
  return name.find('/') < 0 && name.find(platform::kPathSep) < 0;
}

}  // namespace

void TMainWindow::addLegend(TWinControl* parent, const char* showName, int showLeft, int showTop,
                            int memoLeft, int memoTop, int memoWidth) {
  const Legend* legend = legendOf(showName);
  // Tall enough for every line.
  int lines = 0;
  while (legend->lines[lines]) ++lines;
  int memoHeight = lines * kLegendLineHeight + 16;
  auto* show = new TPanel(parent, showName);
  show->SetBounds(showLeft, showTop, kShowWidth, kEditHeight);
  show->setCaption("show");
  show->OnClick = forms::handler(this, &TMainWindow::variable_show);
  // Made after the controls it covers, so it lies above them when shown.
  TMemo* memo = addMemo(parent, legend->memo, memoLeft, memoTop, memoWidth, memoHeight);
  memo->setReadOnly(true);
  memo->setTabStop(false);
  memo->setText(legendText(*legend));
  memo->setVisible(false);
}

void TMainWindow::addOwnerButton(const char* buttonName, const char* userLabel, int left, int top) {
  // Inside the group box of the owner's labels, at the end of their row.
  TWinControl* box = byName<TLabel>(*this, userLabel)->Parent();
  TButton* change = addButton(box, buttonName, "change", left, top, 76);
  change->OnClick = forms::handler(this, &TMainWindow::chmod_changeClick);
}

void TMainWindow::buildPanelTools() {
  // Below the control panel's other buttons, which it grows to hold.
  control->SetBounds(0, 189, 138, 140);
  helpme = addButton(control, "helpme", "?", 8, 104, 26, 26);
  helpme->OnClick = forms::handler(this, &TMainWindow::helpmeClick);

  buildModuleListTools();
  buildModuleGeneralPage();
  buildModuleSfvPage();
  buildModuleMp3Page();
  buildModuleBarPage();
  buildRacerPages();

  // The boards and lists: their legend and reset on one row below the
  // output files; the legend covers the right of the templates.
  struct Board {
    TPanel* panel;
    const char* show;
    const char* reset;
    const char* resetCaption;
    int top;
    int legendTop;
  };
  const Board boards[] = {
      {panels_messageboard, "mb_varshow", "mb_delete", "delete message board", 392, 175},
      {panels_requestboard, "rb_varshow", "rb_delete", "delete request board", 420, 204},
      {panels_newdirlist, "ndl_varshow", "ndl_delete", "delete new directory list", 392, 148},
      {panels_ndlspecial, "ndlspecial_varshow", nullptr, nullptr, 372, 148},
  };
  for (const Board& board : boards) {
    // The new-directory list's excluded folders fill the left of its row.
    int left = board.panel == panels_newdirlist ? 416 : kMargin;
    addLabel(board.panel, "placeholders:", left + 2, board.top, 90);
    addLegend(board.panel, board.show, left + 95, board.top, 300, board.legendTop, 292);
    if (!board.reset) continue;
    int resetLeft = board.panel == panels_newdirlist ? left : kWidth - kMargin - 190;
    int resetTop = board.panel == panels_newdirlist ? board.top + 34 : board.top - 1;
    TButton* reset = addButton(board.panel, board.reset, board.resetCaption, resetLeft, resetTop,
                               board.panel == panels_newdirlist ? 176 : 190, 26);
    reset->OnClick = forms::handler(this, &TMainWindow::deleteBoard);
  }

  TGroupBox* groups = byName<TGroupBox>(*this, "link_grset");
  TButton* saveList = addButton(groups, "link_save", "save", 186, 84, 90);
  saveList->OnClick = forms::handler(this, &TMainWindow::link_saveClick);
  TButton* loadList = addButton(groups, "link_load", "load", 186, 114, 90);
  loadList->OnClick = forms::handler(this, &TMainWindow::link_loadClick);

  const int ownerButtonLeft = kWidth - 2 * kMargin - 86;
  addOwnerButton("nd_changetod", "nd_usernametod", ownerButtonLeft, 16);
  addOwnerButton("nd_changepast", "nd_usernamepast", ownerButtonLeft, 16);
  addOwnerButton("link_change", "link_username", ownerButtonLeft, 16);
}

void TMainWindow::deleteBoard(TObject* Sender) {
  const StoreReset* reset = storeResetOf(nameOf(Sender));
  if (!reset) return;
  XString file(reset->file ? reset->file : "");
  if (!reset->file) {
    // The special list of the module shown, under its present name.
    Module<MConfig>* module = shownModule();
    if (!module || !plainName(module->sectionName)) return;
    file = module->sectionName + ".ndl";
  }
  TYesNoBox question(this, reset->question);
  if (question.ShowModal() != 1) return;
  if (!removeStore(file)) {
    Application->MessageBox(XString("The file could not be deleted: ") + file, "error", 0);
    return;
  }
  TMBox done(this, "The file has been deleted.");
  (void)done.ShowModal();  // an information: its one answer changes nothing
}

void TMainWindow::link_saveClick(TObject* Sender) {
  TSaveDialog dialog(this);
  dialog.DefaultExt = "txt";
  dialog.FileName = "grouplist.txt";
  dialog.Filter = kGroupListFilter;
  dialog.Title = "Save grouplist.";
  dialog.Options = ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  if (!dialog.Execute()) return;
  std::vector<XString> names;
  TStrings* items = byName<TListBox>(*this, "link_list")->Items();
  for (int i = 0; i < items->Count(); ++i) names.push_back(items->Strings(i));
  if (!writeGroupList(dialog.FileName.c_str(), names)) {
    Application->MessageBox(XString("The group list could not be written to ") + dialog.FileName,
                            "error", 0);
  }
}

void TMainWindow::link_loadClick(TObject* Sender) {
  TOpenDialog dialog(this);
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
  TStrings* items = byName<TListBox>(*this, "link_list")->Items();
  items->Clear();
  for (const XString& name : names) items->Add(name);
}

int TMainWindow::helpContext() const {
  TPanel* const panels[] = {panels_general,      panels_allotment,  panels_messageboard,
                            panels_requestboard, panels_newdirlist, panels_ndlspecial,
                            panels_dawnrolldir,  panels_tunelacer,  panels_modules};
  for (int i = 0; i < static_cast<int>(sizeof panels / sizeof panels[0]); ++i) {
    if (shownPanel == panels[i]) return 10 + i;
  }
  if (shownPanel == panels_moduledetail && modules_pages->ActivePage()) {
    const char* const tabs[] = {"modules_general", "modules_sfv", "modules_mp3", "modules_pb",
                                "modules_racer"};
    for (int i = 0; i < 5; ++i) {
      if (modules_pages->ActivePage()->Name() == tabs[i]) return 19 + i;
    }
  }
  return 1;
}

// The help file is named with the install folder: the working folder stays
// the data folder throughout.
void TMainWindow::helpmeClick(TObject* Sender) {
  (void)Application->HelpCommand(HELP_CONTEXT, helpContext());  // always a known command
}

// A length that is not a whole number leaves the label as it was; its
// conversion error is reported as any error of a handler is.
void TMainWindow::showTestBar(TObject* Sender) {
  int length = StrToInt(byName<TEdit>(*this, "pb_len")->Text());
  byName<TLabel>(*this, "pb_test")
      ->setCaption(barPreview(length, byName<TTrackBar>(*this, "pb_slider")->Position(),
                              byName<TEdit>(*this, "pb_full")->Text(),
                              byName<TEdit>(*this, "pb_empty")->Text()));
}

void TMainWindow::racer_sbbsliderChange(TObject* Sender) {
  int length = 0;
  try {
    length = StrToInt(byName<TEdit>(*this, "racer_sbarlen")->Text());
  } catch (const EConvertError&) {
    Application->MessageBox("Thebar length is not a valid integer.", "error", 0);
    return;
  }
  byName<TLabel>(*this, "racer_sbbtest")
      ->setCaption(barPreview(length, byName<TTrackBar>(*this, "racer_sbbslider")->Position(),
                              byName<TEdit>(*this, "racer_sbarfull")->Text(),
                              byName<TEdit>(*this, "racer_sbarempty")->Text()));
}

void TMainWindow::variable_show(TObject* Sender) {
  auto* show = dynamic_cast<TPanel*>(Sender);
  const Legend* legend = show ? legendOf(show->Name()) : nullptr;
  if (!legend) return;
  TMemo* memo = byName<TMemo>(*this, legend->memo);
  bool showing = !memo->Visible();
  memo->setVisible(showing);
  show->setCaption(showing ? "hide" : "show");
}

void TMainWindow::updateTagInfo(TObject* Sender) {
  bool last = byName<TCheckBox>(*this, "tinfo_last")->Checked();
  for (const char* name :
       {"tinfo_idl", "tinfo_id", "tinfo_idr", "tinfo_idmull", "tinfo_idmul", "tinfo_idmulr"}) {
    byName<TControl>(*this, name)->setVisible(last);
  }
  if (last) return;
  byName<TEdit>(*this, "tinfo_id")->setText("");
  byName<TEdit>(*this, "tinfo_idmul")->setText("");
}

void TMainWindow::advertisement_update(TObject* Sender) {
  bool on = byName<TCheckBox>(*this, "ad_en")->Checked();
  byName<TControl>(*this, "ad_file")->setEnabled(on);
  byName<TControl>(*this, "ad_browse")->setEnabled(on);
}

void TMainWindow::chmod_changeClick(TObject* Sender) {
  const OwnerTriple* owner = ownerTripleOf(nameOf(Sender));
  TChmod_popup popup(this);
  if (owner) {
    popup.username->setText(byName<TLabel>(*this, owner->user)->Caption());
    popup.group->setText(byName<TLabel>(*this, owner->group)->Caption());
    popup.setPermissionString(byName<TLabel>(*this, owner->allow)->Caption());
  }
  if (popup.ShowModal() != 2 || !owner) return;
  byName<TLabel>(*this, owner->user)->setCaption(popup.username->Text());
  byName<TLabel>(*this, owner->group)->setCaption(popup.group->Text());
  byName<TLabel>(*this, owner->allow)->setCaption(popup.permissionString());
}
