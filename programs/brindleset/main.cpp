#include "programs/brindleset/brindleset.h"

int main(int argc, char** argv) { return WinMain(argc > 0 ? argv[0] : nullptr); }
