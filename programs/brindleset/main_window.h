// The configuration utility's main window: the settings it edits, the tree
// of panels, and saving or cancelling.
#ifndef PROGRAMS_BRINDLESET_MAIN_WINDOW_H_
#define PROGRAMS_BRINDLESET_MAIN_WINDOW_H_

#include <memory>
#include <set>
#include <vector>

#include "forms/forms.h"
#include "programs/brindleset/binding.h"
#include "settings/gconfig.h"
#include "settings/lconfig.h"
#include "settings/mconfig.h"
#include "settings/module_index.h"

namespace brindleset {
class AllotmentPanel;
class BoardPanel;
class LinkerPanel;
class ModulePages;
class RacerPages;
}  // namespace brindleset

// The one window of the utility and the one owner of the settings in
// memory: the global and link-builder settings, the module index and the
// module shown on the module pages. It works in the data folder of the
// install folder it is given; nothing but the settings stamp is written
// before "save settings". The window holds the tree, the general and
// dawnroll panels and the module list; each family of the other panels
// (the boards, the module pages, the racer's pages, the allotment, the link
// builder) is a class of its own, whose events the handlers below hand on.
class TMainWindow : public TForm {
 public:
  // Works on the data folder beside the running program.
  explicit TMainWindow(TComponent* owner);
  TMainWindow(TComponent* owner, const XString& installFolder);
  ~TMainWindow() override;

  // The tree and its panels.
  void UpdatePanels(TObject* Sender, TTreeNode* Node);
  // Shows `panel` (nothing for null) and selects the tree node that names
  // the panel shown, so that a click on any other node brings its panel.
  void showPanel(TPanel* panel);
  // The panel for the selected node, or null to leave the shown one; a
  // module node first stores the module pages into the module being left
  // and then makes its module the current one.
  TPanel* panelForSelection();
  void fillModuleinfo();

  // The two ways out. A save that cannot write every settings file says
  // which and keeps the window open.
  void saveClick(TObject* Sender);
  void cancelClick(TObject* Sender);

  // Settings to controls and back. formToSettings is false, after its
  // message, when a number does not convert; nothing is then to be saved.
  void settingsToForm();
  [[nodiscard]] bool formToSettings();
  void moduleToForm();
  [[nodiscard]] bool formToModule();

  // Controls that follow their enable switch.
  void updateMBoard(TObject* Sender);
  void updateRBoard(TObject* Sender);
  void updateNDL(TObject* Sender);
  void updateDawnrollDir(TObject* Sender);
  // The list editors: a click on an item, "+" and "-".
  void onListClick(TObject* Sender);
  void onListAdd(TObject* Sender);
  void onListDel(TObject* Sender);
  // The "..." buttons beside the file names.
  void onBrowse(TObject* Sender);
  // Key filters of the path edits and the number edits.
  void IsPathname(TObject* Sender, char& Key);
  void OnlyNumbers(TObject* Sender, char& Key);

  // The allotment panel. loadUserFile rebuilds the allotment list and the
  // user list from the server's user file; false when it gives no users.
  [[nodiscard]] bool loadUserFile();
  void al_loaduserfileClick(TObject* Sender);
  void al_userChange(TObject* Sender);
  // A bad credits number raises EConvertError before anything changes.
  void al_updateuserClick(TObject* Sender);
  void al_updategroupClick(TObject* Sender);
  // "change my .ftpd": the server's hook entries for this install folder.
  void changeftpd(TObject* Sender);
  // The module list: each acts on the module of the grid's selected row.
  void module_addClick(TObject* Sender);
  void module_editClick(TObject* Sender);
  void module_duplicateClick(TObject* Sender);
  void module_deleteClick(TObject* Sender);
  // The owner dialog for the owner triple beside the "change" button.
  void chmod_changeClick(TObject* Sender);
  // The panel tools: store resets, the group list file, the help call, the
  // two bar previews, the placeholder legends, the tag-id edits and the
  // advertisement file.
  void deleteBoard(TObject* Sender);
  void link_saveClick(TObject* Sender);
  void link_loadClick(TObject* Sender);
  void helpmeClick(TObject* Sender);
  void showTestBar(TObject* Sender);
  void racer_sbbsliderChange(TObject* Sender);
  void variable_show(TObject* Sender);
  void updateTagInfo(TObject* Sender);
  void advertisement_update(TObject* Sender);
  // The help file's topic for the panel and tab shown.
  int helpContext() const;
  // A number of `panel` (on `page` of the module pages, when not null) that
  // could not be taken: the panel and page are shown and `message` says so.
  void refuseInput(TPanel* panel, TTabSheet* page, const char* message);
  // The module whose settings the module pages show; null when none.
  Module<MConfig>* shownModule() const;
  // The hover help: the memo "help" explains the control under the mouse.
  void displayHelp(TObject* Sender, TShiftState Shift, int X, int Y);

  TTreeView* overview = nullptr;
  TPanel* control = nullptr;
  TButton* save = nullptr;
  TButton* cancel = nullptr;
  TButton* Button1 = nullptr;  // "change my .ftpd"
  TButton* helpme = nullptr;
  TMemo* help = nullptr;
  TPanel* panels_general = nullptr;
  TPanel* panels_allotment = nullptr;
  TPanel* panels_messageboard = nullptr;
  TPanel* panels_requestboard = nullptr;
  TPanel* panels_newdirlist = nullptr;
  TPanel* panels_ndlspecial = nullptr;
  TPanel* panels_dawnrolldir = nullptr;
  TPanel* panels_tunelacer = nullptr;
  TPanel* panels_modules = nullptr;
  TPanel* panels_moduledetail = nullptr;
  TStringGrid* moduleinfo = nullptr;
  TPageControl* modules_pages = nullptr;
  TPageControl* racer_pages = nullptr;

  GConfig globalConfig;
  // Owned by its module in moduleIndex; null while no module is shown.
  MConfig* currentModule = nullptr;
  LConfig linkerConfig;
  ModuleIndex<MConfig> moduleIndex;
  TPanel* shownPanel = nullptr;
  TTreeNode* modulesNode = nullptr;

 private:
  // The form: window, tree, buttons, help memo and the ten panels, of which
  // the window lays out the general and dawnroll panels and the module list.
  void buildForm();
  void buildTree();
  void buildModulePanels();
  void buildGeneralPanel();
  void buildDawnrollPanel();
  void buildModuleListTools();
  // The form, its panels and the controls that explain themselves hear
  // mouse moves with displayHelp.
  void bindHelp();
  // The index of the module on the grid's selected row, checked against the
  // section name the row shows; -1 when they disagree.
  int selectedModule() const;
  // The tree node of the panel shown: the shown module's for the module
  // pages; null when none names it.
  TTreeNode* nodeOfShownPanel() const;
  // The panel of a top node's SelectedIndex; null for any other number.
  TPanel* panelOfIndex(int index) const;
  // Before a save: false, after a message naming the field, when an output
  // file of a board or list would overwrite one of the suite's own files.
  [[nodiscard]] bool outputFilesAllowed();

  void enterDataFolder(const XString& installFolder);
  void addModuleNode(const XString& sectionName);

  std::unique_ptr<brindleset::BoardPanel> messageBoard_;
  std::unique_ptr<brindleset::BoardPanel> requestBoard_;
  std::unique_ptr<brindleset::BoardPanel> newDirList_;
  std::unique_ptr<brindleset::BoardPanel> specialList_;
  std::unique_ptr<brindleset::AllotmentPanel> allotment_;
  std::unique_ptr<brindleset::LinkerPanel> linker_;
  std::unique_ptr<brindleset::ModulePages> modulePages_;
  std::unique_ptr<brindleset::RacerPages> racerPages_;
  brindleset::BoundRows<GConfig> generalRows_;
  brindleset::BoundRows<GConfig> dawnrollRows_;
  std::vector<TControl*> dawnrollFollowers_;
  // A selection the window makes itself to follow the panel shown: the
  // tree's change handler leaves it alone.
  bool followingPanel_ = false;

  XPath browseFolder_;  // where the next file dialog starts; empty at first
  // The modules whose lists the pages have taken back in this run: their
  // lists stand in the reverse of the order shown (as a save writes them),
  // those of a module only loaded in the order shown.
  std::set<const MConfig*> takenModules_;
};

extern TMainWindow* MainWindow;

#endif  // PROGRAMS_BRINDLESET_MAIN_WINDOW_H_
