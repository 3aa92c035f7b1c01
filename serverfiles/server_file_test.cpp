#include "serverfiles/server_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::ScopedTempDir;
using testing_support::writeFile;

// A server file is the file a link leads to, through any number of links,
// relative ones taken from the link's own folder; whatever leads to no
// regular file is refused.
TEST(ServerFileTest, TargetIsTheFileALinkLeadsTo) {
  ScopedTempDir temp;
  writeFile(temp.at("users.txt"), "alice\n");
  ASSERT_TRUE(platform::makeDir(temp.at("server").c_str()));
  std::string real = platform::resolvedPath(temp.at("users.txt"));
  struct Case {
    std::string path;
    bool found;
  };
  std::vector<Case> cases = {
      {temp.at("users.txt"), true},
      {temp.at("missing.txt"), false},
      {temp.at("server"), false},
      {"", false},
  };
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink("../users.txt", temp.at("server/users.lnk").c_str()), 0);
  ASSERT_EQ(symlink(temp.at("server/users.lnk").c_str(), temp.at("twice.lnk").c_str()), 0);
  ASSERT_EQ(symlink("nowhere.txt", temp.at("dangling.lnk").c_str()), 0);
  ASSERT_EQ(symlink("server", temp.at("folder.lnk").c_str()), 0);
  ASSERT_EQ(mkfifo(temp.at("fifo").c_str(), 0600), 0);
  cases.push_back({temp.at("server/users.lnk"), true});
  cases.push_back({temp.at("twice.lnk"), true});
  cases.push_back({temp.at("dangling.lnk"), false});
  cases.push_back({temp.at("folder.lnk"), false});
  cases.push_back({temp.at("fifo"), false});
#endif
  for (const Case& c : cases) {
    std::string target;
    EXPECT_EQ(serverFileTarget(c.path.c_str(), &target), c.found) << c.path;
    if (c.found) {
      EXPECT_TRUE(platform::sameFile(target.c_str(), real.c_str())) << c.path;
      EXPECT_FALSE(platform::isLink(target.c_str())) << c.path;
    }
  }
}

}  // namespace
