#include "hookkit/ask.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/xstring_list.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::readFile;
using testing_support::textBytes;

std::string askReply(const InstallSandbox& box, std::initializer_list<const char*> reasons) {
  std::string path = joinPath(box.output(), "ask-landguard.17");
  testing_support::removeFileForTest(path);
  {
    Ask ask(XPath(box.root()), XString("landguard"), XString("17"));
    for (const char* reason : reasons) ask.deny(XString(reason));
  }
  return readFile(path);
}

TEST(AskTest, ReplyTexts) {
  InstallSandbox box;
  // Written in text mode: CR LF line ends on Windows.
  EXPECT_EQ(askReply(box, {}), textBytes("1\n"));
  EXPECT_EQ(askReply(box, {"the SFV must be uploaded first."}),
            textBytes("0\nupload denied: the SFV must be uploaded first.\n"));
  EXPECT_EQ(askReply(box, {"A", "B", "C"}),
            textBytes("0\n"
                      "upload denied due to the following reasons:\n"
                      "   - C\n"
                      "   - B\n"
                      "   - A\n"));
  EXPECT_EQ(askReply(box, {"same", "same"}),
            textBytes("0\n"
                      "upload denied due to the following reasons:\n"
                      "   - same\n"
                      "   - same\n"));
  EXPECT_EQ(listNames(box.output()), std::vector<std::string>{"ask-landguard.17"});
}

TEST(AskTest, ReplyPaths) {
  InstallSandbox box;
  Ask bare(XPath(box.root()), XString("foldbirth"), XString("9"));
  Ask trailing(XPath(joinPath(box.root(), "")), XString("foldbirth"), XString("9"));
  EXPECT_EQ(bare.replyPath(), joinPath(box.output(), "ask-foldbirth.9").c_str());
  EXPECT_EQ(trailing.replyPath(), bare.replyPath());

  // Without a server folder, or without an output folder in it, nothing is
  // written.
  {
    Ask none(XPath(""), XString("landguard"), XString("1"));
    EXPECT_EQ(none.replyPath(), "");
  }
  testing_support::makeDirs(joinPath(box.root(), "nooutput"));
  { Ask lost(XPath(joinPath(box.root(), "nooutput")), XString("landguard"), XString("2")); }
  EXPECT_TRUE(listNames(joinPath(box.root(), "nooutput")).empty());

  // An existing reply of the same name is replaced.
  testing_support::writeFile(joinPath(box.output(), "ask-landguard.3"), "old reply text\n");
  { Ask again(XPath(box.root()), XString("landguard"), XString("3")); }
  EXPECT_EQ(readFile(joinPath(box.output(), "ask-landguard.3")), textBytes("1\n"));
}

TEST(AskTest, FirstMatchNamesThePatternInListOrder) {
  XStringList patterns;
  patterns.add("*");
  patterns.add("*.nfo");  // the head
  EXPECT_EQ(patterns.firstMatch(XString("release.NFO")), "*.nfo");
  EXPECT_EQ(patterns.firstMatch(XString("a.rar")), "*");
  XStringList empty;
  EXPECT_EQ(empty.firstMatch(XString("a.rar")), "");
}

}  // namespace
