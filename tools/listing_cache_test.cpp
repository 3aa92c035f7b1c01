#include "tools/listing_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::joinPath;
using testing_support::makeDirs;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

TEST(FsFindNoCase, ExactThenFoldedMatch) {
  ScopedTempDir dir;
  writeFile(dir.at("01-a.MP3"), std::string(2048, 'x'));
  writeFile(dir.at("Same"), "1");
#ifndef _WIN32  // two names that differ only in case are one file on Windows
  writeFile(dir.at("sAME"), "22");
#endif
  makeDirs(dir.at("Sub"));
  writeFile(dir.at("outside"), "");

  platform::DirEntry found;
  ASSERT_TRUE(tools::findNoCase(dir.path(), "01-A.mp3", &found));
  EXPECT_EQ(found.name, "01-a.MP3");
  EXPECT_EQ(found.size, 2048u);
  EXPECT_FALSE(found.isFolder);
  ASSERT_TRUE(tools::findNoCase(joinPath(dir.path(), ""), "01-a.MP3", &found));
  EXPECT_EQ(found.name, "01-a.MP3");

#ifndef _WIN32
  // The exact name wins over an earlier listed folded match.
  ASSERT_TRUE(tools::findNoCase(dir.path(), "sAME", &found));
  EXPECT_EQ(found.name, "sAME");
  EXPECT_EQ(found.size, 2u);
#endif
  // Without an exact match the first listed wins ("Same" < "sAME" by bytes).
  ASSERT_TRUE(tools::findNoCase(dir.path(), "same", &found));
  EXPECT_EQ(found.name, "Same");
  EXPECT_EQ(found.size, 1u);

  ASSERT_TRUE(tools::findNoCase(dir.path(), "sub", &found));
  EXPECT_EQ(found.name, "Sub");
  EXPECT_TRUE(found.isFolder);

  EXPECT_FALSE(tools::findNoCase(dir.path(), "01-a.mp", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), "01-a.mp3x", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), "", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), ".", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), "..", &found));
  // A name never reaches out of its folder.
  EXPECT_FALSE(tools::findNoCase(dir.at("Sub"), "../outside", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), "Sub/../outside", &found));
  EXPECT_FALSE(tools::findNoCase(dir.path(), "Sub\\..\\outside", &found));
  EXPECT_FALSE(tools::findNoCase(dir.at("none"), "x", &found));

  ASSERT_TRUE(platform::changeDir(dir.path().c_str()));
  ASSERT_TRUE(tools::findNoCase("", "01-a.mp3", &found));
  EXPECT_EQ(found.name, "01-a.MP3");
  // "c:" is the current folder of drive C: on Windows, which this is, there.
  EXPECT_FALSE(tools::findNoCase("", "c:outside", &found));
}

TEST(FsFindNoCase, ListingIsKeptUntilForgotten) {
  ScopedTempDir dir;
  const std::string rel = dir.at("rel");
  makeDirs(rel);
  platform::DirEntry found;
  ASSERT_FALSE(tools::findNoCase(rel, "SEEN", &found));
  writeFile(joinPath(rel, "Seen"), "");
#ifdef _WIN32
  // The system finds a name whatever its case: the new file is found at
  // once, under its own name.
  ASSERT_TRUE(tools::findNoCase(rel, "SEEN", &found));
  EXPECT_EQ(found.name, "Seen");
#else
  EXPECT_FALSE(tools::findNoCase(rel, "SEEN", &found));
  EXPECT_TRUE(tools::findNoCase(rel, "Seen", &found));  // the exact name is always looked at
#endif
  tools::forgetListing(joinPath(rel, ""));  // the same folder, spelled otherwise
  EXPECT_TRUE(tools::findNoCase(rel, "SEEN", &found));
  EXPECT_EQ(found.name, "Seen");
}

}  // namespace
