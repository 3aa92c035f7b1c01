#include "hookkit/release_event.h"

#include <gtest/gtest.h>

#include "hookkit/folder_index.h"

namespace {

// The two extension rules side by side: they differ only for a name
// without a '.'.
TEST(ReleaseEventTest, ExtensionRules) {
  struct Case {
    const char* name;
    const char* orEmpty;
    const char* orName;
  } cases[] = {
      {"a.SFV", "SFV", "SFV"},
      {"a.b.mp3", "mp3", "mp3"},
      {"noext", "", "noext"},
      {"trailing.", "", ""},
      {".message", "message", "message"},
      {"", "", ""},
      {"/a.b/file", "b/file", "b/file"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(extensionOrEmpty(XString(c.name)), c.orEmpty) << c.name;
    EXPECT_EQ(extensionOrName(XString(c.name)), c.orName) << c.name;
  }
}

TEST(ReleaseEventTest, HookFilesAndVirtualDepth) {
  for (const char* name : {"racer.sav", "RACER.SAV", ".message", ".MESSAGE"}) {
    EXPECT_TRUE(isHookFileName(XString(name))) << name;
    EXPECT_FALSE(isSafeListedName(XString(name))) << name;
  }
  for (const char* name : {"racer.sav.1", "message", "x.message"}) {
    EXPECT_FALSE(isHookFileName(XString(name))) << name;
  }
  DirSet set(XString("/srv/site/a/b"), nullptr, nullptr);
  EXPECT_TRUE(set.reaches(100));  // depth unknown: nothing is refused
  const struct {
    const char* folder;
    unsigned int depth;
  } depths[] = {{"/", 0}, {"", 0}, {"/a", 1}, {"/a/", 1}, {"/a/b", 2}, {"//a//b/", 2}};
  for (const auto& d : depths) {
    set.setVirtualFolder(XString(d.folder));
    EXPECT_EQ(set.virtualDepth, d.depth) << d.folder;
    EXPECT_TRUE(set.reaches(d.depth)) << d.folder;
    EXPECT_FALSE(set.reaches(d.depth + 1)) << d.folder;
  }
}

}  // namespace
