#include "platform/process.h"
#include "programs/small/sweepguard.h"

int main(int argc, char** argv) {
  return runPreDeleteHook(XString(platform::commandLineText(argc, argv)));
}
