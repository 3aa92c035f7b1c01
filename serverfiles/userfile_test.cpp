#include "serverfiles/userfile.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::items;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// The files of serverfiles/testdata/make_golden.py.
std::string golden(const std::string& name) {
  return readFile(std::string(BRINDLE_SOURCE_DIR) + "/serverfiles/testdata/" + name);
}

// Another writer's change, seen by size or by time.
void writeAsServer(const std::string& path, const std::string& bytes) {
  auto before = std::filesystem::last_write_time(path);
  writeFile(path, bytes);
  std::filesystem::last_write_time(path, before + std::chrono::seconds(2));
}

// What the server writes, once, while a save's new copy is flushed.
std::string flushPath;
std::string flushBytes;
void serverWritesDuringFlush() {
  if (flushPath.empty()) return;
  writeAsServer(flushPath, flushBytes);
  flushPath.clear();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(UserfileTest, UntouchedLinesStayByteForByteAndCreditsChangeInHundredths) {
  ScopedTempDir temp;
  std::string path = temp.at("users.txt");
  writeFile(path, golden("users-server.txt"));
  ASSERT_TRUE(platform::setModeBits(path.c_str(), 0600));
  unsigned int bits = 0;  // 0600, or what Windows keeps of it
  ASSERT_TRUE(platform::modeBits(path.c_str(), &bits));
#ifndef _WIN32
  // The server's own user owns its file; the rewrite keeps that.
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
#endif

  Userfile users(path.c_str());
  ASSERT_TRUE(users.ok);
  ASSERT_EQ(users.count, 4u);
  EXPECT_EQ(users.entry(4), nullptr);

  UserfileEntry& alice = *users.entry(0);
  EXPECT_EQ(alice.user, "alice");
  EXPECT_EQ(alice.group, "staff");
  EXPECT_EQ(items(alice.groups()), (std::vector<std::string>{"music", "video"}));
  EXPECT_EQ(alice.number(6), 1000u);
  EXPECT_EQ(alice.signedNumber(9), 1500);
  EXPECT_FALSE(alice.flagsInvalid());
  const bool alternate[7] = {true, false, true, false, true, false, true};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(alice.flag(i + 1), alternate[i]) << i;
  EXPECT_EQ(alice.credits, 1250);  // "12,5"
  EXPECT_EQ(alice.creditText(), "12.50");
  EXPECT_EQ(alice.field(23), "rest of alice");

  UserfileEntry& bob = *users.entry(1);
  EXPECT_EQ(bob.signedNumber(9), -1);
  EXPECT_TRUE(bob.flagsInvalid());
  EXPECT_EQ(bob.credits, 9999999999);
  EXPECT_EQ(bob.lineEnd, "\r\n");
  EXPECT_EQ(users.entry(2)->creditText(), "1234567.89");
  const UserfileEntry& dave = *users.entry(3);
  EXPECT_EQ(dave.credits, -350);
  EXPECT_EQ(dave.field(23), "last");
  EXPECT_EQ(dave.number(7), 0u);  // "+5"
  EXPECT_TRUE(dave.lineEnd.empty());

  alice.credits += 50 * kCreditUnit;
  bob.credits += 1 * kCreditUnit;
  EXPECT_EQ(bob.toLine(), "bob:1:pw2:users:0:1:2:3:-1:1:0:0::::100000000.99:0:0:abc::0:1:");
  ASSERT_TRUE(users.save(path.c_str()));
  EXPECT_EQ(readFile(path), golden("users-server-saved.txt"));
  unsigned int mode = 0;
  ASSERT_TRUE(platform::modeBits(path.c_str(), &mode));
  EXPECT_EQ(mode, bits);
#ifndef _WIN32
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
#endif

  // Saved again, nothing is applied twice.
  ASSERT_TRUE(users.save(path.c_str()));
  EXPECT_EQ(readFile(path), golden("users-server-saved.txt"));
  ASSERT_TRUE(users.load(path.c_str()));
  EXPECT_EQ(users.entry(0)->credits, 6250);
  EXPECT_EQ(users.entry(1)->creditText(), "100000000.99");
}

TEST(UserfileTest, ASaveNeedsAWholeReading) {
  ScopedTempDir temp;
  std::string path = temp.at("users.txt");
  Userfile missing(path.c_str());
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.save(path.c_str()));
  EXPECT_FALSE(exists(path));

  const std::string server = golden("users-server.txt");
  const std::string line = server.substr(0, server.find('\n') + 1);
  const std::string broken = line + "\n" + line;
  writeFile(path, broken);
  Userfile gap(path.c_str());
  EXPECT_FALSE(gap.ok);
  EXPECT_EQ(gap.count, 1u);
  EXPECT_FALSE(gap.save(path.c_str()));
  EXPECT_EQ(readFile(path), broken);

  writeFile(path, "");
  Userfile empty(path.c_str());
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(empty.count, 0u);
  ASSERT_TRUE(empty.save(temp.at("copy.txt").c_str()));
  EXPECT_EQ(readFile(temp.at("copy.txt")), "");

  // Cut anywhere: whatever loads whole saves to the same bytes.
  for (size_t n = 0; n <= server.size(); ++n) {
    writeFile(path, server.substr(0, n));
    Userfile cut(path.c_str());
    if (!cut.ok) continue;
    ASSERT_TRUE(cut.save(path.c_str())) << n;
    ASSERT_EQ(readFile(path), server.substr(0, n)) << n;
  }
}

TEST(UserfileTest, ChangesByTheServerBetweenLoadAndSaveAreKept) {
  ScopedTempDir temp;
  std::string path = temp.at("users.txt");
  const std::string original = golden("users-server.txt");
  writeFile(path, original);

  Userfile users(path.c_str());
  ASSERT_TRUE(users.ok);
  users.entry(0)->credits += 50 * kCreditUnit;  // alice, 12.50 when read
  users.entry(3)->credits += 1;                 // dave, whom the server removes

  // Meanwhile the server charges alice a download, changes bob and drops
  // dave for a new user.
  std::string server = replaced(original, ":12,5:", ":10.00:");
  server = replaced(server, ":pw2:", ":pw9:");
  server =
      server.substr(0, server.find("dave:")) + "erin:" + server.substr(server.find("dave:") + 5);
  writeAsServer(path, server);
  ASSERT_TRUE(users.save(path.c_str()));
  EXPECT_EQ(readFile(path), replaced(server, ":10.00:", ":60.00:"));

  // A change that keeps the size is seen by its time.
  const std::string before = readFile(path);
  ASSERT_TRUE(users.entry(1) != nullptr);
  users.entry(1)->credits = 0;  // bob, 99999999.99
  std::string sameSize = replaced(before, ":pw9:", ":pw8:");
  writeAsServer(path, sameSize);
  ASSERT_TRUE(users.save(path.c_str()));
  EXPECT_EQ(readFile(path), replaced(sameSize, ":99999999.99:", ":0.00:"));

  // A change made while the new copy is written and flushed, the last
  // moment before it would replace the file.
  users.entry(0)->credits += kCreditUnit;  // alice, 60.00
  flushPath = path;
  flushBytes = replaced(readFile(path), ":pw8:", ":pw7:");
  const std::string server2 = flushBytes;
  setServerFileFlushedHook(&serverWritesDuringFlush);
  const bool saved = users.save(path.c_str());
  setServerFileFlushedHook(nullptr);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(flushPath.empty());  // the server did write
  EXPECT_EQ(readFile(path), replaced(server2, ":60.00:", ":61.00:"));
}

}  // namespace
