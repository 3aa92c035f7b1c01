// The frame of the main window: the window itself, the tree, the buttons,
// the help memo and the ten panels, of which the module panels are built
// here and the settings panels in settings_panels.cpp.
#include "programs/brindleset/form_builder.h"
#include "programs/brindleset/main_window.h"

using brindleset::addButton;
using brindleset::addPanel;

namespace {

constexpr int kClientWidth = 738;
constexpr int kClientHeight = 550;
constexpr int kTreeWidth = 138;
constexpr int kTreeHeight = 185;
constexpr int kPanelWidth = 600;
constexpr int kPanelHeight = 500;

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

  control = addPanel(this, "control", 0, kTreeHeight + 4, kTreeWidth, 120);
  save = addButton(control, "save", "save settings", 8, 8, kTreeWidth - 16, 26);
  save->setDefault(true);
  save->OnClick = forms::handler(this, &TMainWindow::saveClick);
  cancel = addButton(control, "cancel", "cancel", 8, 40, kTreeWidth - 16, 26);
  cancel->OnClick = forms::handler(this, &TMainWindow::cancelClick);
  Button1 = addButton(control, "Button1", "change my .ftpd", 8, 72, kTreeWidth - 16, 26);
  Button1->OnClick = forms::handler(this, &TMainWindow::changeftpd);

  TPanel** panels[] = {&panels_general,      &panels_allotment,  &panels_messageboard,
                       &panels_requestboard, &panels_newdirlist, &panels_ndlspecial,
                       &panels_dawnrolldir,  &panels_tunelacer,  &panels_modules,
                       &panels_moduledetail};
  const char* names[] = {"panels_general",      "panels_allotment",  "panels_messageboard",
                         "panels_requestboard", "panels_newdirlist", "panels_ndlspecial",
                         "panels_dawnrolldir",  "panels_tunelacer",  "panels_modules",
                         "panels_moduledetail"};
  for (size_t i = 0; i < sizeof panels / sizeof panels[0]; ++i) {
    *panels[i] = addPanel(this, names[i], kTreeWidth, 0, kPanelWidth, kPanelHeight);
    (*panels[i])->setVisible(i == 0);
  }
  buildGeneralPanel();
  buildAllotmentPanel();
  buildMessageBoardPanel();
  buildRequestBoardPanel();
  buildNewDirListPanel();
  buildSpecialListPanel();
  buildDawnrollPanel();
  buildTunelacerPanel();
  buildModulePanels();
  buildPanelTools();

  help = new TMemo(this, "help");
  // Three lines of text: it covers the bottom edge of the panels.
  help->SetBounds(4, kPanelHeight - 4, kClientWidth - 9, kClientHeight - kPanelHeight + 4);
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
// settings (no controls on them yet).
void TMainWindow::buildModulePanels() {
  moduleinfo = new TStringGrid(panels_modules, "moduleinfo");
  moduleinfo->SetBounds(4, 4, kPanelWidth - 8, 440);
  moduleinfo->setColCount(4);
  const int widths[] = {95, 110, 165, 200};
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
