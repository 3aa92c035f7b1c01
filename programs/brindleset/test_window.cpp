#include "programs/brindleset/test_window.h"

#include <cstdlib>

namespace brindleset_test {

WindowTest::WindowTest() : install(temp.at("install")), dataFolder(install + "/data") {
  testing_support::makeDirs(install);
  forms::testing::clearTerminated();
}

std::unique_ptr<TMainWindow> WindowTest::start() {
  auto window = std::make_unique<TMainWindow>(nullptr, XString(install));
  window->Show();
  return window;
}

std::vector<std::string> WindowTest::dataFiles() const {
  return testing_support::listNames(dataFolder);
}

void showNode(TMainWindow& window, const char* text) {
  TTreeNodes* nodes = window.overview->Items();
  for (int i = 0; i < nodes->Count(); ++i) {
    if (nodes->Item(i)->Text() == text) {
      window.overview->setSelected(nodes->Item(i));
      return;
    }
  }
  ADD_FAILURE() << "no tree node " << text;
}

void showPage(TMainWindow& window, const char* page) {
  auto* sheet = &the<TTabSheet>(window, page);
  if (sheet->Parent() == window.racer_pages) {
    window.modules_pages->setActivePage(&the<TTabSheet>(window, "modules_racer"));
    window.racer_pages->setActivePage(sheet);
  } else {
    window.modules_pages->setActivePage(sheet);
  }
}

void writeIndex(const std::string& dataFolder,
                const std::vector<std::vector<std::string>>& modules) {
  testing_support::makeDirs(dataFolder);
  std::string path = dataFolder + "/ModuleIndex.idx";
  ModuleIndex<MConfig> index(path.c_str());
  index.ensureDefault();
  for (const std::vector<std::string>& m : modules) {
    index.add(XString(m[0]), XString(m[1]), XString(m[2]), XString("the " + m[2] + " module"), 0);
  }
  ASSERT_TRUE(index.save(path.c_str()));
}

std::vector<std::string> itemsOf(TMainWindow& window, const char* name) {
  std::vector<std::string> items;
  TStrings* strings = the<TListBox>(window, name).Items();
  for (int i = 0; i < strings->Count(); ++i) items.push_back(strings->Strings(i).str());
  return items;
}

}  // namespace brindleset_test
