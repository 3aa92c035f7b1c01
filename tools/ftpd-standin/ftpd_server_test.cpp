#include "tools/ftpd-standin/ftpd_server.h"

#include <gtest/gtest.h>

#include <set>

namespace ftpd {
namespace {

TEST(FtpdServer, VirtualPathsAreNormalised) {
  std::string p;
  ASSERT_TRUE(normalVirtualPath("/", &p));
  EXPECT_EQ(p, "/");
  ASSERT_TRUE(normalVirtualPath("//Rel//CD1/", &p));
  EXPECT_EQ(p, "/Rel/CD1");
  ASSERT_TRUE(normalVirtualPath("/a.b/..c", &p));
  EXPECT_EQ(p, "/a.b/..c");
  EXPECT_FALSE(normalVirtualPath("", &p));
  EXPECT_FALSE(normalVirtualPath("Rel", &p));
  EXPECT_FALSE(normalVirtualPath("/Rel/../x", &p));
  EXPECT_FALSE(normalVirtualPath("/./x", &p));
}

TEST(FtpdServer, ValuesAndRequestIds) {
  EXPECT_TRUE(passableValue("bob"));
  EXPECT_TRUE(passableValue("a??-b ?-??"));
  EXPECT_FALSE(passableValue("a??-??b"));
  EXPECT_FALSE(passableValue("a\nb"));
  EXPECT_FALSE(passableValue("a\r"));

  std::set<std::string> ids;
  for (int i = 0; i < 100; ++i) {
    std::string id = makeRequestId();
    EXPECT_EQ(id.find_first_not_of("0123456789-"), std::string::npos) << id;
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), 100u);
}

}  // namespace
}  // namespace ftpd
