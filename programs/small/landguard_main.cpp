#include "platform/process.h"
#include "programs/small/landguard.h"

int main(int argc, char** argv) {
  return runPreUploadHook(XString(platform::commandLineText(argc, argv)));
}
