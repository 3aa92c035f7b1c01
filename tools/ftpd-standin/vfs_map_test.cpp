#include "tools/ftpd-standin/vfs_map.h"

#include <gtest/gtest.h>

namespace ftpd {
namespace {

TEST(VfsMap, LineIsTheServersForm) {
  EXPECT_EQ(vfsLine("/site/root/", "/", "site", "site", "777"),
            "/site/root|/|site|site|777|r|0|0|0|0|0|0|0|0|\n");
  EXPECT_EQ(vfsLine("/", "/mp3/", "u", "g", "755"), "/|/mp3|u|g|755|r|0|0|0|0|0|0|0|0|\n");
  VfsMap map;
  map.parse(vfsLine("/site/root", "/", "a", "b", "777"));
  ASSERT_EQ(map.mappings().size(), 1u);
  EXPECT_EQ(map.mappings()[0].realPath, "/site/root");
  EXPECT_EQ(map.mappings()[0].virtualPath, "/");
}

TEST(VfsMap, ParsePassesOverMalformedLines) {
  VfsMap map;
  map.parse(
      "/r|/|o|g|777|r|0|0|0|0|0|0|0|0|\r\n"
      "\r\n"
      "/x|/x|o|g|777|r|0|0|0|0|0|0|0|0\n"         // 13 separators
      "/y|/y|o|g|777|r|0|0|0|0|0|0|0|0|a|\n"      // 15
      "/m|/mp3|o|g|777|r|0|0|0|0|0|0|0|0|rest");  // no line end
  ASSERT_EQ(map.mappings().size(), 2u);
  EXPECT_EQ(map.mappings()[1].realPath, "/m");
  EXPECT_EQ(map.mappings()[1].virtualPath, "/mp3");
  EXPECT_EQ(map.malformedLines(), 3);
}

TEST(VfsMap, PhysicalByLongestVirtualPrefix) {
  VfsMap map;
  map.parse(
      "/site/root|/|o|g|777|r|0|0|0|0|0|0|0|0|\n"
      "/disk2/mp3|/MP3|o|g|777|r|0|0|0|0|0|0|0|0|\n"
      "/disk3/new|/mp3/new/|o|g|777|r|0|0|0|0|0|0|0|0|\n"
      "/disk4/other|/mp3/new|o|g|777|r|0|0|0|0|0|0|0|0|\n");
  std::string p;
  ASSERT_TRUE(map.toPhysical("/", &p));
  EXPECT_EQ(p, "/site/root");
  ASSERT_TRUE(map.toPhysical("/Rel/CD1", &p));
  EXPECT_EQ(p, "/site/root/Rel/CD1");
  ASSERT_TRUE(map.toPhysical("/mp3/Rel/", &p));
  EXPECT_EQ(p, "/disk2/mp3/Rel");
  ASSERT_TRUE(map.toPhysical("/mp3", &p));
  EXPECT_EQ(p, "/disk2/mp3");
  // The prefix ends at a folder boundary.
  ASSERT_TRUE(map.toPhysical("/mp3x/a", &p));
  EXPECT_EQ(p, "/site/root/mp3x/a");
  // Longest wins; of two equally long, the first in the file.
  ASSERT_TRUE(map.toPhysical("/Mp3/New/x.mp3", &p));
  EXPECT_EQ(p, "/disk3/new/x.mp3");

  VfsMap partial;
  partial.parse("/disk2/mp3|/mp3|o|g|777|r|0|0|0|0|0|0|0|0|\n");
  EXPECT_FALSE(partial.toPhysical("/other", &p));
  VfsMap empty;
  EXPECT_FALSE(empty.toPhysical("/", &p));
}

}  // namespace
}  // namespace ftpd
