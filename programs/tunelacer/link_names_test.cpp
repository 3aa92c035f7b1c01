#include "programs/tunelacer/link_names.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

using testing_support::nativePath;

std::string groupOf(const char* name) {
  XString group;
  if (!releaseGroupOf(XString(name), &group)) return "<none>";
  return group.str();
}

TEST(LinkNames, ReleaseGroup) {
  EXPECT_EQ(groupOf("Artist-Title-GRP"), "GRP");
  EXPECT_EQ(groupOf("Artist-Title-2004"), "2004");
  EXPECT_EQ(groupOf("A-B"), "B");
  EXPECT_EQ(groupOf("Artist - Title -GRP"), "<none>");  // a blank before the last '-'
  EXPECT_EQ(groupOf("Artist-Title- GRP"), "<none>");    // and after it
  EXPECT_EQ(groupOf("Artist-Title_-GRP"), "<none>");
  EXPECT_EQ(groupOf("Artist-Title-_GRP"), "<none>");
  EXPECT_EQ(groupOf("Artist-Title-"), "<none>");  // '-' last
  EXPECT_EQ(groupOf("-Title"), "<none>");         // '-' first
  EXPECT_EQ(groupOf("NoDash"), "<none>");
  EXPECT_EQ(groupOf("-"), "<none>");
  EXPECT_EQ(groupOf(""), "<none>");
}

TEST(LinkNames, DirnameValueAndFolderName) {
  for (const char* various : {"va-x", "VA_Hits", "Various Artists-Best", "various_artist",
                              "VARIOUS_ARTISTS-2004", "va -", "VA -"}) {
    EXPECT_EQ(dirnameValueOf(XString(various)), "Various") << various;
  }
  EXPECT_EQ(dirnameValueOf(XString("va")), "V");
  EXPECT_EQ(dirnameValueOf(XString("va - Hits")), "V");  // only "va -" itself
  EXPECT_EQ(dirnameValueOf(XString("various artis")), "V");
  EXPECT_EQ(dirnameValueOf(XString("band-Album")), "B");
  EXPECT_EQ(dirnameValueOf(XString("Band")), "B");
  EXPECT_EQ(dirnameValueOf(XString("2Pac-X")), "2");
  EXPECT_EQ(dirnameValueOf(XString("(x)")), "(");
  EXPECT_EQ(dirnameValueOf(XString("\xC3\xA9t\xC3\xA9")), "\xC3\xA9");  // UTF-8 "é" whole
  EXPECT_EQ(dirnameValueOf(XString("\xE9t\xE9")), "\xE9");              // a Latin-1 byte alone
  EXPECT_EQ(dirnameValueOf(XString("\xC3")), "\xC3");                   // a cut character
  EXPECT_EQ(dirnameValueOf(XString("")), "");

  EXPECT_EQ(lastFolderName(XString(nativePath("/music/new/Band-Album/"))), "Band-Album");
  EXPECT_EQ(lastFolderName(XString(nativePath("/music/new/Band-Album"))), "Band-Album");
  EXPECT_EQ(lastFolderName(XString(nativePath("Band/"))), "Band");
  EXPECT_EQ(lastFolderName(XString(nativePath("/"))), "");
}

}  // namespace
