#include "forms/convert.h"

#include <gtest/gtest.h>

#include <string>

TEST(FormsStrToInt, TakesSignedDecimalsOfTheThirtyTwoBitRange) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("000000000000000000012"), 12);
}

TEST(FormsStrToInt, RefusesEverythingElseWithItsText) {
  for (const char* text : {"", "-", "+", "2147483648", "-2147483649", "99999999999999999999999",
                           " 1", "1 ", "12a", "1.5", "$10", "0x10", "--1", "+-1", "1e3"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "converted '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
      EXPECT_EQ(e.Message(), e.what());
    }
  }
  // A NUL inside the text is not the end of the number.
  EXPECT_THROW(StrToInt(XString("12\0"
                                "3",
                                4)),
               EConvertError);
}
