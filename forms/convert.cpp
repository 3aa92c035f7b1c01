#include "forms/convert.h"

namespace {

[[noreturn]] void notAnInteger(const XString& text) {
  throw EConvertError(XString("'") + text + "' is not a valid integer value");
}

}  // namespace

int StrToInt(const XString& text) {
  const char* s = text.c_str();
  unsigned int n = text.length();
  unsigned int i = 0;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == n) notAnInteger(text);
  // The magnitude, checked digit by digit so that it never overflows.
  const long long limit = negative ? 2147483648LL : 2147483647LL;
  long long value = 0;
  for (; i < n; ++i) {
    if (s[i] < '0' || s[i] > '9') notAnInteger(text);
    value = value * 10 + (s[i] - '0');
    if (value > limit) notAnInteger(text);
  }
  return static_cast<int>(negative ? -value : value);
}
