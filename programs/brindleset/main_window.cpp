#include "programs/brindleset/main_window.h"

#include <string>

#include "platform/fs.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "programs/brindleset/brindleset.h"
#include "programs/brindleset/hover_help.h"
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

  // A missing or damaged index leaves it empty; the default module is then
  // the only one.
  moduleIndex.load(kModuleIndexFile);
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

void TMainWindow::UpdatePanels(TObject* Sender, TTreeNode* Node) { showPanel(panelForSelection()); }

void TMainWindow::showPanel(TPanel* panel) {
  if (!panel || panel == shownPanel) return;
  shownPanel->setVisible(false);
  panel->setVisible(true);
  panel->Repaint();
  shownPanel = panel;
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
  TPanel* const byIndex[] = {panels_general,      panels_allotment,  panels_messageboard,
                             panels_requestboard, panels_newdirlist, panels_dawnrolldir,
                             panels_tunelacer,    panels_modules,    panels_ndlspecial};
  int index = node->SelectedIndex();
  if (index < 0 || index >= static_cast<int>(sizeof byIndex / sizeof byIndex[0])) return nullptr;
  return byIndex[index];
}

// Every settings file is written; one that cannot be is named, and the
// window stays so that nothing is lost. The files that were written stay
// written: the next save writes them all again.
void TMainWindow::saveClick(TObject* Sender) {
  if (!formToSettings()) return;
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
