#include "platform/process.h"
#include "programs/foldbirth/foldbirth.h"

int main(int argc, char** argv) {
  return runNewDirHook(XString(platform::commandLineText(argc, argv)));
}
