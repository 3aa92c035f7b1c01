// The parts of the process layer that are the same on every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/process.h"
#include "tests/test_support.h"

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

using testing_support::nativePath;

// The Windows command text of the chmod program, built the same on every
// platform: the path always quoted, nothing escaped, and no text at all for
// a value that holds a '"'.
TEST(ChmodCommand, TextAsDescribedOrNone) {
  struct Case {
    platform::ChmodCall call;
    const char* text;  // null: refused
  } cases[] = {
      {{"..\\chmod.exe", "764", "alice", "crew", "c:\\site\\Rel\\a.mp3"},
       "..\\chmod.exe 764 alice crew \"c:\\site\\Rel\\a.mp3\""},
      // Blanks in a name stay bare outside the path; an empty user is an
      // empty stretch; a trailing backslash is not doubled.
      {{"..\\chmod.exe", "755", "", "my group", "c:\\site\\My Rel\\"},
       "..\\chmod.exe 755  my group \"c:\\site\\My Rel\\\""},
      {{"../chmod", "777", "u", "g", "/site/*-missing"}, "../chmod 777 u g \"/site/*-missing\""},
      {{"../chmod", "764", "alice", "grp", "/site/..\" 764 mallory GRP \"x/@alice"}, nullptr},
      {{"../chmod", "764", "al\"ice", "grp", "/site/x"}, nullptr},
      {{"../chmod", "764", "alice", "\"", "/site/x"}, nullptr},
      {{"../chmod", "7\"4", "alice", "grp", "/site/x"}, nullptr},
  };
  for (const Case& c : cases) {
    std::string text = "untouched";
    const bool built = platform::chmodCommandText(c.call, &text);
    EXPECT_EQ(built, c.text != nullptr) << c.call.path;
    EXPECT_EQ(text, c.text != nullptr ? c.text : "untouched") << c.call.path;
  }
}

// A program's folder comes from the path it was started by: quotes round
// it dropped, the root for a program just below it, else the running
// executable's folder.
TEST(ProgramFolder, FromTheOwnPathUnquoted) {
  const std::string exe = platform::executableFolder();
  ASSERT_FALSE(exe.empty());
  struct Case {
    std::string own;
    std::string folder;
  } cases[] = {
      {nativePath("/srv/bc/landfall"), nativePath("/srv/bc")},
      {"\"" + nativePath("/srv/Brindle Cast/landfall") + "\"", nativePath("/srv/Brindle Cast")},
      {" \"" + nativePath("/srv/Brindle Cast/landfall") + "\"", nativePath("/srv/Brindle Cast")},
      {"\"" + nativePath("/srv/Brindle Cast/landfall"), nativePath("/srv/Brindle Cast")},
      {nativePath("/landfall"), nativePath("/")},
      {"landfall", exe},
      {"\"landfall\"", exe},
      {"", exe},
#ifdef _WIN32
      {"c:\\landfall.exe", "c:\\"},
      {"\"c:\\Brindle Cast\\landfall.exe\"", "c:\\Brindle Cast"},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(platform::programFolder(c.own), c.folder) << c.own;
  EXPECT_EQ(platform::unquotedPath("\"a b\"c"), "a b");
  EXPECT_EQ(platform::unquotedPath("a \"b\""), "a \"b\"");
}

}  // namespace
