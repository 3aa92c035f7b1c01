// Renders every panel and tab of the configuration utility's main window,
// each placeholder legend opened, one panel with the hover help of a control
// in its memo, and its dialogs (module editor, owner dialog, yes/no and
// information boxes) into PNG files, on Qt's screenless platform, so that
// the forms can be looked at without a display. The window runs on a
// scratch install folder with the default settings and a small user file of
// the server, which is removed afterwards.
//
// usage: brindleset-screenshots <folder>
#include <QCoreApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "forms/forms.h"
#include "forms/testing.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

namespace fs = std::filesystem;

namespace {

int written = 0;
int failed = 0;

void shoot(TForm& form, const fs::path& folder, const std::string& name) {
  QCoreApplication::processEvents();
  QPixmap picture = form.widget()->grab();
  fs::path file = folder / (name + ".png");
  if (picture.save(QString::fromStdString(file.string()), "PNG")) {
    std::printf("%s\n", file.string().c_str());
    ++written;
  } else {
    std::fprintf(stderr, "brindleset-screenshots: cannot write %s\n", file.string().c_str());
    ++failed;
  }
}

// A few users of the server, so that the allotment panel shows one: the
// name, the groups and the credits in a user file's 23 fields.
void showUsers(TMainWindow& window, const fs::path& scratch) {
  const char* const users[] = {"alice:0:pw:staff:1:0:0:0:0:0:0:0::::2048.50:0:0:0000000-::0:0:",
                               "bob:0:pw:uploaders,vip:1:0:0:0:0:0:0:0::::12.5:0:0:0000000-::0:0:",
                               "carol:0:pw:uploaders:1:0:0:0:0:0:0:0::::0:0:0:0000000-::0:0:"};
  fs::path file = scratch / "users.txt";
  FILE* out = std::fopen(file.string().c_str(), "wb");
  if (!out) return;
  for (const char* user : users) std::fprintf(out, "%s\r\n", user);
  if (std::fclose(out) != 0) return;
  forms::testing::find<TEdit>(window, "userfile")->setText(XString(file.string()));
  window.al_loaduserfileClick(nullptr);
  auto* list = forms::testing::find<TComboBox>(window, "al_user");
  list->setItemIndex(1);
  window.al_userChange(nullptr);
}

// The tree's order leads the file names, so they sort as the tree does.
std::string numbered(int index, const std::string& name) {
  return (index < 10 ? "0" : "") + std::to_string(index) + "-" + name;
}

void showPages(TMainWindow& window, const fs::path& folder, const std::string& prefix,
               TPageControl& pages, const char* const* names) {
  for (; *names; ++names) {
    auto* page = forms::testing::find<TTabSheet>(window, *names);
    pages.setActivePage(page);
    if (std::string(*names) == "modules_racer") {
      const char* const racer[] = {"racer_general", "racer_sfv", "racer_mp3", nullptr};
      showPages(window, folder, prefix + "-" + *names, *window.racer_pages, racer);
    } else {
      shoot(window, folder, prefix + "-" + *names);
    }
  }
}

void selectNode(TMainWindow& window, const char* text) {
  TTreeNodes* nodes = window.overview->Items();
  for (int i = 0; i < nodes->Count(); ++i) {
    if (nodes->Item(i)->Text() == text) window.overview->setSelected(nodes->Item(i));
  }
}

// Each legend opened over its panel or page, then closed again.
void showLegends(TMainWindow& window, const fs::path& folder) {
  const struct {
    const char* node;
    const char* page;
    const char* show;
  } legends[] = {{"Message Board", nullptr, "mb_varshow"},
                 {"Request Board", nullptr, "rb_varshow"},
                 {"Newdir List", nullptr, "ndl_varshow"},
                 {"Special Lists", nullptr, "ndlspecial_varshow"},
                 {"default", "modules_pb", "pb_varshow"},
                 {"default", "racer_general", "racer_gbodyshow"},
                 {"default", "racer_general", "racer_glineshow"},
                 {"default", "racer_sfv", "racer_sbodyshow"},
                 {"default", "racer_sfv", "racer_slineshow"},
                 {"default", "racer_mp3", "racer_mbodyshow"}};
  for (const auto& legend : legends) {
    selectNode(window, legend.node);
    if (legend.page) {
      auto* page = forms::testing::find<TTabSheet>(window, legend.page);
      bool racer = page->Parent() == window.racer_pages;
      window.modules_pages->setActivePage(
          racer ? forms::testing::find<TTabSheet>(window, "modules_racer") : page);
      if (racer) window.racer_pages->setActivePage(page);
    }
    auto* show = forms::testing::find<TPanel>(window, legend.show);
    window.variable_show(show);
    shoot(window, folder, std::string("10-legend-") + legend.show);
    window.variable_show(show);
  }
}

// The memo explains the control the mouse rests on, here after a move onto
// it as a person makes.
void showHover(TMainWindow& window, const fs::path& folder) {
  selectNode(window, "Tunelacer");
  forms::testing::moveMouse(*forms::testing::find<TCheckBox>(window, "link_en"));
  shoot(window, folder, "10-hover-link_en");
}

// The dialogs as their buttons open them, each answered by its picture.
void showDialogs(TMainWindow& window, forms::testing::ScriptedHook& hook, const fs::path& folder) {
  auto picture = [&](const char* name) {
    return [&folder, name](TForm& form) { shoot(form, folder, std::string("11-dialog-") + name); };
  };
  selectNode(window, "Server Modules");
  hook.modalAnswers.push_back([&](TForm& editor) {
    forms::testing::find<TEdit>(editor, "fn")->setText("mp3.bcm");
    forms::testing::find<TEdit>(editor, "sdesc")->setText("mp3");
    forms::testing::find<TEdit>(editor, "desc")->setText("the mp3 releases");
    forms::testing::find<TEdit>(editor, "pth")->setText("/mp3/");
    picture("ModuleEditor")(editor);
  });
  forms::testing::find<TButton>(window, "addmodule")->Click();
  selectNode(window, "Dawnroll Dir");
  hook.modalAnswers.push_back(picture("Chmod_popup"));
  forms::testing::find<TButton>(window, "nd_changetod")->Click();
  selectNode(window, "Message Board");
  hook.modalAnswers.push_back(picture("YesNoBox"));
  forms::testing::find<TButton>(window, "mb_delete")->Click();
  TMBox info(&window, "The file has been deleted.");
  hook.modalAnswers.push_back(picture("MBox"));
  (void)info.ShowModal();  // the picture is the answer
}

}  // namespace

// Fontconfig keeps what it loads until the process ends, which a leak
// checker counts as lost.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brindleset-screenshots <folder>\n");
    return 2;
  }
  std::error_code error;
  fs::path folder = fs::absolute(argv[1], error);
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder)) {
    std::fprintf(stderr, "brindleset-screenshots: cannot make the folder %s\n", argv[1]);
    return 1;
  }
  fs::path scratch = fs::temp_directory_path() / "brindleset-screenshots-XXXXXX";
  std::string pattern = scratch.string();
  if (!mkdtemp(pattern.data())) {
    std::fprintf(stderr, "brindleset-screenshots: cannot make a scratch folder\n");
    return 1;
  }
  scratch = pattern;
  fs::path start = fs::current_path();

  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  Application->Initialize();
  {
    // Nobody is there to answer a question; none is expected.
    forms::testing::ScriptedHook hook;
    TMainWindow window(nullptr, XString(scratch.string()));
    window.Show();
    showUsers(window, scratch);
    TTreeNodes* nodes = window.overview->Items();
    for (int i = 0; i < nodes->Count(); ++i) {
      TTreeNode* node = nodes->Item(i);
      window.overview->setSelected(node);
      if (node->Parent() == window.modulesNode) {
        const char* const tabs[] = {"modules_general", "modules_sfv",   "modules_mp3",
                                    "modules_pb",      "modules_racer", nullptr};
        showPages(window, folder, numbered(i, "panels_moduledetail"), *window.modules_pages, tabs);
      } else {
        shoot(window, folder, numbered(i, window.shownPanel->Name().str()));
      }
      // One module shows every module's pages.
      if (node->Parent() == window.modulesNode) break;
    }
    showLegends(window, folder);
    showHover(window, folder);
    showDialogs(window, hook, folder);
  }
  fs::current_path(start, error);
  fs::remove_all(scratch, error);
  std::printf("%d pictures in %s\n", written, folder.string().c_str());
  return failed == 0 ? 0 : 1;
}
