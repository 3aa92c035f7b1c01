#include "hookkit/playlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::exists;
using testing_support::InstallSandbox;
using testing_support::joinPath;
using testing_support::listNames;
using testing_support::makeDirs;
using testing_support::readFile;
using testing_support::textBytes;
using testing_support::writeFile;

struct Folder {
  Folder(const InstallSandbox& box, const std::string& relative)
      : path(joinPath(box.site(), relative)), dirSet(XString(path), &chmod, &user) {
    makeDirs(path);
    chmod.touser = true;
    chmod.allow = "644";
    user.name = "bob";
    user.group = "grp";
  }
  std::string path;
  Chmod chmod;
  UserInfo user;
  DirSet dirSet;
};

TEST(PlaylistTest, NamedLikeTheSfv) {
  InstallSandbox box;
  Folder f(box, "Rel");
  writeFile(joinPath(f.path, "Rel-GRP.SFV"), "x");
  for (const char* name : {"B.MP3", "a.mp3", "10-c.Mp3", "cover.jpg"}) {
    writeFile(joinPath(f.path, name), "x");
  }
  makeDirs(joinPath(f.path, "folder.mp3"));
  EXPECT_EQ(makePlaylist(&f.dirSet, false), 0);
  EXPECT_EQ(readFile(joinPath(f.path, "Rel-GRP.m3u")), textBytes("10-c.mp3\na.mp3\nb.mp3\n"));
  EXPECT_EQ(box.chmodLog(),
            std::vector<std::string>{"644 bob grp " + joinPath(f.path, "Rel-GRP.m3u")});

  // Without skipIfExists the playlist is rewritten; with it any playlist
  // stops the run.
  writeFile(joinPath(f.path, "d.mp3"), "x");
  EXPECT_EQ(makePlaylist(&f.dirSet, false), 0);
  EXPECT_EQ(readFile(joinPath(f.path, "Rel-GRP.m3u")),
            textBytes("10-c.mp3\na.mp3\nb.mp3\nd.mp3\n"));
  writeFile(joinPath(f.path, "e.mp3"), "x");
  EXPECT_EQ(makePlaylist(&f.dirSet, true), 1);
  EXPECT_EQ(readFile(joinPath(f.path, "Rel-GRP.m3u")),
            textBytes("10-c.mp3\na.mp3\nb.mp3\nd.mp3\n"));
}

TEST(PlaylistTest, NamedAfterTheFolderWhoseCaseIsKept) {
  InstallSandbox box;
  Folder f(box, "Mp3/New.Release-GRP");
  writeFile(joinPath(f.path, "Track.mp3"), "x");
  EXPECT_EQ(makePlaylist(&f.dirSet, true), 0);
  EXPECT_EQ(listNames(f.path), (std::vector<std::string>{"00-new.release-grp.m3u", "Track.mp3"}));
  EXPECT_EQ(readFile(joinPath(f.path, "00-new.release-grp.m3u")), textBytes("track.mp3\n"));

#ifndef _WIN32  // no Windows name holds a line end
  // A name that holds a line end would put a made-up line into the list.
  writeFile(joinPath(f.path, "evil\nline.mp3"), "x");
  EXPECT_EQ(makePlaylist(&f.dirSet, false), 0);
  EXPECT_EQ(readFile(joinPath(f.path, "00-new.release-grp.m3u")), "track.mp3\n");
#endif
}

TEST(PlaylistTest, NothingToDoOrNoWayToWrite) {
  InstallSandbox box;
  Folder f(box, "Rel");
  writeFile(joinPath(f.path, "a.rar"), "x");
  EXPECT_EQ(makePlaylist(&f.dirSet, false), 1);
  EXPECT_EQ(listNames(f.path), std::vector<std::string>{"a.rar"});

  writeFile(joinPath(f.path, "a.mp3"), "x");
  makeDirs(joinPath(f.path, "00-rel.m3u"));  // a folder where the playlist belongs
  EXPECT_EQ(makePlaylist(&f.dirSet, true), -1);
  EXPECT_EQ(listNames(f.path), (std::vector<std::string>{"00-rel.m3u", "a.mp3", "a.rar"}));
  EXPECT_TRUE(listNames(joinPath(f.path, "00-rel.m3u")).empty());
  EXPECT_TRUE(box.chmodLog().empty());
  EXPECT_EQ(makePlaylist(nullptr, false), -1);
}

}  // namespace
