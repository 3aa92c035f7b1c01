// The parts of the process layer that are the same on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/process.h"

namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, SplitAsTheWindowsRuntime) {
  EXPECT_EQ(platform::splitCommandText(""), Words{});
  EXPECT_EQ(platform::splitCommandText("   \t "), Words{});
  EXPECT_EQ(platform::splitCommandText("a b\tc"), (Words{"a", "b", "c"}));
  // A run of blanks is one separator: an empty value between blanks is lost.
  EXPECT_EQ(platform::splitCommandText("  a  b  "), (Words{"a", "b"}));
  EXPECT_EQ(platform::splitCommandText("../chmod 777  grp \"/site/x\""),
            (Words{"../chmod", "777", "grp", "/site/x"}));
  // Only quotes make an empty word.
  EXPECT_EQ(platform::splitCommandText("a \"\" b"), (Words{"a", "", "b"}));
  EXPECT_EQ(platform::splitCommandText("\"\""), Words{""});
  // Quotes group and are dropped, also in the middle of a word.
  EXPECT_EQ(platform::splitCommandText("../chmod 755 u g \"/site/My Release/CD 1\""),
            (Words{"../chmod", "755", "u", "g", "/site/My Release/CD 1"}));
  EXPECT_EQ(platform::splitCommandText("a\"b c\"d e"), (Words{"ab cd", "e"}));
  // Nothing is escaped: a backslash is a character like any other.
  EXPECT_EQ(platform::splitCommandText("\"c:\\dir\\\" x"), (Words{"c:\\dir\\", "x"}));
  EXPECT_EQ(platform::splitCommandText("a\\\"b c\""), (Words{"a\\b c"}));
  // An open quote runs to the end.
  EXPECT_EQ(platform::splitCommandText("a \"b c"), (Words{"a", "b c"}));
}

}  // namespace
