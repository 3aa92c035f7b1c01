#include "serverfiles/server_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "platform/fs.h"
#include "serverfiles/userfile.h"
#include "serverfiles/vfs_file.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::readFile;
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

#ifndef _WIN32  // symbolic links
// The server's user and vfs files behind the administrator's links are read
// through the link and rewritten where it leads, the link kept. A link that
// leads to no regular file is neither read nor replaced, and nothing is
// made where it points.
TEST(ServerFileTest, SavesFollowALinkAndKeepIt) {
  ScopedTempDir temp;
  ASSERT_TRUE(platform::makeDir(temp.at("server").c_str()));
  auto user = [](const char* credits) {
    return std::string("alice:0:*:Racers:1:0:0:0:0:0:0:0::::") + credits + ":0:0:0000000-::0:0:\n";
  };
  const std::string root = "/srv|/|admin|staff|777|r|0|0|0|0|0|0|0|0|\n";
  const std::string users = temp.at("server/users.txt"), vfsFile = temp.at("server/site.vfs");
  writeFile(users, user("12.50"));
  writeFile(vfsFile, root);
  ASSERT_EQ(symlink("server/users.txt", temp.at("users.lnk").c_str()), 0);
  ASSERT_EQ(symlink(vfsFile.c_str(), temp.at("site.lnk").c_str()), 0);

  Userfile byLink(temp.at("users.lnk").c_str());
  ASSERT_TRUE(byLink.ok);
  ASSERT_EQ(byLink.count, 1u);
  byLink.entry(0)->credits += kCreditUnit;
  ASSERT_TRUE(byLink.save(temp.at("users.lnk").c_str()));
  VFSfile vfs(temp.at("site.lnk").c_str(), 10);
  ASSERT_EQ(vfs.count, 1);
  ASSERT_TRUE(vfs.addEntry("/srv/today", "/today", "o", "g", "766", 'r', 0, 0, 0, false, false,
                           false, false, false));
  ASSERT_EQ(vfs.save(temp.at("site.lnk").c_str()), 1);
  EXPECT_TRUE(platform::isLink(temp.at("users.lnk").c_str()));
  EXPECT_TRUE(platform::isLink(temp.at("site.lnk").c_str()));
  EXPECT_EQ(readFile(users), user("13.50"));
  EXPECT_EQ(readFile(vfsFile), "/srv/today|/today|o|g|766|r|0|0|0|0|0|0|0|0|\n" + root);

  ASSERT_EQ(symlink("server/gone.txt", temp.at("dangling.lnk").c_str()), 0);
  ASSERT_EQ(symlink("server", temp.at("folder.lnk").c_str()), 0);
  for (const char* name : {"dangling.lnk", "folder.lnk", "server"}) {
    const std::string path = temp.at(name);
    Userfile none(path.c_str());
    EXPECT_FALSE(none.ok) << name;
    VFSfile empty(path.c_str(), 10);
    EXPECT_EQ(empty.count, 0) << name;
    Userfile loaded(users.c_str());
    ASSERT_TRUE(loaded.ok);
    EXPECT_FALSE(loaded.save(path.c_str())) << name;
    EXPECT_EQ(vfs.save(path.c_str()), 0) << name;
  }
  EXPECT_FALSE(exists(temp.at("server/gone.txt")));
  EXPECT_TRUE(platform::isLink(temp.at("dangling.lnk").c_str()));
}
#endif

}  // namespace
