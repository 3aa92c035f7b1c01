// Numbers in text: decimal only, '-' the only sign, '.' or ',' as decimal
// separator on input, '.' on output, no locale. Nothing here reports errors,
// and wrapping is done in unsigned 32-bit arithmetic.
#include "foundation/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Writes the digits of `magnitude` into the end of `buffer`; returns the
// first digit's position.
char* writeDigits(uint32_t magnitude, char* end) {
  char* p = end;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  return p;
}

uint32_t magnitudeOf(int value) {
  uint32_t bits = static_cast<uint32_t>(value);
  return value < 0 ? 0u - bits : bits;
}

XString integerText(bool negative, uint32_t magnitude, unsigned int width) {
  char digits[16];
  char* end = digits + sizeof digits;
  char* first = writeDigits(magnitude, end);
  XString text(first, static_cast<unsigned int>(end - first));
  if (width > 0) text.padLeft('0', width);
  if (!negative) return text;
  XString signed_text("-");
  signed_text += text;
  return signed_text;
}

}  // namespace

XString::XString(unsigned int value) : XString(integerText(false, value, 0)) {}

XString::XString(int value) : XString(integerText(value < 0, magnitudeOf(value), 0)) {}

XString::XString(unsigned int value, unsigned int width)
    : XString(integerText(false, value, width)) {}

XString::XString(int value, unsigned int width)
    : XString(integerText(value < 0, magnitudeOf(value), width)) {}

unsigned int decimalDigits(int value) {
  uint32_t magnitude = magnitudeOf(value);
  unsigned int digits = 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++digits;
  }
  return digits;
}

unsigned int roundHalfUp(float value) {
  float magnitude = std::fabs(value);
  if (!std::isfinite(magnitude) || magnitude >= 4294967295.0f) return 0;
  uint32_t whole = static_cast<uint32_t>(magnitude);
  float fraction = magnitude - static_cast<float>(whole);
  int firstDecimal = static_cast<int>(fraction * 10.0f);
  if (firstDecimal >= 5 && whole < 4294967295u) ++whole;
  return whole;
}

XString::XString(float value, int decimals) : XString() {
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  uint32_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  bool negative = value < 0;
  // The product is stored as a 4-byte float before rounding, so 1.005 with
  // two decimals gives 100.5 and rounds to 101.
  float product = static_cast<float>(std::fabs(static_cast<double>(value)) * scale);
  uint32_t v = roundHalfUp(product);
  if (!std::isfinite(value)) negative = false;
  XString text = negative ? XString("-") : XString();
  text += XString(static_cast<unsigned int>(v / scale));
  text += ".";
  if (decimals > 0) {
    text += XString(static_cast<unsigned int>(v % scale), static_cast<unsigned int>(decimals));
  }
  *this = text;
}

unsigned int XString::toUInt() const {
  uint32_t value = 0;
  for (unsigned int i = 0; i < length_ && text_[i] >= '0' && text_[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text_[i] - '0');
  }
  return value;
}

int XString::toInt() const {
  unsigned int i = 0;
  bool negative = length_ > 0 && text_[0] == '-';
  if (negative) i = 1;
  uint32_t value = 0;
  for (; i < length_ && text_[i] >= '0' && text_[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text_[i] - '0');
  }
  if (negative) value = 0u - value;
  int result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

float XString::toFloat() const {
  unsigned int i = 0;
  bool negative = length_ > 0 && text_[0] == '-';
  if (negative) i = 1;
  float sum = 0.0f;
  bool separator = false;
  int decimals = 0;
  for (; i < length_; ++i) {
    char c = text_[i];
    if (c >= '0' && c <= '9') {
      sum = sum * 10.0f + static_cast<float>(c - '0');
      if (separator) ++decimals;
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (decimals > 0) sum = static_cast<float>(sum / std::pow(10.0, decimals));
  return negative ? -sum : sum;
}

bool XString::isNumber() const {
  for (unsigned int i = 0; i < length_; ++i) {
    char c = text_[i];
    if (!((c >= '0' && c <= '9') || c == '.' || c == ',')) return false;
  }
  return true;
}

bool XString::isTrue() const { return length_ == 1 && text_[0] == '1'; }

XString formatSize(unsigned int kilobytes) {
  if (kilobytes < 1024) return XString(kilobytes) + " kb";
  if (kilobytes < 1048576) {
    return XString(static_cast<float>(kilobytes / 1024.0), 2) + " MB";
  }
  return XString(static_cast<float>(kilobytes / 1048576.0), 2) + " GB";
}
