// The file-system layer as both platforms give it; what only POSIX has
// (symbolic links, FIFOs, mode bits, a second file system to move across)
// is tested on POSIX, Windows' own in fs_win32_test.cpp.
#include "platform/fs.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::isDir;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

std::vector<std::string> names(const std::vector<platform::DirEntry>& entries) {
  std::vector<std::string> out;
  for (const platform::DirEntry& e : entries) out.push_back(e.name);
  return out;
}

TEST(FsListing, SortedByFoldedNameThenBytes) {
  ScopedTempDir dir;
  // Two names that differ only in case are one file on Windows.
#ifdef _WIN32
  const std::vector<std::string> sorted = {"_x", "A", "ab", "b", "C.txt", "\xc3\xa9"};
#else
  const std::vector<std::string> sorted = {"_x", "A", "a",     "Aa",      "ab",
                                           "B",  "b", "C.txt", "\xc3\xa9"};
#endif
  for (size_t i = sorted.size(); i-- > 0;) writeFile(dir.at(sorted[i]), "");
  std::vector<platform::DirEntry> listing;
  ASSERT_TRUE(platform::listFolder(dir.path(), listing));
  // '_' (0x5f) sorts before the folded letters; ties break by bytes; a byte
  // above 0x7f sorts last, as unsigned.
  EXPECT_EQ(names(listing), sorted);

  // The trailing separator and the current folder ("") name the same folder.
  std::vector<platform::DirEntry> again;
  ASSERT_TRUE(platform::listFolder(dir.path() + platform::kPathSepText, again));
  EXPECT_EQ(names(again), names(listing));
  ASSERT_TRUE(platform::changeDir(dir.path().c_str()));
  ASSERT_TRUE(platform::listFolder("", again));
  EXPECT_EQ(names(again), names(listing));

  EXPECT_FALSE(platform::listFolder(dir.at("missing"), listing));
  EXPECT_TRUE(listing.empty());
  EXPECT_FALSE(platform::listFolder(dir.at("a"), listing));  // a file, not a folder
}

#ifndef _WIN32  // symbolic links; Windows' listing with masks is in fs_win32_test.cpp
const platform::DirEntry* entryNamed(const std::vector<platform::DirEntry>& entries,
                                     const std::string& name) {
  for (const platform::DirEntry& e : entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

TEST(FsListing, EntriesLinksAndAttributeMask) {
  ScopedTempDir dir;
  writeFile(dir.at("file.bin"), std::string(1500, 'x'));
  makeDirs(dir.at("sub"));
  writeFile(dir.at("sub/inner"), "abc");
  ASSERT_EQ(symlink("sub", dir.at("linkdir").c_str()), 0);
  ASSERT_EQ(symlink("file.bin", dir.at("linkfile").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", dir.at("dangling").c_str()), 0);

  std::vector<platform::DirEntry> all;
  ASSERT_TRUE(platform::listFolder(dir.path(), all));
  ASSERT_EQ(names(all),
            (std::vector<std::string>{"dangling", "file.bin", "linkdir", "linkfile", "sub"}));
  const platform::DirEntry* e = entryNamed(all, "file.bin");
  EXPECT_FALSE(e->isFolder);
  EXPECT_FALSE(e->isLink);
  EXPECT_EQ(e->size, 1500u);
  e = entryNamed(all, "sub");
  EXPECT_TRUE(e->isFolder);
  EXPECT_FALSE(e->isLink);
  EXPECT_EQ(e->size, 0u);
  e = entryNamed(all, "linkdir");
  EXPECT_TRUE(e->isFolder);
  EXPECT_TRUE(e->isLink);
  e = entryNamed(all, "linkfile");
  EXPECT_FALSE(e->isFolder);
  EXPECT_TRUE(e->isLink);
  EXPECT_EQ(e->size, 1500u);
  e = entryNamed(all, "dangling");
  EXPECT_FALSE(e->isFolder);
  EXPECT_TRUE(e->isLink);
  EXPECT_EQ(e->size, 0u);

  // Files are always listed; folders (links to folders too) only with the
  // folder bit; hidden and system bits change nothing.
  std::vector<platform::DirEntry> files;
  ASSERT_TRUE(platform::listFolder(dir.path(), platform::kAttrHidden, files));
  EXPECT_EQ(names(files), (std::vector<std::string>{"dangling", "file.bin", "linkfile"}));
  ASSERT_TRUE(platform::listFolder(dir.path(), 0, files));
  EXPECT_EQ(names(files), (std::vector<std::string>{"dangling", "file.bin", "linkfile"}));
  ASSERT_TRUE(platform::listFolder(
      dir.path(), platform::kAttrFolder | platform::kAttrHidden | platform::kAttrSystem, files));
  EXPECT_EQ(names(files), names(all));
}
#endif

TEST(FsAttributes, WhatIsAtAPath) {
  ScopedTempDir dir;
  writeFile(dir.at("f"), "12345");
  makeDirs(dir.at("d"));
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink("d", dir.at("ld").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", dir.at("dangling").c_str()), 0);
  EXPECT_TRUE(platform::pathExists(dir.at("dangling").c_str()));
  EXPECT_TRUE(platform::isFolder(dir.at("ld").c_str()));
#endif

  EXPECT_TRUE(platform::pathExists(dir.at("f").c_str()));
  EXPECT_FALSE(platform::pathExists(dir.at("none").c_str()));
  EXPECT_TRUE(platform::isRegularFile(dir.at("f").c_str()));
  EXPECT_FALSE(platform::isRegularFile(dir.at("d").c_str()));
  EXPECT_TRUE(platform::isFolder(dir.at("d").c_str()));
  EXPECT_FALSE(platform::isFolder(dir.at("f").c_str()));

  uint64_t size = 0;
  ASSERT_TRUE(platform::fileSize(dir.at("f").c_str(), &size));
  EXPECT_EQ(size, 5u);
  EXPECT_FALSE(platform::fileSize(dir.at("d").c_str(), &size));
  EXPECT_FALSE(platform::fileSize(dir.at("none").c_str(), &size));

  // Hidden changes no byte (and on POSIX nothing at all).
  platform::setHidden(dir.at("f").c_str(), true);
  EXPECT_EQ(readFile(dir.at("f")), "12345");

  ASSERT_TRUE(platform::setModeBits(dir.at("f").c_str(), 0640));
  unsigned int bits = 0;
  ASSERT_TRUE(platform::modeBits(dir.at("f").c_str(), &bits));
#ifndef _WIN32  // Windows keeps the owner's write bit alone (fs_win32_test.cpp)
  EXPECT_EQ(bits, 0640u);
#endif
  EXPECT_FALSE(platform::setModeBits(dir.at("none").c_str(), 0640));

  // makeDir refuses anything that is there; removeDir only an empty folder.
  EXPECT_FALSE(platform::makeDir(dir.at("d").c_str()));
  EXPECT_FALSE(platform::makeDir(dir.at("f").c_str()));
  EXPECT_FALSE(platform::makeDir(dir.at("f/x").c_str()));
  writeFile(dir.at("d/x"), "");
  EXPECT_FALSE(platform::removeDir(dir.at("d").c_str()));
  EXPECT_FALSE(platform::removeDir(dir.at("f").c_str()));
}

TEST(FsFiles, OpenModesAndSize) {
  ScopedTempDir dir;
  std::string path = dir.at("t.txt");
  FILE* f = platform::openFile(path.c_str(), "wt");
  ASSERT_NE(f, nullptr);
  std::fputs("a\r\nb\n", f);
  std::fclose(f);
  // Written exactly as given, but for the LF that is CR LF on Windows.
  EXPECT_EQ(readFile(path), testing_support::textBytes("a\r\nb\n"));
  f = platform::openFile(path.c_str(), "at");
  ASSERT_NE(f, nullptr);
  std::fputs("c", f);
  std::fclose(f);
  const std::string bytes = testing_support::textBytes("a\r\nb\nc");
  EXPECT_EQ(readFile(path), bytes);
  f = platform::openFile(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(platform::openFileSize(f), static_cast<int64_t>(bytes.size()));
  std::fclose(f);
  EXPECT_EQ(platform::openFile(path.c_str(), "x"), nullptr);
  EXPECT_EQ(platform::openFile(dir.at("none/x").c_str(), "wb"), nullptr);
}

TEST(FsFiles, CreateEmptyFileNeverTruncates) {
  ScopedTempDir dir;
  std::string path = dir.at("marker");
  ASSERT_TRUE(platform::createEmptyFile(path.c_str()));
  EXPECT_TRUE(exists(path));
  EXPECT_EQ(readFile(path), "");
  EXPECT_TRUE(platform::createEmptyFile(path.c_str()));  // already there, empty

  writeFile(dir.at("full"), "keep me");
  EXPECT_FALSE(platform::createEmptyFile(dir.at("full").c_str()));
  EXPECT_EQ(readFile(dir.at("full")), "keep me");

  makeDirs(dir.at("folder"));
  EXPECT_FALSE(platform::createEmptyFile(dir.at("folder").c_str()));
  EXPECT_TRUE(isDir(dir.at("folder")));
  EXPECT_FALSE(platform::createEmptyFile(dir.at("full/x").c_str()));  // a file as folder
  EXPECT_FALSE(platform::createEmptyFile(dir.at("none/x").c_str()));
}

TEST(FsFiles, RemoveEmptyFileOnlyRemovesEmptyFiles) {
  ScopedTempDir dir;
  writeFile(dir.at("full"), "x");
  EXPECT_FALSE(platform::removeEmptyFile(dir.at("full").c_str()));
  EXPECT_EQ(readFile(dir.at("full")), "x");

  makeDirs(dir.at("empty-folder"));
  EXPECT_FALSE(platform::removeEmptyFile(dir.at("empty-folder").c_str()));
  EXPECT_TRUE(isDir(dir.at("empty-folder")));

  writeFile(dir.at("empty"), "");
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink("empty", dir.at("link").c_str()), 0);
  EXPECT_FALSE(platform::removeEmptyFile(dir.at("link").c_str()));  // a link, not a file
  EXPECT_TRUE(exists(dir.at("link")));
#endif

  EXPECT_TRUE(platform::removeEmptyFile(dir.at("empty").c_str()));
  EXPECT_FALSE(exists(dir.at("empty")));
  EXPECT_FALSE(platform::removeEmptyFile(dir.at("empty").c_str()));

  EXPECT_TRUE(platform::removeFile(dir.at("full").c_str()));
  EXPECT_FALSE(platform::removeFile(dir.at("empty-folder").c_str()));
}

TEST(FsFiles, RenameNeverReplaces) {
  ScopedTempDir dir;
  writeFile(dir.at("a"), "A");
  writeFile(dir.at("b"), "B");
  makeDirs(dir.at("d1/inner"));
  writeFile(dir.at("d1/inner/f"), "F");
  makeDirs(dir.at("d2"));

  EXPECT_FALSE(platform::renameNoReplace(dir.at("a").c_str(), dir.at("b").c_str()));
  EXPECT_EQ(readFile(dir.at("a")), "A");
  EXPECT_EQ(readFile(dir.at("b")), "B");
  EXPECT_FALSE(platform::renameNoReplace(dir.at("a").c_str(), dir.at("d2").c_str()));
  EXPECT_TRUE(exists(dir.at("a")));
  // An empty folder as target: a plain rename would replace it.
  EXPECT_FALSE(platform::renameNoReplace(dir.at("d1").c_str(), dir.at("d2").c_str()));
  EXPECT_TRUE(exists(dir.at("d1/inner/f")));
  EXPECT_FALSE(platform::renameNoReplace(dir.at("d1").c_str(), dir.at("b").c_str()));
  EXPECT_EQ(readFile(dir.at("b")), "B");
  EXPECT_FALSE(platform::renameNoReplace(dir.at("none").c_str(), dir.at("c").c_str()));
  EXPECT_FALSE(platform::renameNoReplace(dir.at("a").c_str(), dir.at("none/c").c_str()));

  EXPECT_TRUE(platform::renameNoReplace(dir.at("a").c_str(), dir.at("c").c_str()));
  EXPECT_FALSE(exists(dir.at("a")));
  EXPECT_EQ(readFile(dir.at("c")), "A");
  EXPECT_TRUE(platform::renameNoReplace(dir.at("d1").c_str(), dir.at("d2/d1").c_str()));
  EXPECT_EQ(readFile(dir.at("d2/d1/inner/f")), "F");
}

#ifndef _WIN32  // a second file system, mode bits, links and FIFOs
// A second folder on another file system; /dev/shm is a tmpfs on most Linux
// machines. Empty when there is none.
std::string otherFileSystemFolder(const std::string& near) {
  char pattern[] = "/dev/shm/brindle-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return "";
  struct stat a, b;
  if (stat(near.c_str(), &a) != 0 || stat(pattern, &b) != 0 || a.st_dev == b.st_dev) {
    rmdir(pattern);
    return "";
  }
  return pattern;
}

TEST(FsFiles, RenameAcrossFileSystemsCopiesThenDeletes) {
  ScopedTempDir dir;
  std::string other = otherFileSystemFolder(dir.path());
  ASSERT_FALSE(other.empty()) << "no second file system to move across";
  std::string big(300000, 'z');
  big[12345] = 'q';
  writeFile(dir.at("big"), big);
  ASSERT_EQ(chmod(dir.at("big").c_str(), 0604), 0);
  writeFile(other + "/taken", "old");

  // A file: bytes and mode bits arrive, the original goes; a target is
  // never replaced and then both stay as they were.
  EXPECT_FALSE(platform::renameNoReplace(dir.at("big").c_str(), (other + "/taken").c_str()));
  EXPECT_EQ(readFile(other + "/taken"), "old");
  EXPECT_EQ(readFile(dir.at("big")), big);
  ASSERT_TRUE(platform::renameNoReplace(dir.at("big").c_str(), (other + "/big").c_str()));
  EXPECT_FALSE(exists(dir.at("big")));
  EXPECT_EQ(readFile(other + "/big"), big);
  unsigned int bits = 0;
  ASSERT_TRUE(platform::modeBits((other + "/big").c_str(), &bits));
  EXPECT_EQ(bits, 0604u);

  // A folder: the tree arrives with its link as a link; the source goes.
  makeDirs(dir.at("rel/sub"));
  writeFile(dir.at("rel/.message"), "m");
  writeFile(dir.at("rel/sub/f"), "F");
  ASSERT_EQ(symlink("sub", dir.at("rel/link").c_str()), 0);
  ASSERT_TRUE(platform::renameNoReplace(dir.at("rel").c_str(), (other + "/rel").c_str()));
  EXPECT_FALSE(exists(dir.at("rel")));
  EXPECT_EQ(readFile(other + "/rel/.message"), "m");
  EXPECT_EQ(readFile(other + "/rel/sub/f"), "F");
  struct stat st;
  ASSERT_EQ(lstat((other + "/rel/link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  // Onto an existing folder: refused, the source stays whole.
  makeDirs(dir.at("rel2"));
  writeFile(dir.at("rel2/x"), "x");
  EXPECT_FALSE(platform::renameNoReplace(dir.at("rel2").c_str(), (other + "/rel").c_str()));
  EXPECT_EQ(readFile(dir.at("rel2/x")), "x");
  EXPECT_FALSE(exists(other + "/rel/x"));

  // A tree that cannot be copied whole leaves no half copy behind.
  makeDirs(dir.at("rel3"));
  writeFile(dir.at("rel3/a"), "a");
  ASSERT_EQ(mkfifo(dir.at("rel3/pipe").c_str(), 0600), 0);
  EXPECT_FALSE(platform::renameNoReplace(dir.at("rel3").c_str(), (other + "/rel3").c_str()));
  EXPECT_FALSE(exists(other + "/rel3"));
  EXPECT_EQ(readFile(dir.at("rel3/a")), "a");

  std::string cleanup = "rm -rf '" + other + "'";
  EXPECT_EQ(std::system(cleanup.c_str()), 0);
}
#endif

TEST(FsFiles, ReplaceFileReplaces) {
  ScopedTempDir dir;
  writeFile(dir.at("new"), "new");
  writeFile(dir.at("old"), "old");
  ASSERT_TRUE(platform::replaceFile(dir.at("new").c_str(), dir.at("old").c_str()));
  EXPECT_EQ(readFile(dir.at("old")), "new");
  EXPECT_FALSE(exists(dir.at("new")));
  EXPECT_FALSE(platform::replaceFile(dir.at("new").c_str(), dir.at("old").c_str()));

  // A link or a folder in the target's place is left as it is.
  writeFile(dir.at("new"), "new");
  writeFile(dir.at("outside"), "outside");
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink(dir.at("outside").c_str(), dir.at("link").c_str()), 0);
  EXPECT_FALSE(platform::replaceFile(dir.at("new").c_str(), dir.at("link").c_str()));
#endif
  makeDirs(dir.at("folder"));
  EXPECT_FALSE(platform::replaceFile(dir.at("new").c_str(), dir.at("folder").c_str()));
  EXPECT_EQ(readFile(dir.at("outside")), "outside");
  EXPECT_TRUE(isDir(dir.at("folder")));
}

// What an uploader can plant under a name the suite opens: a FIFO (which
// would block the open or the read for ever), a device, a folder, a link.
// None is opened in any mode, and nothing behind a link is changed.
TEST(FsFiles, OnlyRegularFilesAreOpened) {
  ScopedTempDir dir;
  writeFile(dir.at("outside"), "outside");
  makeDirs(dir.at("folder"));
#ifdef _WIN32  // devices: fs_win32_test.cpp
  const char* const planted[] = {"folder"};
#else
  alarm(30);  // an open that blocked would never return
  ASSERT_EQ(mkfifo(dir.at("fifo").c_str(), 0644), 0);
  ASSERT_EQ(symlink(dir.at("outside").c_str(), dir.at("link").c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", dir.at("zero").c_str()), 0);
  const char* const planted[] = {"fifo", "link", "zero", "folder"};
#endif
  for (const char* name : planted) {
    for (const char* mode : {"rb", "rt", "wb", "wt", "at"}) {
      FILE* f = platform::openFile(dir.at(name).c_str(), mode);
      EXPECT_EQ(f, nullptr) << name << " " << mode;
      if (f != nullptr) std::fclose(f);
    }
    EXPECT_FALSE(platform::emptyRegularFile(dir.at(name).c_str())) << name;
  }
#ifndef _WIN32
  alarm(0);
#endif
  EXPECT_EQ(readFile(dir.at("outside")), "outside");

  // A regular file is cut only once it is known to be one.
  writeFile(dir.at("plain"), "some bytes");
  ASSERT_TRUE(platform::emptyRegularFile(dir.at("plain").c_str()));
  EXPECT_EQ(readFile(dir.at("plain")), "");
  ASSERT_TRUE(platform::emptyRegularFile(dir.at("made").c_str()));
  EXPECT_TRUE(exists(dir.at("made")));
}

// Temporary files: a short name of one recognisable prefix, whatever the
// length of the target's, made exclusively; left-overs older than an hour
// go, others stay.
TEST(FsFiles, TemporaryFiles) {
  ScopedTempDir dir;
  std::string target = dir.at(std::string(250, 'n') + ".sfv");
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    std::string temp;
    FILE* f = platform::createTempBeside(target, &temp);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::string name = temp.substr(dir.path().size() + 1);
    EXPECT_EQ(temp.compare(0, dir.path().size() + 1, dir.path() + platform::kPathSepText), 0)
        << temp;
    EXPECT_EQ(name.compare(0, 7, ".bctmp-"), 0) << name;
    EXPECT_EQ(name.size(), 17u) << name;
    EXPECT_TRUE(seen.insert(name).second) << name;
  }

  ScopedTempDir stale;
  for (const char* name : {".bctmp-oldoldoldo", ".bctmp-newnewnewn", "old.rar"}) {
    writeFile(stale.at(name), "x");
  }
  writeFile(stale.at("target"), "outside");
  for (const char* name : {".bctmp-oldoldoldo", "old.rar"}) {
    const auto old = std::filesystem::last_write_time(stale.at(name)) - std::chrono::hours(2);
    std::filesystem::last_write_time(stale.at(name), old);
  }
  std::vector<std::string> remaining = {".bctmp-newnewnewn", "old.rar", "target"};
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink(stale.at("target").c_str(), stale.at(".bctmp-linklinkli").c_str()), 0);
  struct timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - 7200, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, stale.at(".bctmp-linklinkli").c_str(), times, AT_SYMLINK_NOFOLLOW),
            0);
  remaining.insert(remaining.begin(), ".bctmp-linklinkli");
#endif
  platform::removeStaleTemps(stale.at("racer.sav"));
  EXPECT_EQ(testing_support::listNames(stale.path()), remaining);
}

// A tree of link folders is removed whole; what a tree of empty folders
// never holds stays, and nothing behind a link is touched, the link at the
// top included.
TEST(FsFolders, RemoveEmptyTreeRemovesOnlyWhatEmptyFoldersHold) {
  ScopedTempDir dir;
  makeDirs(dir.at("links/a/b/c"));
  writeFile(dir.at("links/a/b/marker"), "");
  makeDirs(dir.at("music/album"));
  writeFile(dir.at("music/album/01.mp3"), "audio");
#ifndef _WIN32  // symbolic links
  ASSERT_EQ(symlink(dir.at("music").c_str(), dir.at("links/a/to-music").c_str()), 0);
#endif
  std::vector<std::string> left;
  EXPECT_TRUE(platform::removeEmptyTree(dir.at("links/"), 8, &left));
  EXPECT_TRUE(left.empty());
  EXPECT_FALSE(exists(dir.at("links")));
  EXPECT_EQ(readFile(dir.at("music/album/01.mp3")), "audio");

  // A file with bytes, a FIFO and a folder past the depth stay with the
  // folders above them; everything else goes.
  makeDirs(dir.at("links/x/deep/deeper"));
  makeDirs(dir.at("links/y/empty"));
  writeFile(dir.at("links/x/data.txt"), "keep");
  std::set<std::string> stays = {dir.at("links/x/data.txt"), dir.at("links/x/deep/deeper")};
#ifndef _WIN32  // FIFOs
  ASSERT_EQ(mkfifo(dir.at("links/y/pipe").c_str(), 0644), 0);
  stays.insert(dir.at("links/y/pipe"));
#endif
  EXPECT_FALSE(platform::removeEmptyTree(dir.at("links"), 2, &left));
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), stays);
  EXPECT_FALSE(exists(dir.at("links/y/empty")));
  EXPECT_TRUE(isDir(dir.at("links/x/deep/deeper")));

#ifndef _WIN32  // symbolic links
  // A link in place of the folder itself is neither followed nor removed.
  left.clear();
  ASSERT_EQ(symlink(dir.at("music").c_str(), dir.at("top").c_str()), 0);
  EXPECT_FALSE(platform::removeEmptyTree(dir.at("top/"), 8, &left));
  EXPECT_EQ(left, std::vector<std::string>{dir.at("top")});
  EXPECT_EQ(readFile(dir.at("music/album/01.mp3")), "audio");
#endif
  EXPECT_TRUE(platform::removeEmptyTree(dir.at("nothing-here"), 8, &left));
}

// Pruning keeps the folders asked for, with the folders above them, and
// empties them of everything else that may go.
TEST(FsFolders, PruneFolderTreeKeepsTheFoldersAskedFor) {
  ScopedTempDir dir;
  makeDirs(dir.at("links/a/b/junk"));
  makeDirs(dir.at("links/a/c"));
  makeDirs(dir.at("links/x/wanted"));
  writeFile(dir.at("links/a/b/marker"), "");
  writeFile(dir.at("links/k"), "");
  writeFile(dir.at("links/a/notes"), "keep");
  const std::set<std::string> wanted = {dir.at("links"), dir.at("links/a"), dir.at("links/a/b"),
                                        dir.at("links/k"), dir.at("links/x/wanted")};
  std::vector<std::string> kept, left;
  EXPECT_FALSE(platform::pruneFolderTree(
      dir.at("links/"), 8, [&](const std::string& path) { return wanted.count(path) > 0; }, &kept,
      &left));
  EXPECT_EQ(std::set<std::string>(kept.begin(), kept.end()),
            (std::set<std::string>{dir.at("links"), dir.at("links/a"), dir.at("links/a/b"),
                                   dir.at("links/x/wanted")}));
  EXPECT_EQ(left, std::vector<std::string>{dir.at("links/a/notes")});
  EXPECT_TRUE(testing_support::listNames(dir.at("links/a/b")).empty());
  EXPECT_FALSE(exists(dir.at("links/a/c")));
  EXPECT_FALSE(exists(dir.at("links/k")));  // not a folder: it goes
  EXPECT_TRUE(isDir(dir.at("links/x/wanted")));

  kept.clear();
  left.clear();
  testing_support::removeFileForTest(dir.at("links/a/notes"));
  EXPECT_TRUE(platform::pruneFolderTree(
      dir.at("links"), 8, [&](const std::string& path) { return path == dir.at("links"); }, &kept,
      &left));
  EXPECT_EQ(kept, std::vector<std::string>{dir.at("links")});
  EXPECT_TRUE(left.empty());
  EXPECT_TRUE(testing_support::listNames(dir.at("links")).empty());
}

#ifndef _WIN32  // symbolic and hard links; Windows' in fs_win32_test.cpp
TEST(FsAttributes, ResolvedPathAndSameFile) {
  ScopedTempDir dir;
  makeDirs(dir.at("real/sub"));
  ASSERT_EQ(symlink(dir.at("real").c_str(), dir.at("alias").c_str()), 0);
  const std::string real = platform::resolvedPath(dir.at("real"));
  ASSERT_FALSE(real.empty());
  EXPECT_EQ(platform::resolvedPath(dir.at("alias/sub/../")), real);
  EXPECT_EQ(platform::resolvedPath(dir.at("alias//sub/./missing/x/..")), real + "/sub/missing");
  EXPECT_EQ(platform::resolvedPath("/"), "/");
  ASSERT_EQ(chdir(dir.at("alias/sub").c_str()), 0);
  EXPECT_EQ(platform::resolvedPath(".."), real);

  writeFile(dir.at("real/file"), "x");
  ASSERT_EQ(link(dir.at("real/file").c_str(), dir.at("hard").c_str()), 0);
  EXPECT_TRUE(platform::sameFile(dir.at("alias/file").c_str(), dir.at("hard").c_str()));
  EXPECT_FALSE(platform::sameFile(dir.at("real/file").c_str(), dir.at("real/sub").c_str()));
  EXPECT_FALSE(platform::sameFile(dir.at("real/file").c_str(), dir.at("missing").c_str()));
}
#endif

}  // namespace
