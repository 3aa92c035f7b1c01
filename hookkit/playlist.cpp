#include "hookkit/playlist.h"

#include <vector>

#include "foundation/dir_listing.h"
#include "foundation/xfile.h"
#include "foundation/xstring_list.h"

namespace {

XString playlistPath(const DirSet& dirSet) {
  XPath sfv(dirSet.findFirst(XString("*.sfv")));
  if (!sfv.empty()) {
    sfv.truncate(static_cast<unsigned int>(sfv.findLast('.')));
    return sfv + ".m3u";
  }
  // Only the name is lower-cased: on a file system that minds case, the
  // folder's own spelling is the only one that leads to it.
  XString name = XString("00-") + dirSet.dirName + ".m3u";
  name.toLower();
  return dirSet.dir + name;
}

// A name that holds a line end cannot stand on one line of the playlist.
bool fitsOneLine(const std::string& name) {
  return name.find('\n') == std::string::npos && name.find('\r') == std::string::npos;
}

}  // namespace

int makePlaylist(const DirSet* dirSet, bool skipIfExists) {
  if (dirSet == nullptr) return -1;
  if (skipIfExists && dirSet->hasMatch(XString("*.m3u"))) return 1;
  std::vector<platform::DirEntry> mp3s = listMatching(dirSet->dir, XString("*.mp3"), kListFiles);
  if (mp3s.empty()) return 1;

  XStringList names;
  for (const platform::DirEntry& entry : mp3s) {
    if (!fitsOneLine(entry.name)) continue;
    XString name(entry.name);
    name.toLower();
    names.add(name);
  }
  names.sort();

  XString path = playlistPath(*dirSet);
  XFile file;
  file.openReplacing(path.c_str(), true);
  if (!file.isOpen()) return -1;
  for (const XStringListEntry* e = names.head; e != nullptr; e = e->next) {
    file << e->text << "\n";
  }
  if (!file.commit()) return -1;
  dirSet->applyOwner(path);
  return 0;
}
