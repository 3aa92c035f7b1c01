#include "platform/process.h"
#include "programs/landguard/landguard.h"

int main(int argc, char** argv) {
  return runPreUploadHook(XString(platform::commandLineText(argc, argv)));
}
