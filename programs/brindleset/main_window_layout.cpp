// The frame of the main window: the window itself, the tree, the buttons,
// the help memo and the ten panels, of which the window lays out the
// general panel, the dawnroll dir and the module list; the panel families
// lay out the others.
#include "programs/brindleset/allotment_panel.h"
#include "programs/brindleset/board_panel.h"
#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/linker_panel.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/module_pages.h"
#include "programs/brindleset/racer_pages.h"
#include "programs/brindleset/settings_tables.h"
#include "programs/brindleset/window_controls.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

namespace {

constexpr int kClientWidth = 738;
constexpr int kClientHeight = 550;
constexpr int kTreeWidth = 139;
constexpr int kTreeHeight = 185;
constexpr int kPanelWidth = 600;
constexpr int kPanelHeight = 500;
// The panels fill the window's right: their left edge covers the tree's
// last pixel column.
constexpr int kPanelLeft = kClientWidth - kPanelWidth;
constexpr int kHelpWidth = 729;
constexpr int kHelpHeight = 52;
constexpr int kMargin = 8;  // between a panel's edge and its controls
constexpr int kInner = kPanelWidth - 2 * kMargin;
constexpr int kNumberWidth = 60;

// The controls the dawnroll dir's switch greys out while it is off; the
// owners stay, as does everything on the other panels.
const char* const kDawnrollFollowers[] = {"nd_path",          "nd_format", "nd_todaylink",
                                          "nd_yesterdaylink", "nd_today",  "nd_yesterday"};

TTabSheet* addPage(TPageControl* pages, const char* name, const char* caption) {
  auto* page = new TTabSheet(pages, name);
  page->setCaption(caption);
  return page;
}

}  // namespace

void TMainWindow::buildForm() {
  setCaption("Brindlecast Configuration Utility");
  setClientWidth(kClientWidth);
  setClientHeight(kClientHeight);
  setBorderStyle(bsSingle);
  setBorderIcons(biSystemMenu | biMinimize);
  setPosition(poScreenCenter);
  HelpFile = "Brindlecast.hlp";

  buildTree();

  control = addPanel(this, "control", 0, kTreeHeight + 4, kTreeWidth, 140);
  save = addButton(control, "save", "save settings", 8, 8, kTreeWidth - 16, 26);
  save->setDefault(true);
  save->OnClick = forms::handler(this, &TMainWindow::saveClick);
  cancel = addButton(control, "cancel", "cancel", 8, 40, kTreeWidth - 16, 26);
  cancel->OnClick = forms::handler(this, &TMainWindow::cancelClick);
  Button1 = addButton(control, "Button1", "change my .ftpd", 8, 72, kTreeWidth - 16, 26);
  Button1->OnClick = forms::handler(this, &TMainWindow::changeftpd);
  helpme = addButton(control, "helpme", "?", 8, 104, 26, 26);
  helpme->OnClick = forms::handler(this, &TMainWindow::helpmeClick);

  TPanel** panels[] = {&panels_general,      &panels_allotment,  &panels_messageboard,
                       &panels_requestboard, &panels_newdirlist, &panels_ndlspecial,
                       &panels_dawnrolldir,  &panels_tunelacer,  &panels_modules,
                       &panels_moduledetail};
  const char* names[] = {"panels_general",      "panels_allotment",  "panels_messageboard",
                         "panels_requestboard", "panels_newdirlist", "panels_ndlspecial",
                         "panels_dawnrolldir",  "panels_tunelacer",  "panels_modules",
                         "panels_moduledetail"};
  for (size_t i = 0; i < sizeof panels / sizeof panels[0]; ++i) {
    *panels[i] = addPanel(this, names[i], kPanelLeft, 0, kPanelWidth, kPanelHeight);
    (*panels[i])->setVisible(i == 0);
  }
  buildGeneralPanel();
  allotment_ = std::make_unique<AllotmentPanel>(*this, panels_allotment, globalConfig);
  messageBoard_ =
      std::make_unique<BoardPanel>(*this, panels_messageboard, BoardPanel::kMessageBoard);
  requestBoard_ =
      std::make_unique<BoardPanel>(*this, panels_requestboard, BoardPanel::kRequestBoard);
  newDirList_ = std::make_unique<BoardPanel>(*this, panels_newdirlist, BoardPanel::kNewDirList);
  specialList_ = std::make_unique<BoardPanel>(*this, panels_ndlspecial, BoardPanel::kSpecialList);
  buildDawnrollPanel();
  linker_ = std::make_unique<LinkerPanel>(*this, panels_tunelacer);
  buildModulePanels();
  buildModuleListTools();
  modulePages_ = std::make_unique<ModulePages>(*this, modules_pages);
  racerPages_ = std::make_unique<RacerPages>(*this, racer_pages);

  help = new TMemo(this, "help");
  // Three lines of text below the panels.
  help->SetBounds(4, kClientHeight - kHelpHeight, kHelpWidth, kHelpHeight);
  help->setReadOnly(true);
  help->setBorderStyle(bsNone);
  help->setTabStop(false);
  bindHelp();
}

void TMainWindow::buildTree() {
  overview = new TTreeView(this, "overview");
  overview->SetBounds(0, 0, kTreeWidth, kTreeHeight);
  TTreeNodes* nodes = overview->Items();
  struct Node {
    const char* text;
    int selectedIndex;
    bool childOfPrevious;
  };
  const Node tree[] = {
      {"General Settings", 0, false}, {"Allotment", 1, false},   {"Message Board", 2, false},
      {"Request Board", 3, false},    {"Newdir List", 4, false}, {"Special Lists", 8, true},
      {"Dawnroll Dir", 5, false},     {"Tunelacer", 6, false},   {"Server Modules", 7, false}};
  TTreeNode* top = nullptr;
  for (const Node& node : tree) {
    TTreeNode* made = node.childOfPrevious ? nodes->AddChild(top, node.text)
                                           : nodes->AddChild(nullptr, node.text);
    made->setSelectedIndex(node.selectedIndex);
    if (!node.childOfPrevious) top = made;
  }
  overview->OnChange = forms::handler(this, &TMainWindow::UpdatePanels);
}

// The grid of the module list, and the pages that show one module's
// settings.
void TMainWindow::buildModulePanels() {
  moduleinfo = new TStringGrid(panels_modules, "moduleinfo");
  // As wide as the panel lets it, so that the four columns fit without a
  // scroll bar.
  moduleinfo->SetBounds(1, 4, kPanelWidth - 2, 440);
  moduleinfo->setColCount(4);
  const int widths[] = {95, 110, 165, 223};
  for (int col = 0; col < 4; ++col) moduleinfo->setColWidths(col, widths[col]);
  moduleinfo->setDefaultRowHeight(18);

  modules_pages = new TPageControl(panels_moduledetail, "modules_pages");
  modules_pages->SetBounds(4, 4, kPanelWidth - 8, kPanelHeight - 8);
  addPage(modules_pages, "modules_general", "general");
  addPage(modules_pages, "modules_sfv", "sfv features");
  addPage(modules_pages, "modules_mp3", "mp3 features");
  addPage(modules_pages, "modules_pb", "progress bar");
  TTabSheet* racer = addPage(modules_pages, "modules_racer", "racer");
  racer_pages = new TPageControl(racer, "racer_pages");
  racer_pages->SetBounds(4, 4, kPanelWidth - 20, kPanelHeight - 44);
  addPage(racer_pages, "racer_general", "general");
  addPage(racer_pages, "racer_sfv", "sfv");
  addPage(racer_pages, "racer_mp3", "mp3");
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
    addFileEdit(*this, group, file.edit, file.browse, 10, 22, kInner - 20);
    top += 56;
  }
  addLabel(p, "maximum vfs entrys:", kMargin + 2, top + 4, 130);
  addNumberEdit(*this, p, "vfs_maxentrys", kMargin + 2 + 135, top + 4, kNumberWidth);

  int half = (kInner - 8) / 2;
  TGroupBox* mcd = addGroup(p, "p_mcd", "multiCD list", kMargin, top + 38, half, 212);
  addListEditor(*this, mcd, "mcd_list", 10, 22, half - 20, 180);
  TGroupBox* deny = addGroup(p, "p_deny", "deny list", kMargin + half + 8, top + 38, half, 212);
  addListEditor(*this, deny, "deny_list", 10, 22, half - 20, 180);
  generalRows_.bind(*p, tables::kGeneral);
}

void TMainWindow::buildDawnrollPanel() {
  TPanel* p = panels_dawnrolldir;
  TCheckBox* en = addCheck(p, "nd_en", "enable dawnroll dir", kMargin + 2, 8, 200);
  en->OnClick = forms::handler(this, &TMainWindow::updateDawnrollDir);
  int top = 36;
  addLabel(p, "folder of the day dirs:", kMargin + 2, top, 160);
  addEdit(p, "nd_path", 175, top, kPanelWidth - kMargin - 175);
  top += kRowStep;
  addLabel(p, "name of a day dir:", kMargin + 2, top, 160);
  addEdit(p, "nd_format", 175, top, 200)->setFixedPitch(true);
  top += kRowStep;
  addCheck(p, "nd_today", "create today link", kMargin + 2, top + 1, 160);
  addEdit(p, "nd_todaylink", 175, top, kPanelWidth - kMargin - 175);
  top += kRowStep;
  addCheck(p, "nd_yesterday", "create yesterday link", kMargin + 2, top + 1, 160);
  addEdit(p, "nd_yesterdaylink", 175, top, kPanelWidth - kMargin - 175);
  top += kRowStep + 10;
  addOwner(
      *this, p,
      {"", "owner of today's dir", "nd_changetod", "nd_usernametod", "nd_grouptod", "nd_allowtod"},
      kMargin, top, kInner, 50, 20);
  addOwner(*this, p,
           {"", "owner of past dirs", "nd_changepast", "nd_usernamepast", "nd_grouppast",
            "nd_allowpast"},
           kMargin, top + 58, kInner, 50, 20);
  for (const char* name : kDawnrollFollowers)
    dawnrollFollowers_.push_back(byName<TControl>(*p, name));
  dawnrollRows_.bind(*p, tables::kDawnroll);
}

void TMainWindow::updateDawnrollDir(TObject* Sender) {
  bool on = byName<TCheckBox>(*panels_dawnrolldir, "nd_en")->Checked();
  for (TControl* follower : dawnrollFollowers_) follower->setEnabled(on);
}
