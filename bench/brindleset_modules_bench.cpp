// Times the configuration utility's module work inside one process, on Qt's
// screenless platform: switching the module pages between two modules
// (every module control stored into the module left and filled from the
// module chosen) and adding 100 modules through the module editor, against
// the floor of showing the module list panel once. Each step ends when Qt
// has handled what it caused (repaints included).
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/window_shown.h"
#include "forms/forms.h"
#include "forms/testing.h"
#include "programs/brindleset/main_window.h"
#include "settings/module_index.h"
#include "tests/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
}

template <class Step>
double timed(Step step) {
  auto start = Clock::now();
  step();
  QCoreApplication::processEvents();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The default module and two of its own, their settings files not yet
// written (each gets the defaults when first shown).
bool makeInstall(const std::string& install) {
  testing_support::makeDirs(install + "/data");
  std::string indexPath = install + "/data/ModuleIndex.idx";
  ModuleIndex<MConfig> index(indexPath.c_str());
  index.ensureDefault();
  index.add("mp3.bcm", "/mp3/", "mp3", "the mp3 releases", 0);
  index.add("dvd.bcm", "/dvd/", "dvd", "the dvd releases", 0);
  return index.save(indexPath.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string top = bench::makeScratchFolder("brindleset-modules-bench");
  if (top.empty() || !makeInstall(top + "/install")) return 1;

  Application->Initialize();
  // The module editor is answered as a person would: the four boxes filled
  // and "Add" pressed.
  forms::testing::ScriptedHook hook;
  std::vector<double> panel;
  std::vector<double> switches;
  std::vector<double> racerSwitches;
  double adding = 0;
  int added = 0;
  {
    TMainWindow window(nullptr, XString(top + "/install"));
    window.Show();
    if (!bench::waitShown(window.widget())) return 1;
    TTreeNode* general = window.overview->Items()->Item(0);
    TTreeNode* modules = window.modulesNode;
    TTreeNode* mp3 = modules->Item(1);
    TTreeNode* dvd = modules->Item(2);
    // Each page once, so that no first paint counts.
    for (TTreeNode* node : {modules, mp3, dvd, general})
      timed([&] { window.overview->setSelected(node); });

    for (int r = 0; r < rounds; ++r) {
      timed([&] { window.overview->setSelected(general); });
      panel.push_back(timed([&] { window.overview->setSelected(modules); }));
    }
    timed([&] { window.overview->setSelected(mp3); });
    for (int r = 0; r < rounds; ++r) {
      switches.push_back(timed([&] { window.overview->setSelected(r % 2 ? mp3 : dvd); }));
    }
    // Again with the page of the largest templates in front.
    window.modules_pages->setActivePage(forms::testing::find<TTabSheet>(window, "modules_racer"));
    timed([&] { window.overview->setSelected(dvd); });
    for (int r = 0; r < rounds; ++r) {
      racerSwitches.push_back(timed([&] { window.overview->setSelected(r % 2 ? dvd : mp3); }));
    }

    timed([&] { window.overview->setSelected(modules); });
    TButton* add = forms::testing::find<TButton>(window, "addmodule");
    for (int i = 0; i < 100; ++i) {
      hook.modalAnswers.push_back([i](TForm& editor) {
        std::string n = std::to_string(i);
        forms::testing::find<TEdit>(editor, "fn")->setText(XString("section" + n + ".bcm"));
        forms::testing::find<TEdit>(editor, "sdesc")->setText(XString("section" + n));
        forms::testing::find<TEdit>(editor, "desc")->setText(XString("the releases of " + n));
        forms::testing::find<TEdit>(editor, "pth")->setText(XString("/section" + n + "/"));
        forms::testing::find<TButton>(editor, "ok")->Click();
      });
    }
    adding = timed([&] {
      for (int i = 0; i < 100; ++i) add->Click();
    });
    added = window.moduleIndex.count - 3;
  }

  double floor = median(panel);
  double perSwitch = median(switches);
  std::printf("floor: the module list panel shown once: %.3f ms (median of %d)\n\n", floor * 1e3,
              rounds);
  std::printf("%-44s %10s %8s\n", "", "ms", "x floor");
  double racerSwitch = median(racerSwitches);
  std::printf("%-44s %10.3f %8.2f\n", "switch between two modules, general tab", perSwitch * 1e3,
              perSwitch / floor);
  std::printf("%-44s %10.3f %8.2f\n", "switch between two modules, racer tab", racerSwitch * 1e3,
              racerSwitch / floor);
  std::printf("%-44s %10.3f %8.2f\n", "add 100 modules through the editor", adding * 1e3,
              adding / floor);
  std::printf("%-44s %10.3f %8.2f\n", "  one add, on average", adding * 10, adding / 100 / floor);
  if (added != 100) std::printf("\nonly %d modules were added\n", added);
  return bench::dropScratchFolder(top) && added == 100 ? 0 : 1;
}
