#include "hookkit/ask.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/xstring_list.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::listNames;
using testing_support::readFile;

std::string askReply(const InstallSandbox& box, std::initializer_list<const char*> reasons) {
  std::string path = box.output() + "/ask-landguard.17";
  testing_support::removeFileForTest(path);
  {
    Ask ask(XPath(box.root()), XString("landguard"), XString("17"));
    for (const char* reason : reasons) ask.deny(XString(reason));
  }
  return readFile(path);
}

TEST(AskTest, ReplyTexts) {
  InstallSandbox box;
  EXPECT_EQ(askReply(box, {}), "1\n");
  EXPECT_EQ(askReply(box, {"the SFV must be uploaded first."}),
            "0\nupload denied: the SFV must be uploaded first.\n");
  EXPECT_EQ(askReply(box, {"A", "B", "C"}),
            "0\n"
            "upload denied due to the following reasons:\n"
            "   - C\n"
            "   - B\n"
            "   - A\n");
  EXPECT_EQ(askReply(box, {"same", "same"}),
            "0\n"
            "upload denied due to the following reasons:\n"
            "   - same\n"
            "   - same\n");
  EXPECT_EQ(listNames(box.output()), std::vector<std::string>{"ask-landguard.17"});
}

TEST(AskTest, ReplyPaths) {
  InstallSandbox box;
  Ask bare(XPath(box.root()), XString("foldbirth"), XString("9"));
  Ask trailing(XPath(box.root() + "/"), XString("foldbirth"), XString("9"));
  EXPECT_EQ(bare.replyPath(), (box.output() + "/ask-foldbirth.9").c_str());
  EXPECT_EQ(trailing.replyPath(), bare.replyPath());

  // Without a server folder, or without an output folder in it, nothing is
  // written.
  {
    Ask none(XPath(""), XString("landguard"), XString("1"));
    EXPECT_EQ(none.replyPath(), "");
  }
  testing_support::makeDirs(box.root() + "/nooutput");
  { Ask lost(XPath(box.root() + "/nooutput"), XString("landguard"), XString("2")); }
  EXPECT_TRUE(listNames(box.root() + "/nooutput").empty());

  // An existing reply of the same name is replaced.
  testing_support::writeFile(box.output() + "/ask-landguard.3", "old reply text\n");
  { Ask again(XPath(box.root()), XString("landguard"), XString("3")); }
  EXPECT_EQ(readFile(box.output() + "/ask-landguard.3"), "1\n");
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
