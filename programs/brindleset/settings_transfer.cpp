// The settings into the panels and back, block by block as the settings
// tables give them, and the check of the output files before a save.
#include "programs/brindleset/board_panel.h"
#include "programs/brindleset/linker_panel.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/module_pages.h"
#include "programs/brindleset/output_files.h"
#include "programs/brindleset/racer_pages.h"

namespace {

constexpr const char* kNumbersOnly =
    "username length, message length and maximum entrys must contain numbers only!";

}  // namespace

void TMainWindow::settingsToForm() {
  generalRows_.show(globalConfig);
  messageBoard_->show(globalConfig);
  requestBoard_->show(globalConfig);
  newDirList_->show(globalConfig);
  specialList_->show(globalConfig);
  dawnrollRows_.show(globalConfig);
  updateDawnrollDir(nullptr);
  linker_->show(linkerConfig);
  moduleToForm();
}

// A block whose number does not convert leaves it and the fields after it
// as they were, shows its panel with a message, and stops the whole
// transfer: nothing is saved, and the next save takes every control again.
bool TMainWindow::formToSettings() {
  try {
    generalRows_.take(globalConfig);
  } catch (const EConvertError&) {
    refuseInput(panels_general, nullptr, kNumbersOnly);
    return false;
  }
  if (!messageBoard_->take(globalConfig) || !requestBoard_->take(globalConfig) ||
      !newDirList_->take(globalConfig) || !specialList_->take(globalConfig)) {
    return false;
  }
  dawnrollRows_.take(globalConfig);  // no number among them
  linker_->take(linkerConfig);
  return formToModule();
}

void TMainWindow::moduleToForm() {
  if (!currentModule) return;
  modulePages_->show(*currentModule, takenModules_.count(currentModule) != 0);
  racerPages_->show(*currentModule);
}

// The lists come before any number of the module pages: whatever the pages
// refuse, they have been taken.
bool TMainWindow::formToModule() {
  if (!currentModule) return true;
  takenModules_.insert(currentModule);
  return modulePages_->take(*currentModule) && racerPages_->take(*currentModule);
}

// The output files of the boards and lists are written over whatever they
// name; one that names a settings or store file of the data folder would
// destroy it at the next post.
bool TMainWindow::outputFilesAllowed() {
  brindleset::OwnFiles own(moduleIndex);
  const struct {
    const XString& files;
    TPanel* panel;
    const char* field;
  } globalFiles[] = {
      {globalConfig.mb.file, panels_messageboard, "The output files of the message board"},
      {globalConfig.rb.file, panels_requestboard, "The output files of the request board"},
      {globalConfig.ndl.file, panels_newdirlist, "The output files of the new directory list"},
  };
  for (const auto& output : globalFiles) {
    XString named = own.namedIn(output.files);
    if (named.empty()) continue;
    refuseInput(output.panel, nullptr, brindleset::ownFileMessage(output.field, named).c_str());
    return false;
  }
  // Every module whose settings were opened is saved; the pages hold the
  // shown one's, taken already.
  for (int i = 0; i < moduleIndex.count; ++i) {
    Module<MConfig>* module = moduleIndex.at(i);
    if (!module->configLoaded()) continue;
    XString named = own.namedIn(module->config()->ndlspecial_file);
    if (named.empty()) continue;
    if (module != shownModule()) overview->setSelected(modulesNode->Item(i));
    if (module != shownModule()) return false;  // the module shown could not be left
    XString field =
        XString("The output files of the special list of module ") + module->sectionName;
    refuseInput(panels_moduledetail, brindleset::byName<TTabSheet>(*this, "modules_general"),
                brindleset::ownFileMessage(field.c_str(), named).c_str());
    return false;
  }
  return true;
}
