#include "platform/process.h"
#include "programs/landfall/landfall.h"

int main(int argc, char** argv) {
  return runUploadHook(XString(platform::commandLineText(argc, argv)));
}
