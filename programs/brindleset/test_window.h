// What the utility's tests share: an install folder of their own, the
// main window started on it, and its controls by name.
#ifndef PROGRAMS_BRINDLESET_TEST_WINDOW_H_
#define PROGRAMS_BRINDLESET_TEST_WINDOW_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "forms/testing.h"
#include "programs/brindleset/main_window.h"
#include "tests/test_support.h"

namespace brindleset_test {

// Each test gets a fresh install folder and a hook that answers the
// window's questions; the program counts as running again.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();

  // A window on the install folder, shown as a person would see it.
  std::unique_ptr<TMainWindow> start();
  // What the data folder holds, sorted.
  std::vector<std::string> dataFiles() const;
  std::string data(const std::string& name) const { return dataFolder + "/" + name; }

  testing_support::ScopedTempDir temp;
  std::string install;
  std::string dataFolder;
  forms::testing::ScriptedHook hook;
};

// The control of that name and type; the test fails at once without it.
template <class T>
T& the(TMainWindow& window, const char* name) {
  T* control = forms::testing::find<T>(window, name);
  if (!control) {
    ADD_FAILURE() << "no control " << name;
    std::abort();
  }
  return *control;
}

// The control of that name on a dialog; the test fails at once without it.
template <class T>
T& in(TForm& form, const char* name) {
  T* control = forms::testing::find<T>(form, name);
  if (!control) {
    ADD_FAILURE() << "no control " << name << " on " << form.Name().c_str();
    std::abort();
  }
  return *control;
}

// Selects the tree node of that text, as a person does to reach a panel.
void showNode(TMainWindow& window, const char* text);
// Brings a tab of the module pages (or of the racer's pages) to the front.
void showPage(TMainWindow& window, const char* page);
// An index of the default module and the given modules (file name, path,
// section name), written to the data folder before the window starts.
void writeIndex(const std::string& dataFolder,
                const std::vector<std::vector<std::string>>& modules);

// The items of a list box, first to last.
std::vector<std::string> itemsOf(TMainWindow& window, const char* name);

// The bytes a record would be saved as: two records with equal bytes hold
// the same settings.
template <class Record>
std::string savedBytes(Record& record, const std::string& path) {
  EXPECT_TRUE(record.save(path.c_str()));
  return testing_support::readFile(path);
}

}  // namespace brindleset_test

#endif  // PROGRAMS_BRINDLESET_TEST_WINDOW_H_
