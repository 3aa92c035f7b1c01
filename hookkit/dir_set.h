// The folder a hook works in, who caused the event, and whom what it makes
// belongs to.
#ifndef HOOKKIT_DIR_SET_H_
#define HOOKKIT_DIR_SET_H_

#include "foundation/xstring.h"
#include "hookkit/chmod_runner.h"
#include "settings/mconfig.h"

// The event's user (%S) and group (%g).
struct UserInfo {
  XString name;
  XString group;
};

// A folder with its parent and grandparent (each ending in the separator),
// its own and its parent's names, and the ownership given to everything a
// hook makes there. The Chmod and UserInfo are not owned.
class DirSet {
 public:
  // Depth of a folder whose virtual path is not known: every level above it
  // counts as inside the site.
  static constexpr unsigned int kUnknownDepth = ~0u;

  DirSet(const XString& path, const Chmod* ownership, const UserInfo* eventUser);
  DirSet(const DirSet&) = delete;
  DirSet& operator=(const DirSet&) = delete;

  void set(const XString& path);
  // dir + the name of the first file (hidden ones included, no folders)
  // whose name matches `mask`; empty when there is none.
  XString findFirst(const XString& mask) const;
  // Some file of the folder matches `pattern` (hidden ones too, no folders).
  bool hasMatch(const XString& pattern) const;
  // Moves the whole folder into `target` (see release_move.cpp); true when
  // all of it moved.
  [[nodiscard]] bool moveTo(const XString& target) const;
  // Hands `path` to the chmod program when there is a Chmod and a UserInfo.
  // A symbolic link is never handed over: the program would change what it
  // points to.
  void applyOwner(const XString& path, int timeoutSeconds = kChmodTimeoutSeconds) const;
  // The folder `levels` above this one (1: the parent, 2: the grandparent)
  // is inside the site: the folder's virtual path has that many levels.
  bool reaches(unsigned int levels) const { return virtualDepth >= levels; }
  // Takes the depth from the folder's virtual path ("/" is 0, "/a/b" is 2).
  void setVirtualFolder(const XString& virtualFolder);
  // Marks the folder with its creator: "@" + the user's name inside it, an
  // empty file (kind 1, never emptying a file that is there) or a folder
  // (kind 2), then handed to the chmod program. A user name that is not
  // isPlainName makes nothing, as does any other kind. True when the marker
  // was made.
  [[nodiscard]] bool createCreatorInfo(unsigned char kind) const;

  const Chmod* chmod;
  const UserInfo* user;
  XPath dir;
  XPath parentDir;
  XPath grandparentDir;
  XPath dirName;
  XPath parentName;
  unsigned int virtualDepth = kUnknownDepth;
};

// A name the suite may make whole from a user's text (a creator marker, a
// request's folder): one name inside its folder that Windows can hold and
// the chmod program will not expand. Not empty, not "." or "..", no control
// byte and none of \ / : * ? " < > |.
bool isPlainName(const XString& name);

// The folder of a physical path, up to and including its last separator.
XPath folderOf(const XString& path);
// The name of a physical path: the text after its last separator.
XString fileNameOf(const XString& path);

// Moves every entry of `source` into `target` (made when missing), folders
// by recursion and files by renames that never replace; true when the whole
// tree moved and the source folder is gone, false at the first entry or
// level that could not be moved, made or listed. Every moved entry is handed
// to the chmod program while the move's time for chmod runs lasts.
[[nodiscard]] bool moveTree(const DirSet* dirSet, const XString& source, const XString& target);

// Makes a marker of kind 1 (an empty file, never emptying one that is there)
// or kind 2 (an empty folder); any other kind makes nothing and reports
// "not made" (false).
[[nodiscard]] bool makeMarker(const XString& path, unsigned char kind);
// Removes a marker of kind 1 (only an empty regular file) or kind 2 (only an
// empty folder); false when nothing went.
[[nodiscard]] bool removeMarker(const XString& path, unsigned char kind);

#endif  // HOOKKIT_DIR_SET_H_
