#include "platform/process.h"
#include "programs/dawnroll/dawnroll.h"

int main(int argc, char** argv) {
  return runDayRollover(XString(platform::commandLineText(argc, argv)));
}
