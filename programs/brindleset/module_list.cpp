// The module list panel: adding, editing, duplicating and deleting modules.
// Every change goes at once into the index and the tree, whose i-th module
// child stays the index's i-th module; nothing is written before a save.
#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/module_editor.h"

using brindleset::addButton;

void TMainWindow::buildModuleListTools() {
  struct Tool {
    const char* name;
    const char* caption;
    void (TMainWindow::*click)(TObject*);
  };
  const Tool tools[] = {{"addmodule", "add module", &TMainWindow::module_addClick},
                        {"dupmodule", "duplicate module", &TMainWindow::module_duplicateClick},
                        {"editmodule", "edit module", &TMainWindow::module_editClick},
                        {"delmodule", "delete module", &TMainWindow::module_deleteClick}};
  int left = 4;
  for (const Tool& tool : tools) {
    TButton* button = addButton(panels_modules, tool.name, tool.caption, left, 452, 140, 26);
    button->OnClick = forms::handler(this, tool.click);
    left += 150;
  }
}

int TMainWindow::selectedModule() const {
  int row = moduleinfo->Selection().Top;
  const Module<MConfig>* module = moduleIndex.at(row - 1);
  if (!module || moduleinfo->Cells(0, row) != module->sectionName) return -1;
  return row - 1;
}

Module<MConfig>* TMainWindow::shownModule() const {
  if (!currentModule) return nullptr;
  for (int i = 0; i < moduleIndex.count; ++i) {
    Module<MConfig>* module = moduleIndex.at(i);
    if (module->configLoaded() && module->config() == currentModule) return module;
  }
  return nullptr;
}

// The new module's settings are read from its file when its node is first
// selected (the defaults when there is none yet) and written on save.
void TMainWindow::module_addClick(TObject* Sender) {
  TModuleEditor editor(this, &moduleIndex, 1);
  if (editor.ShowModal() != 2) return;
  moduleIndex.add(editor.fn->Text(), editor.pth->Text(), editor.sdesc->Text(), editor.desc->Text(),
                  0);
  addModuleNode(editor.sdesc->Text());
  fillModuleinfo();
}

void TMainWindow::module_editClick(TObject* Sender) {
  int i = selectedModule();
  Module<MConfig>* module = moduleIndex.at(i);
  if (!module) return;
  if (module->isDefault) {
    Application->MessageBox("You cannot edit the default module", "Error", 0);
    return;
  }
  TModuleEditor editor(this, &moduleIndex, 0, i);
  editor.fn->setText(module->filename);
  editor.pth->setText(module->path);
  editor.sdesc->setText(module->sectionName);
  editor.desc->setText(module->description);
  if (editor.ShowModal() != 2) return;
  XPath path(editor.pth->Text());
  path.encloseSlashes();
  // Settings already loaded stay with the module and are saved under its
  // new file name.
  module->filename = editor.fn->Text();
  module->path = path;
  module->sectionName = editor.sdesc->Text();
  module->description = editor.desc->Text();
  if (TTreeNode* node = modulesNode->Item(i)) node->setText(module->sectionName);
  fillModuleinfo();
}

// The index makes the copy's section name and file name unique.
void TMainWindow::module_duplicateClick(TObject* Sender) {
  int j = moduleIndex.duplicate(selectedModule());
  if (j < 0) return;
  addModuleNode(moduleIndex.at(j)->sectionName);
  fillModuleinfo();
}

// The module's files stay on disk. The module pages keep what they show
// for the module shown, unless that is the one deleted.
void TMainWindow::module_deleteClick(TObject* Sender) {
  int i = selectedModule();
  Module<MConfig>* module = moduleIndex.at(i);
  if (!module) return;
  if (module->isDefault) {
    Application->MessageBox("You cannot delete the default module", "Error", 0);
    return;
  }
  if (module == shownModule()) currentModule = nullptr;
  // Its settings go with it; their address may serve another module later.
  if (module->configLoaded()) takenModules_.erase(module->config());
  TTreeNode* node = modulesNode->Item(i);
  (void)moduleIndex.remove(i);  // i is a module of the index: the removal cannot fail
  if (node) node->Delete();
  fillModuleinfo();
}
