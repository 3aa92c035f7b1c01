// Free helpers of the number conversions of XString.
#ifndef FOUNDATION_NUMBERS_H_
#define FOUNDATION_NUMBERS_H_

#include "foundation/xstring.h"

// Decimal digits of the magnitude of `value`; 1 for 0.
unsigned int decimalDigits(int value);

// Integer part of the magnitude, plus 1 when its first decimal digit is 5 or
// more. Values that are not finite or do not fit 32 bits give 0.
unsigned int roundHalfUp(float value);

// A size in kilobytes with its unit: "kb" below 1024, else "MB" or "GB" with
// two decimals.
XString formatSize(unsigned int kilobytes);

#endif  // FOUNDATION_NUMBERS_H_
