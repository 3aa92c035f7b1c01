#include "platform/process.h"
#include "programs/sweepguard/sweepguard.h"

int main(int argc, char** argv) {
  return runPreDeleteHook(XString(platform::commandLineText(argc, argv)));
}
