#include "platform/process.h"
#include "programs/tallysour/tallysour.h"

int main(int argc, char** argv) {
  return runSfvFailedHook(XString(platform::commandLineText(argc, argv)));
}
