#include "programs/brindleset/main_window.h"

#include <string>

#include "platform/fs.h"
#include "platform/paths.h"
#include "programs/brindleset/allotment_panel.h"
#include "programs/brindleset/board_panel.h"
#include "programs/brindleset/brindleset.h"
#include "programs/brindleset/hover_help.h"
#include "programs/brindleset/linker_panel.h"
#include "programs/brindleset/module_pages.h"
#include "programs/brindleset/racer_pages.h"
#include "settings/settings_stamp.h"

namespace {

constexpr const char* kGlobalConfigFile = "BCconfig.bcc";
constexpr const char* kModuleIndexFile = "ModuleIndex.idx";
// "Server Modules" in the tree's flat order.
constexpr int kModulesNodeIndex = 8;

void addLine(XString& text, const XString& line) {
  if (!text.empty()) text += "\r\n";
  text += line;
}

}  // namespace

TMainWindow* MainWindow = nullptr;

TMainWindow::TMainWindow(TComponent* owner)
    : TMainWindow(owner, XString(brindleset::installFolder())) {}

TMainWindow::TMainWindow(TComponent* owner, const XString& installFolder)
    : TForm(owner, "MainWindow"),
      moduleIndex("default.bcm", "/", "default", "This module applies when no other does.", 0) {
  buildForm();

  Application->setHintHidePause(5000);
  help->setText(brindleset::welcomeText());
  enterDataFolder(installFolder);
  // Named with its folder, so that the help call needs no change of the
  // working folder.
  if (!installFolder.empty()) {
    XPath helpFile(installFolder);
    helpFile.ensureTrailing(platform::kPathSep);
    HelpFile = helpFile + HelpFile;
  }
  // Read before any settings file: it converts a link-builder file of the
  // oldest form.
  BCconfigSettings stamp(kSettingsStampFile);

  shownPanel = panels_general;
  modulesNode = overview->Items()->Item(kModulesNodeIndex);

  // A missing or damaged index leaves it empty; the default module added
  // next is then the only one, as on a first start.
  (void)moduleIndex.load(kModuleIndexFile);
  moduleIndex.ensureDefault();
  moduleinfo->setCells(0, 0, "section name");
  moduleinfo->setCells(1, 0, "filename");
  moduleinfo->setCells(2, 0, "path");
  moduleinfo->setCells(3, 0, "description");
  fillModuleinfo();
  for (int i = 0; i < moduleIndex.count; ++i) addModuleNode(moduleIndex.at(i)->sectionName);

  if (!globalConfig.load(kGlobalConfigFile)) globalConfig.setDefaults(0);
  if (!linkerConfig.load(kLinkerConfigFile)) linkerConfig.setDefaults(0);
  currentModule = nullptr;
  settingsToForm();
  al_loaduserfileClick(nullptr);

  // The stamp only spares a later start the conversion: one that cannot be
  // written changes nothing else.
  (void)stamp.save();
}

TMainWindow::~TMainWindow() {
  // No handler may run on the settings while the controls go.
  overview->OnChange = nullptr;
}

// The utility edits the data folder beside its own program, whatever folder
// it was started from. When that folder can be neither entered nor made,
// it works in the folder it was started in.
void TMainWindow::enterDataFolder(const XString& installFolder) {
  std::string data = installFolder.str();
  if (!data.empty() && data.back() != platform::kPathSep) data += platform::kPathSep;
  data += "data";
  if (platform::changeDir(data.c_str())) return;
  // Made here when missing; either way it is entered below or not at all.
  (void)platform::makeDir(data.c_str());
  (void)platform::changeDir(data.c_str());
}

void TMainWindow::addModuleNode(const XString& sectionName) {
  overview->Items()->AddChild(modulesNode, sectionName);
}

void TMainWindow::fillModuleinfo() {
  moduleinfo->setRowCount(moduleIndex.count + 1);
  for (int i = 0; i < moduleIndex.count; ++i) {
    const Module<MConfig>* module = moduleIndex.at(i);
    XPath file(module->filename);
    file.toFileName();
    moduleinfo->setCells(0, i + 1, module->sectionName);
    moduleinfo->setCells(1, i + 1, file);
    moduleinfo->setCells(2, i + 1, module->path);
    moduleinfo->setCells(3, i + 1, module->description);
  }
}

void TMainWindow::UpdatePanels(TObject* Sender, TTreeNode* Node) {
  if (followingPanel_) return;
  showPanel(panelForSelection());
}

void TMainWindow::showPanel(TPanel* panel) {
  if (panel && panel != shownPanel) {
    shownPanel->setVisible(false);
    panel->setVisible(true);
    panel->Repaint();
    shownPanel = panel;
  }
  // A node whose panel did not come (a module that could not be left, a
  // number refused elsewhere) must not stay selected: clicking it again
  // would change nothing.
  TTreeNode* node = nodeOfShownPanel();
  if (!node || node == overview->Selected()) return;
  followingPanel_ = true;
  overview->setSelected(node);
  followingPanel_ = false;
}

TTreeNode* TMainWindow::nodeOfShownPanel() const {
  if (shownPanel == panels_moduledetail) {
    Module<MConfig>* shown = shownModule();
    for (int i = 0; shown && i < moduleIndex.count; ++i) {
      if (moduleIndex.at(i) == shown) return modulesNode->Item(i);
    }
    return nullptr;
  }
  TTreeNodes* nodes = overview->Items();
  for (int i = 0; i <= kModulesNodeIndex; ++i) {
    TTreeNode* node = nodes->Item(i);
    if (node && panelOfIndex(node->SelectedIndex()) == shownPanel) return node;
  }
  return nullptr;
}

TPanel* TMainWindow::panelOfIndex(int index) const {
  TPanel* const byIndex[] = {panels_general,      panels_allotment,  panels_messageboard,
                             panels_requestboard, panels_newdirlist, panels_dawnrolldir,
                             panels_tunelacer,    panels_modules,    panels_ndlspecial};
  if (index < 0 || index >= static_cast<int>(sizeof byIndex / sizeof byIndex[0])) return nullptr;
  return byIndex[index];
}

TPanel* TMainWindow::panelForSelection() {
  TTreeNode* node = overview->Selected();
  if (!node) return shownPanel;
  if (node->Parent() == modulesNode) {
    // The module being left keeps what its pages hold; when they cannot be
    // taken, it stays the current one.
    if (!formToModule()) return panels_moduledetail;
    Module<MConfig>* module = moduleIndex.at(node->Index());
    currentModule = module ? module->config() : nullptr;
    if (!currentModule) {
      Application->MessageBox(XString("Cannot load module: ") + node->Text(), "error", 0);
      fillModuleinfo();
      overview->setSelected(modulesNode);
      return panels_modules;
    }
    moduleToForm();
    return panels_moduledetail;
  }
  return panelOfIndex(node->SelectedIndex());
}

void TMainWindow::refuseInput(TPanel* panel, TTabSheet* page, const char* message) {
  showPanel(panel);
  if (page) modules_pages->setActivePage(page);
  Application->MessageBox(message, "error", 0);
}

// Every settings file is written; one that cannot be is named, and the
// window stays so that nothing is lost. The files that were written stay
// written: the next save writes them all again.
void TMainWindow::saveClick(TObject* Sender) {
  if (!formToSettings() || !outputFilesAllowed()) return;
  XString unwritten;
  if (!globalConfig.save(kGlobalConfigFile)) addLine(unwritten, kGlobalConfigFile);
  if (!linkerConfig.save(kLinkerConfigFile)) addLine(unwritten, kLinkerConfigFile);
  int before = moduleIndex.count;
  moduleIndex.ensureDefault();
  // The tree shows every module of the index, a default made here too.
  for (int i = before; i < moduleIndex.count; ++i) addModuleNode(moduleIndex.at(i)->sectionName);
  if (moduleIndex.count != before) fillModuleinfo();
  XStringList failed;
  if (!moduleIndex.save(kModuleIndexFile, &failed)) {
    // The list holds the last failure at its head.
    XString names;
    for (int i = static_cast<int>(failed.count); i-- > 0;) addLine(names, failed.at(i));
    addLine(unwritten, names);
  }
  if (!unwritten.empty()) {
    Application->MessageBox(XString("These settings files could not be written:\r\n") + unwritten,
                            "error", 0);
    return;
  }
  Application->Terminate();
}

void TMainWindow::cancelClick(TObject* Sender) { Application->Terminate(); }

// The panel families' events, handed on.
void TMainWindow::updateMBoard(TObject* Sender) { messageBoard_->followSwitch(); }
void TMainWindow::updateRBoard(TObject* Sender) { requestBoard_->followSwitch(); }
void TMainWindow::updateNDL(TObject* Sender) { newDirList_->followSwitch(); }
bool TMainWindow::loadUserFile() {
  return allotment_->loadUserFile(brindleset::byName<TEdit>(*panels_general, "userfile")->Text());
}
void TMainWindow::al_loaduserfileClick(TObject* Sender) {
  allotment_->openWithUsers(brindleset::byName<TEdit>(*panels_general, "userfile")->Text());
}
void TMainWindow::al_userChange(TObject* Sender) { allotment_->showUser(); }
void TMainWindow::al_updateuserClick(TObject* Sender) { allotment_->updateUser(); }
void TMainWindow::al_updategroupClick(TObject* Sender) { allotment_->updateGroup(); }
void TMainWindow::link_saveClick(TObject* Sender) { linker_->saveGroupList(); }
void TMainWindow::link_loadClick(TObject* Sender) { linker_->loadGroupList(); }
void TMainWindow::showTestBar(TObject* Sender) { modulePages_->showTestBar(); }
void TMainWindow::racer_sbbsliderChange(TObject* Sender) { racerPages_->showTestBar(); }
void TMainWindow::updateTagInfo(TObject* Sender) { modulePages_->followTagInfo(); }
void TMainWindow::advertisement_update(TObject* Sender) { modulePages_->followAdvertisement(); }
