#include "media/xlog.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

TEST(XLog, AppendsTextsAsGiven) {
  ScopedTempDir dir;
  const std::string path = dir.at("link.log");
  writeFile(path, "earlier run\n");
  {
    XLog log(path.c_str());
    log.write("|--scanning dir: ").writeString(XString("/mp3/a")).write("\n");
    // Empty texts add nothing.
    log.write("").writeString(XString());
  }
  {
    XLog log(path.c_str());
    log.writeString(XString("second\r\n")).write(nullptr);
  }
  // Appended in text mode: CR LF for each LF on Windows.
  EXPECT_EQ("earlier run\n" + testing_support::textBytes("|--scanning dir: /mp3/a\nsecond\n"),
            readFile(path));
}

TEST(XLog, SwallowsWritesWhenItCannotOpen) {
  ScopedTempDir dir;
  const std::string path = dir.at("missing/folder/link.log");
  writeFile(dir.at("file"), "x");
  for (const std::string& bad : {path, dir.at("file/link.log"), dir.path(), std::string()}) {
    XLog log(bad.c_str());
    log.write("text").writeString(XString("more")).write("\n");
  }
  EXPECT_FALSE(exists(path));
  EXPECT_FALSE(exists(dir.at("missing")));
  EXPECT_EQ("x", readFile(dir.at("file")));
}

}  // namespace
