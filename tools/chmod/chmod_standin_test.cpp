// Runs the built chmod stand-in from a copy in a temporary install folder,
// so its log lands there and parallel tests do not share one.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>  // symlink
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

// The suite starts it as "../chmod" from the data folder.
const std::string kProgram =
    std::string("..") + platform::kPathSepText + "chmod" + platform::kExeSuffix;

// What modeBits reads after `bits` were set: Windows keeps the owner's write
// bit alone, as the read-only attribute.
unsigned int kept(unsigned int bits, bool folder = false) {
#ifdef _WIN32
  return ((bits & 0200) != 0 ? 0666u : 0444u) | (folder ? 0111u : 0u);
#else
  (void)folder;
  return bits;
#endif
}

class ChmodStandin : public ::testing::Test {
 protected:
  void SetUp() override {
    makeDirs(dir_.at("install/data"));
    makeDirs(dir_.at("site/Rel"));
    const std::string name = std::string("chmod") + platform::kExeSuffix;
    std::string built = readFile(BRINDLE_BINARY_DIR "/bin/" + name);
    ASSERT_FALSE(built.empty()) << "build the chmod target first";
    writeFile(dir_.at("install/" + name), built);
    ASSERT_TRUE(platform::setModeBits(dir_.at("install/" + name).c_str(), 0755));
    ASSERT_TRUE(platform::changeDir(dir_.at("install/data").c_str()));
  }

  // Started as the suite starts it: on Windows with the path always quoted.
  int run(const std::string& rights, const std::string& user, const std::string& group,
          const std::string& path) {
    return platform::runChmod({kProgram, rights, user, group, path}, 30);
  }

  // Written in text mode.
  std::string log() { return testing_support::readTextFile(dir_.at("install/chmod.log")); }

  unsigned int bits(const std::string& path) {
    unsigned int mode = 0;
    EXPECT_TRUE(platform::modeBits(path.c_str(), &mode)) << path;
    return mode;
  }

  std::string site(const std::string& relative) { return dir_.at("site/" + relative); }

  ScopedTempDir dir_;
};

TEST_F(ChmodStandin, SetsRightsAndLogsOneLinePerPath) {
  writeFile(site("Rel/a file.mp3"), "x");
  ASSERT_TRUE(platform::setModeBits(site("Rel/a file.mp3").c_str(), 0400));
  EXPECT_EQ(run("754", "alice", "crew", site("Rel/a file.mp3")), 0);
  EXPECT_EQ(bits(site("Rel/a file.mp3")), kept(0754));
  EXPECT_EQ(log(), "754 alice crew " + site("Rel/a file.mp3") + "\n");
  EXPECT_FALSE(testing_support::exists(dir_.at("install/data/chmod.log")));

  // A folder given with a trailing separator is the folder itself; lines
  // append to what earlier runs wrote.
  EXPECT_EQ(run("705", "bob", "grp", site("Rel/")), 0);
  EXPECT_EQ(bits(site("Rel")), kept(0705, true));
  EXPECT_EQ(log(), "754 alice crew " + site("Rel/a file.mp3") + "\n" + "705 bob grp " +
                       site("Rel") + "\n");
}

TEST_F(ChmodStandin, ExpandsWildcardsInTheLastPart) {
  for (const char* name :
       {"(incomplete)-b", "(INCOMPLETE)-a", "(incomplete)-c.txt", "keep", "(incomplete)"}) {
    writeFile(site(std::string("Rel/") + name), "");
    ASSERT_TRUE(platform::setModeBits(site(std::string("Rel/") + name).c_str(), 0400));
  }
  makeDirs(site("Rel/(incomplete)-dir"));
  EXPECT_EQ(run("644", "u", "g", site("Rel/(incomplete)-?*")), 0);
  // In listing order, case ignored, folders included; the others untouched.
  EXPECT_EQ(log(), "644 u g " + site("Rel/(INCOMPLETE)-a") + "\n" + "644 u g " +
                       site("Rel/(incomplete)-b") + "\n" + "644 u g " +
                       site("Rel/(incomplete)-c.txt") + "\n" + "644 u g " +
                       site("Rel/(incomplete)-dir") + "\n");
  EXPECT_EQ(bits(site("Rel/(INCOMPLETE)-a")), kept(0644));
  EXPECT_EQ(bits(site("Rel/(incomplete)-dir")), kept(0644, true));
  EXPECT_EQ(bits(site("Rel/(incomplete)")), kept(0400));
  EXPECT_EQ(bits(site("Rel/keep")), kept(0400));

  // '?' is exactly one character and the match is of the whole name.
  ASSERT_EQ(std::remove(dir_.at("install/chmod.log").c_str()), 0);
  EXPECT_EQ(run("640", "u", "g", site("Rel/KEE?")), 0);
  EXPECT_EQ(log(), "640 u g " + site("Rel/keep") + "\n");
}

TEST_F(ChmodStandin, NothingMatchingLogsNothing) {
  writeFile(site("Rel/file"), "");
  EXPECT_EQ(run("777", "u", "g", site("Rel/*.nfo")), 0);
  EXPECT_EQ(run("777", "u", "g", site("Rel/missing")), 0);
  EXPECT_EQ(run("777", "u", "g", site("Nowhere/*")), 0);
  EXPECT_FALSE(testing_support::exists(dir_.at("install/chmod.log")));

  // Malformed calls change nothing and log nothing: three words (an empty
  // user put bare between blanks is lost on the way) or bad rights.
  ASSERT_TRUE(platform::setModeBits(site("Rel/file").c_str(), 0400));
  EXPECT_EQ(
      platform::runAndWait(
          platform::splitCommandText(kProgram + " 777  grp \"" + site("Rel/file") + "\""), 30),
      2);
  EXPECT_EQ(run("7x7", "u", "g", site("Rel/file")), 2);
  EXPECT_EQ(run("0777", "u", "g", site("Rel/file")), 2);
  EXPECT_EQ(bits(site("Rel/file")), kept(0400));
  EXPECT_FALSE(testing_support::exists(dir_.at("install/chmod.log")));

  // A plain name in another case is found as on a case-insensitive disk.
  EXPECT_EQ(run("750", "u", "g", site("Rel/FILE")), 0);
  EXPECT_EQ(log(), "750 u g " + site("Rel/file") + "\n");
  EXPECT_EQ(bits(site("Rel/file")), kept(0750));
}

#ifndef _WIN32  // symbolic links
// A link is never changed, nor what it points to, and is not logged: named
// plainly, matched by a wildcard, pointing at a folder or at nothing.
TEST_F(ChmodStandin, SkipsLinks) {
  writeFile(site("Rel/real.mp3"), "x");
  writeFile(dir_.at("outside.txt"), "x");
  makeDirs(dir_.at("outside-dir"));
  for (const std::string& path :
       {site("Rel/real.mp3"), dir_.at("outside.txt"), dir_.at("outside-dir")}) {
    ASSERT_TRUE(platform::setModeBits(path.c_str(), 0700));
  }
  ASSERT_EQ(symlink(dir_.at("outside.txt").c_str(), site("Rel/link.mp3").c_str()), 0);
  ASSERT_EQ(symlink(dir_.at("outside-dir").c_str(), site("Rel/linkdir").c_str()), 0);
  ASSERT_EQ(symlink(dir_.at("nothing").c_str(), site("Rel/dangling.mp3").c_str()), 0);

  EXPECT_EQ(run("644", "u", "g", site("Rel/LINK.mp3")), 0);
  EXPECT_EQ(run("644", "u", "g", site("Rel/linkdir/")), 0);
  EXPECT_EQ(run("644", "u", "g", site("Rel/dangling.mp3")), 0);
  EXPECT_FALSE(testing_support::exists(dir_.at("install/chmod.log")));
  EXPECT_EQ(run("640", "u", "g", site("Rel/*")), 0);
  EXPECT_EQ(log(), "640 u g " + site("Rel/real.mp3") + "\n");
  EXPECT_EQ(bits(site("Rel/real.mp3")), 0640u);
  EXPECT_EQ(bits(dir_.at("outside.txt")), 0700u);
  EXPECT_EQ(bits(dir_.at("outside-dir")), 0700u);
  EXPECT_FALSE(testing_support::exists(dir_.at("nothing")));
}
#endif

}  // namespace
