#include "foundation/version.h"

const XString versionString("Brindlecast version 0.95 c");
