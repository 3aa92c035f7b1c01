#include "platform/process.h"
#include "programs/creditdole/creditdole.h"

int main(int argc, char** argv) {
  return runAllotment(XString(platform::commandLineText(argc, argv)));
}
