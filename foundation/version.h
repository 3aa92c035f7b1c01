// The suite's version text.
#ifndef FOUNDATION_VERSION_H_
#define FOUNDATION_VERSION_H_

#include "foundation/xstring.h"

extern const XString versionString;

#endif  // FOUNDATION_VERSION_H_
