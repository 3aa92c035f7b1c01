#include "tools/platform_gaps.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <string>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::ScopedTempDir;

TEST(PlatformGaps, TempFilesHaveShortNamesOfTheirOwn) {
  ScopedTempDir dir;
  std::set<std::string> names;
  for (int i = 0; i < 50; ++i) {
    std::string path;
    FILE* file = platform_gaps::createTempFile(dir.path(), ".tmp-", &path);
    ASSERT_NE(file, nullptr);
    ASSERT_GE(std::fputs("x", file), 0);
    ASSERT_EQ(std::fclose(file), 0);
    std::string name = path.substr(dir.path().size() + 1);
    EXPECT_EQ(name.size(), 13u) << name;
    EXPECT_EQ(name.compare(0, 5, ".tmp-"), 0) << name;
    EXPECT_EQ(testing_support::readFile(path), "x");
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 50u);
  std::string path;
  EXPECT_EQ(platform_gaps::createTempFile(dir.at("missing"), ".tmp-", &path), nullptr);
}

TEST(PlatformGaps, ModeBitsNeverFollowALink) {
  ScopedTempDir dir;
  testing_support::writeFile(dir.at("file"), "");
  ASSERT_TRUE(platform::setModeBits(dir.at("file").c_str(), 0600));
  ASSERT_EQ(symlink(dir.at("file").c_str(), dir.at("link").c_str()), 0);
  EXPECT_TRUE(platform_gaps::isLink(dir.at("link").c_str()));
  EXPECT_FALSE(platform_gaps::isLink(dir.at("file").c_str()));
  EXPECT_FALSE(platform_gaps::isLink(dir.at("missing").c_str()));

  EXPECT_FALSE(platform_gaps::setModeBitsNoFollow(dir.at("link").c_str(), 0777));
  unsigned int bits = 0;
  ASSERT_TRUE(platform::modeBits(dir.at("file").c_str(), &bits));
  EXPECT_EQ(bits, 0600u);
  EXPECT_TRUE(platform_gaps::setModeBitsNoFollow(dir.at("file").c_str(), 0640));
  ASSERT_TRUE(platform::modeBits(dir.at("file").c_str(), &bits));
  EXPECT_EQ(bits, 0640u);
}

}  // namespace
