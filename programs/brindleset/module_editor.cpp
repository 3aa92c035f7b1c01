#include "programs/brindleset/module_editor.h"

#include "programs/brindleset/form_builder.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

namespace {

constexpr int kWidth = 405;
constexpr int kHeight = 233;
constexpr int kEditWidth = kWidth - 16;

}  // namespace

TModuleEditor::TModuleEditor(TComponent* owner, ModuleIndex<MConfig>* index, int add,
                             int editedModule)
    : TForm(owner, "ModuleEditor"), addMode(add), moduleIndex(index), editedModule_(editedModule) {
  setCaption("ModuleEditor");
  setClientWidth(kWidth);
  setClientHeight(kHeight);
  setBorderStyle(bsSingle);
  setFormStyle(fsStayOnTop);
  setPosition(poOwnerFormCenter);
  KeyPreview = true;
  OnKeyPress = forms::handler(this, &TModuleEditor::FormKeyPress);

  addLabel(this, "config filename:", 8, 4, kEditWidth);
  fn = addEdit(this, "fn", 8, 24, kEditWidth - 34);
  browsefile = addButton(this, "browsefile", "...", kWidth - 36, 23, 28);
  browsefile->OnClick = forms::handler(this, &TModuleEditor::browsefileClick);
  addLabel(this, "section name (will be displayed in overview):", 8, 50, kEditWidth);
  sdesc = addEdit(this, "sdesc", 8, 70, kEditWidth);
  addLabel(this, "description:", 8, 96, kEditWidth);
  desc = addEdit(this, "desc", 8, 116, kEditWidth);
  addLabel(this, "virtual filesystem path this configuration appends to:", 8, 142, kEditWidth);
  pth = addEdit(this, "pth", 8, 162, kEditWidth);

  ok = addButton(this, "ok", addMode ? "Add" : "ok", kWidth - 176, 198, 80);
  ok->setDefault(true);
  ok->OnClick = forms::handler(this, &TModuleEditor::okClick);
  cancel = addButton(this, "cancel", "Cancel", kWidth - 88, 198, 80);
  cancel->OnClick = forms::handler(this, &TModuleEditor::cancelClick);
}

bool TModuleEditor::sectionTaken(const XString& section) const {
  for (int i = 0; i < moduleIndex->count; ++i) {
    if (i != editedModule_ && moduleIndex->at(i)->sectionName == section) return true;
  }
  return false;
}

bool TModuleEditor::fileTaken(const XString& file) const {
  for (int i = 0; i < moduleIndex->count; ++i) {
    if (i != editedModule_ && moduleIndex->at(i)->filename.equalsNoCase(file)) return true;
  }
  return false;
}

// Two modules with one settings file would overwrite each other's settings
// on save, so a file another module names is refused like its section name.
void TModuleEditor::okClick(TObject* Sender) {
  if (sectionTaken(sdesc->Text())) {
    Application->MessageBox(
        "A module with this short description already exists. Please change the short "
        "description.",
        "Cannot create module", 0);
    return;
  }
  if (fn->Text().empty() || sdesc->Text().empty() || desc->Text().empty() || pth->Text().empty()) {
    Application->MessageBox("Please fill all the Boxes.", "Error", 0);
    return;
  }
  if (fileTaken(fn->Text())) {
    Application->MessageBox(
        "Another module already uses this config file. Please choose another file name.",
        "Cannot create module", 0);
    return;
  }
  setModalResult(2);
}

void TModuleEditor::cancelClick(TObject* Sender) { setModalResult(1); }

// Enter reaches this only where no button takes it first.
void TModuleEditor::FormKeyPress(TObject* Sender, char& Key) {
  if (Key == 27) {
    Key = 0;
    cancelClick(Sender);
  } else if (Key == '\r') {
    Key = 0;
    okClick(Sender);
  }
}

void TModuleEditor::browsefileClick(TObject* Sender) {
  TSaveDialog dialog(this);
  // The module files are ".bcm" files, as the filter and the default
  // module's name say.
  dialog.DefaultExt = "bcm";
  dialog.Filter = "Brindlecast configuration files (*.bcm)|*.bcm|All files|*.*";
  dialog.Title = "Browse old configuration file or specify new";
  dialog.Options = ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  if (dialog.Execute()) fn->setText(dialog.FileName);
}
