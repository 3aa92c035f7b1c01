#include "platform/process.h"
#include "programs/tallyglad/tallyglad.h"

int main(int argc, char** argv) {
  return runSfvSuccessHook(XString(platform::commandLineText(argc, argv)));
}
