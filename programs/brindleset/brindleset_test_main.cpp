// The utility's tests drive its real window on Qt's screenless platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/application.h"

// Fontconfig keeps what it loads until the process ends, which a leak
// checker counts as lost.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::InitGoogleTest(&argc, argv);
  Application->Initialize();
  return RUN_ALL_TESTS();
}
