// The panel tools the main window keeps for every panel: the store resets,
// the help call, the placeholder legends and the owner dialog. Each acts on
// the controls or on a file at once; the settings take the controls only
// when they are saved.
#include "programs/brindleset/panel_tools.h"

#include "platform/fs.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "programs/brindleset/binding.h"
#include "programs/brindleset/chmod_popup.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

namespace {

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

void TMainWindow::variable_show(TObject* Sender) {
  auto* show = dynamic_cast<TPanel*>(Sender);
  const Legend* legend = show ? legendOf(show->Name()) : nullptr;
  if (!legend) return;
  TMemo* memo = byName<TMemo>(*this, legend->memo);
  bool showing = !memo->Visible();
  memo->setVisible(showing);
  show->setCaption(showing ? "hide" : "show");
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
