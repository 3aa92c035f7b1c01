#include "platform/process.h"
#include "programs/tallyfull/tallyfull.h"

int main(int argc, char** argv) {
  return runSfvCompletedHook(XString(platform::commandLineText(argc, argv)));
}
