#include "platform/process.h"
#include "programs/quipgate/quipgate.h"

int main(int argc, char** argv) {
  return runSiteCommandHook(XString(platform::commandLineText(argc, argv)));
}
