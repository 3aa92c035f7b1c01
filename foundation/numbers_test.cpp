#include "foundation/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(NumbersTest, TextToInteger) {
  EXPECT_EQ(XString("19").toInt(), 19);
  EXPECT_EQ(XString("-42x").toInt(), -42);
  EXPECT_EQ(XString("+5").toInt(), 0);
  EXPECT_EQ(XString("").toInt(), 0);
  EXPECT_EQ(XString("-").toInt(), 0);
  EXPECT_EQ(XString("-5").toUInt(), 0u);
  EXPECT_EQ(XString("007").toUInt(), 7u);
  EXPECT_EQ(XString(" 7").toUInt(), 0u);  // no blanks are skipped
  // Overflow wraps modulo 2^32.
  EXPECT_EQ(XString("4294967296").toUInt(), 0u);
  EXPECT_EQ(XString("4294967301").toUInt(), 5u);
  EXPECT_EQ(XString("2147483648").toInt(), std::numeric_limits<int>::min());
  EXPECT_EQ(XString("-2147483648").toInt(), std::numeric_limits<int>::min());
  EXPECT_EQ(XString("99999999999999999999").toUInt(), 1661992959u);
}

TEST(NumbersTest, TextToFloat) {
  EXPECT_FLOAT_EQ(XString("0,25").toFloat(), 0.25f);
  EXPECT_FLOAT_EQ(XString("-1.5").toFloat(), -1.5f);
  EXPECT_FLOAT_EQ(XString("12,5").toFloat(), 12.5f);
  EXPECT_FLOAT_EQ(XString("1.2.3").toFloat(), 1.2f);
  EXPECT_EQ(XString("-").toFloat(), 0.0f);
  EXPECT_EQ(XString("abc").toFloat(), 0.0f);
  EXPECT_FLOAT_EQ(XString("512.75kb").toFloat(), 512.75f);
}

TEST(NumbersTest, Predicates) {
  EXPECT_TRUE(XString("1.024,5").isNumber());
  EXPECT_TRUE(XString("").isNumber());
  EXPECT_FALSE(XString("-1").isNumber());
  EXPECT_TRUE(XString("1").isTrue());
  EXPECT_FALSE(XString("01").isTrue());
  EXPECT_FALSE(XString("true").isTrue());
  EXPECT_FALSE(XString("1 ").isTrue());
}

TEST(NumbersTest, IntegerToText) {
  EXPECT_EQ(XString(-7, 3u), "-007");
  EXPECT_EQ(XString(1234u, 2u), "1234");
  EXPECT_EQ(XString(4294967295u), "4294967295");
  EXPECT_EQ(XString(0u), "0");
  EXPECT_EQ(XString(-15), "-15");
  EXPECT_EQ(XString(std::numeric_limits<int>::min()), "-2147483648");
  EXPECT_EQ(XString(std::numeric_limits<int>::min(), 12u), "-002147483648");
  EXPECT_EQ(XString(true), "1");
  EXPECT_EQ(XString(false), "0");
  EXPECT_EQ(XString('q'), "q");
  EXPECT_EQ(XString(5u, 0xFFFFFFFFu).length(), kMaxPadWidth);  // width capped
}

TEST(NumbersTest, FloatToText) {
  EXPECT_EQ(XString(3.14159f, 2), "3.14");
  EXPECT_EQ(XString(1.005f, 2), "1.01");
  EXPECT_EQ(XString(9.999f, 2), "10.00");
  EXPECT_EQ(XString(0.5f, 2), "0.50");
  EXPECT_EQ(XString(-0.004f, 2), "-0.00");
  EXPECT_EQ(XString(42.0f, 0), "42.");
  EXPECT_EQ(XString(0.05f, 2), "0.05");
  EXPECT_EQ(XString(std::numeric_limits<float>::infinity(), 2), "0.00");
  EXPECT_EQ(XString(-std::numeric_limits<float>::infinity(), 2), "0.00");
  EXPECT_EQ(XString(std::nanf(""), 2), "0.00");
  EXPECT_EQ(XString(1e30f, 2), "0.00");  // does not fit: counts as 0
}

TEST(NumbersTest, Helpers) {
  EXPECT_EQ(decimalDigits(0), 1u);
  EXPECT_EQ(decimalDigits(9), 1u);
  EXPECT_EQ(decimalDigits(10), 2u);
  EXPECT_EQ(decimalDigits(-999), 3u);
  EXPECT_EQ(decimalDigits(1000000000), 10u);
  EXPECT_EQ(decimalDigits(std::numeric_limits<int>::min()), 10u);
  EXPECT_EQ(roundHalfUp(2.5f), 3u);
  EXPECT_EQ(roundHalfUp(2.49f), 2u);
  EXPECT_EQ(roundHalfUp(-2.5f), 3u);  // of the magnitude
  EXPECT_EQ(roundHalfUp(std::nanf("")), 0u);
}

TEST(NumbersTest, FormatSize) {
  EXPECT_EQ(formatSize(1023), "1023 kb");
  EXPECT_EQ(formatSize(0), "0 kb");
  EXPECT_EQ(formatSize(1024), "1.00 MB");
  EXPECT_EQ(formatSize(1536), "1.50 MB");
  EXPECT_EQ(formatSize(1048575), "1024.00 MB");
  EXPECT_EQ(formatSize(1048576), "1.00 GB");
  EXPECT_EQ(formatSize(4294967295u), "4096.00 GB");
}

}  // namespace
