// The Windows file-system layer: the listing with attribute masks, names
// that reach a file only through its 8.3 alias, text mode, attributes and
// the safe opens and renames.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "foundation/dir_listing.h"
#include "foundation/xfile.h"
#include "platform/fs.h"
#include "tests/test_support.h"

namespace {

using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::vector<std::string> listed(const std::string& folder, unsigned int mask) {
  std::vector<platform::DirEntry> entries;
  EXPECT_TRUE(platform::listFolder(folder, mask, entries));
  std::vector<std::string> names;
  for (const platform::DirEntry& e : entries) names.push_back(e.name);
  return names;
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

TEST(FsWin32, ListingWithAttributeMasks) {
  ScopedTempDir dir;
  writeFile(dir.at("b.txt"), "b");
  writeFile(dir.at("Hidden.txt"), "hh");
  writeFile(dir.at("system.txt"), "s");
  writeFile(dir.at(".dot"), "");
  makeDirs(dir.at("a-folder"));
  platform::setHidden(dir.at("Hidden.txt").c_str(), true);
  ASSERT_TRUE(SetFileAttributesA(dir.at("system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));

  // Files always; hidden, system and folder entries only when asked for.
  EXPECT_EQ(listed(dir.path(), 0), (std::vector<std::string>{".dot", "b.txt"}));
  EXPECT_EQ(listed(dir.path(), platform::kAttrHidden),
            (std::vector<std::string>{".dot", "b.txt", "Hidden.txt"}));
  EXPECT_EQ(listed(dir.path(), platform::kAttrSystem),
            (std::vector<std::string>{".dot", "b.txt", "system.txt"}));
  EXPECT_EQ(listed(dir.path(), platform::kAttrFolder),
            (std::vector<std::string>{".dot", "a-folder", "b.txt"}));
  EXPECT_EQ(listed(dir.path(), 22),
            (std::vector<std::string>{".dot", "a-folder", "b.txt", "Hidden.txt", "system.txt"}));

  std::vector<platform::DirEntry> all;
  ASSERT_TRUE(platform::listFolder(dir.path(), all));
  ASSERT_EQ(all.size(), 5u);
  EXPECT_TRUE(all[1].isFolder);
  EXPECT_EQ(all[3].name, "Hidden.txt");
  EXPECT_EQ(all[3].attributes, platform::kAttrHidden);
  EXPECT_EQ(all[3].size, 2u);
  EXPECT_EQ(all[4].attributes, platform::kAttrSystem);

  // The suite's own listing: "*.TXT" with the files mask takes hidden files
  // and leaves system files and folders out.
  std::vector<platform::DirEntry> matches =
      listMatching(XString(dir.path()), XString("*.TXT"), kListFiles);
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(matches[0].name, "b.txt");
  EXPECT_EQ(matches[1].name, "Hidden.txt");
  SetFileAttributesA(dir.at("system.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A name that the system would take as another file's 8.3 alias, or with
// the trailing dots and blanks it drops, or as a device, reaches nothing.
TEST(FsWin32, AliasesDevicesAndDroppedEndsAreRefused) {
  ScopedTempDir dir;
  const std::string longName = dir.at("Long Release Name.message");
  writeFile(longName, "keep");
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(longName.c_str(), shortPath, sizeof shortPath);
  ASSERT_GT(n, 0u);
  const std::string alias(shortPath, n);
  const std::string aliasName = alias.substr(alias.find_last_of('\\') + 1);
  ASSERT_NE(aliasName, "Long Release Name.message");
  ASSERT_NE(aliasName.find('~'), std::string::npos) << aliasName;
  const std::string viaAlias = dir.at(aliasName);

  FILE* direct = platform::openFile(longName.c_str(), "rb");
  ASSERT_NE(direct, nullptr);
  std::fclose(direct);
  EXPECT_EQ(platform::openFile(viaAlias.c_str(), "rb"), nullptr);
  EXPECT_EQ(platform::openFile(viaAlias.c_str(), "wb"), nullptr);
  EXPECT_FALSE(platform::removeFile(viaAlias.c_str()));
  EXPECT_FALSE(platform::removeEmptyFile(viaAlias.c_str()));
  EXPECT_FALSE(platform::createEmptyFile(viaAlias.c_str()));
  EXPECT_TRUE(listMatching(XString(dir.path()), XString(aliasName), kListAll).empty());

  EXPECT_EQ(platform::openFile((longName + ".").c_str(), "rb"), nullptr);
  EXPECT_EQ(platform::openFile((longName + " ").c_str(), "wb"), nullptr);
  EXPECT_FALSE(platform::makeDir(dir.at("folder.").c_str()));
  EXPECT_EQ(readFile(longName), "keep");

  // A real name with a '~' of its own is no alias.
  writeFile(dir.at("a~1.txt"), "tilde");
  FILE* tilde = platform::openFile(dir.at("a~1.txt").c_str(), "rb");
  EXPECT_NE(tilde, nullptr);
  if (tilde != nullptr) std::fclose(tilde);

  for (const char* device : {"CON", "nul", "NUL.txt", "com1", "LPT9.sfv", "aux"}) {
    EXPECT_EQ(platform::openFile(dir.at(device).c_str(), "rb"), nullptr) << device;
    EXPECT_EQ(platform::openFile(dir.at(device).c_str(), "wb"), nullptr) << device;
    EXPECT_FALSE(platform::createEmptyFile(dir.at(device).c_str())) << device;
    EXPECT_FALSE(platform::pathExists(dir.at(device).c_str())) << device;
  }
}

TEST(FsWin32, TextModeWritesCrLf) {
  ScopedTempDir dir;
  const std::string path = dir.at("text.txt");
  FILE* out = platform::openFile(path.c_str(), "wt");
  ASSERT_NE(out, nullptr);
  std::fputs("a\nb\n", out);
  std::fclose(out);
  EXPECT_EQ(readFile(path), "a\r\nb\r\n");
  FILE* more = platform::openFile(path.c_str(), "at");
  ASSERT_NE(more, nullptr);
  std::fputs("c\n", more);
  std::fclose(more);
  EXPECT_EQ(readFile(path), "a\r\nb\r\nc\r\n");
  FILE* binary = platform::openFile(path.c_str(), "wb");
  ASSERT_NE(binary, nullptr);
  std::fputs("d\n", binary);
  std::fclose(binary);
  EXPECT_EQ(readFile(path), "d\n");

  // The write-then-rename of a text file writes as "wt" does; a binary one
  // stays as given. Reading folds CR LF back, whatever wrote it.
  XFile text;
  text.openReplacing(path.c_str(), true);
  text << XString("one\ntwo\n");
  ASSERT_TRUE(text.commit());
  EXPECT_EQ(readFile(path), "one\r\ntwo\r\n");
  {
    XFile lines(path.c_str(), "rt", true);
    XString line;
    ASSERT_TRUE(lines.readLine(line, 100));
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(lines.readLine(line, 100));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(lines.readLine(line, 100));
  }
  XFile stored;
  stored.openReplacing(path.c_str(), false);
  stored << XString("x\n");
  ASSERT_TRUE(stored.commit());
  EXPECT_EQ(readFile(path), std::string("\x02\0\0\0x\n", 6));
}

TEST(FsWin32, HiddenNormalAndReadOnly) {
  ScopedTempDir dir;
  const std::string path = dir.at("racer.sav");
  writeFile(path, "race");
  platform::setHidden(path.c_str(), true);
  EXPECT_EQ(attributesOf(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  // A hidden file is rewritten in place of itself.
  XFile file;
  file.openReplacing(path.c_str(), false);
  file << 7;
  ASSERT_TRUE(file.commit());
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  platform::setHidden(path.c_str(), false);  // normal: no attribute left
  EXPECT_EQ(attributesOf(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), 0u);

  // The owner's write bit is the read-only attribute.
  unsigned int bits = 0;
  ASSERT_TRUE(platform::setModeBits(path.c_str(), 0444));
  ASSERT_TRUE(platform::modeBits(path.c_str(), &bits));
  EXPECT_EQ(bits, 0444u);
  EXPECT_TRUE(attributesOf(path) & FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(platform::setModeBits(path.c_str(), 0640));
  ASSERT_TRUE(platform::modeBits(path.c_str(), &bits));
  EXPECT_EQ(bits, 0666u);
  makeDirs(dir.at("folder"));
  ASSERT_TRUE(platform::modeBits(dir.at("folder").c_str(), &bits));
  EXPECT_EQ(bits, 0777u);
  // A folder keeps its attributes: only files are hidden.
  platform::setHidden(dir.at("folder").c_str(), true);
  EXPECT_FALSE(attributesOf(dir.at("folder")) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(FsWin32, OpensRenamesAndTemporaryFiles) {
  ScopedTempDir dir;
  makeDirs(dir.at("folder"));
  EXPECT_EQ(platform::openFile(dir.at("folder").c_str(), "rb"), nullptr);
  EXPECT_EQ(platform::openFile(dir.at("folder").c_str(), "wb"), nullptr);
  EXPECT_EQ(platform::openFile(dir.at("missing").c_str(), "rb"), nullptr);

  writeFile(dir.at("full"), "bytes");
  EXPECT_FALSE(platform::createEmptyFile(dir.at("full").c_str()));
  EXPECT_EQ(readFile(dir.at("full")), "bytes");
  EXPECT_TRUE(platform::createEmptyFile(dir.at("empty").c_str()));
  EXPECT_TRUE(platform::createEmptyFile(dir.at("empty").c_str()));
  EXPECT_FALSE(platform::removeEmptyFile(dir.at("full").c_str()));
  EXPECT_TRUE(platform::removeEmptyFile(dir.at("empty").c_str()));
  EXPECT_FALSE(testing_support::exists(dir.at("empty")));

  // The rename of a release never replaces, not even an empty folder; the
  // write-then-rename replaces a file but never a folder.
  writeFile(dir.at("from"), "new");
  writeFile(dir.at("to"), "old");
  EXPECT_FALSE(platform::renameNoReplace(dir.at("from").c_str(), dir.at("to").c_str()));
  EXPECT_FALSE(platform::renameNoReplace(dir.at("from").c_str(), dir.at("folder").c_str()));
  EXPECT_FALSE(platform::renameWithinFileSystem(dir.at("from").c_str(), dir.at("to").c_str()));
  EXPECT_EQ(readFile(dir.at("to")), "old");
  EXPECT_FALSE(platform::replaceFile(dir.at("from").c_str(), dir.at("folder").c_str()));
  EXPECT_TRUE(platform::replaceFile(dir.at("from").c_str(), dir.at("to").c_str()));
  EXPECT_EQ(readFile(dir.at("to")), "new");
  EXPECT_TRUE(platform::renameNoReplace(dir.at("to").c_str(), dir.at("moved").c_str()));
  makeDirs(dir.at("release/CD1"));
  EXPECT_TRUE(platform::renameNoReplace(dir.at("release").c_str(), dir.at("archive").c_str()));
  EXPECT_TRUE(testing_support::isDir(dir.at("archive/CD1")));

  // Temporary files: the prefix and ten random characters, beside a target
  // of any length, each made anew.
  const std::string target = dir.at(std::string(150, 'n') + ".sav");
  std::set<std::string> made;
  for (int i = 0; i < 20; ++i) {
    std::string temp;
    FILE* file = platform::createTempBeside(target, &temp, false);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    const std::string name = temp.substr(temp.find_last_of('\\') + 1);
    EXPECT_EQ(name.size(), 17u);
    EXPECT_EQ(name.compare(0, 7, platform::kTempPrefix), 0) << name;
    EXPECT_EQ(temp.substr(0, dir.path().size()), dir.path());
    made.insert(name);
  }
  EXPECT_EQ(made.size(), 20u);

  // What is at a path, links not taken into account.
  uint64_t size = 0;
  EXPECT_TRUE(platform::fileSize(dir.at("moved").c_str(), &size));
  EXPECT_EQ(size, 3u);
  EXPECT_TRUE(platform::isFolder(dir.at("folder").c_str()));
  EXPECT_FALSE(platform::isRegularFile(dir.at("folder").c_str()));
  EXPECT_TRUE(platform::sameFile(dir.at("moved").c_str(), dir.at("MOVED").c_str()));
  EXPECT_FALSE(platform::sameFile(dir.at("moved").c_str(), dir.at("full").c_str()));
  EXPECT_EQ(platform::resolvedPath(dir.at("folder\\..\\\\moved")),
            platform::resolvedPath(dir.at("moved")));
}

}  // namespace
