// The folder a hook works in, who caused the event, and whom what it makes
// belongs to.
#ifndef HOOKKIT_DIR_SET_H_
#define HOOKKIT_DIR_SET_H_

#include "foundation/xstring.h"
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
  DirSet(const XString& path, const Chmod* chmod, const UserInfo* user);
  DirSet(const DirSet&) = delete;
  DirSet& operator=(const DirSet&) = delete;

  void set(const XString& path);
  // dir + the name of the first file (hidden ones included, no folders)
  // whose name matches `mask`; empty when there is none.
  XString findFirst(const XString& mask) const;
  // Some file of the folder matches `pattern` (hidden ones too, no folders).
  bool hasMatch(const XString& pattern) const;
  // Moves the whole folder into `target` (see release_move.cpp).
  bool moveTo(const XString& target) const;
  // Hands `path` to the chmod program when there is a Chmod and a UserInfo.
  void applyOwner(const XString& path) const;

  const Chmod* chmod;
  const UserInfo* user;
  XPath dir;
  XPath parentDir;
  XPath grandparentDir;
  XPath dirName;
  XPath parentName;
};

// The folder of a physical path, up to and including its last separator.
XPath folderOf(const XString& path);

// Moves every entry of `source` into `target` (made when missing), folders
// by recursion and files by renames that never replace; true when the whole
// tree moved, false at the first entry that could not be moved.
bool moveTree(const DirSet* dirSet, const XString& source, const XString& target);

#endif  // HOOKKIT_DIR_SET_H_
