#include "programs/brindleset/brindleset.h"

int main() { return WinMain(); }
