// The new-directory lists and the playlist of the current folder.
#include "hookkit/dir_set.h"
#include "hookkit/folder_index.h"
#include "hookkit/playlist.h"
#include "programs/quipgate/quipgate.h"
#include "programs/quipgate/site_command.h"
#include "stores/board.h"

namespace {

// A word that gives a row count: digits, '.' and ',' only, and not empty.
bool isNumberWord(const XString& word) { return !word.empty() && word.isNumber(); }

int answer(const SiteCommand& command, const XString& text) {
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  reply << text;
  return reply.finish();
}

int showList(const SiteCommand& command, Board& list, int rows) {
  list.render(rows, false);
  SiteReply reply;
  // A list whose reply cannot be written ends as done all the same.
  if (!reply.open(command.replyPath)) return kExitDone;
  reply << list.header() << list.rows() << list.footer();
  (void)reply.finish();
  return kExitDone;
}

// A special list is stored as its name + ".ndl" in the data folder, found
// whatever the case of its name, as on the server's own file system. Only a
// plain name is looked up: nothing outside the data folder is read.
bool loadSpecialList(Board& list, const XString& name) {
  if (!isListName(name)) return false;
  const XString file = name + Board::kListSuffix;
  if (list.load(file.c_str()) == 1) return true;
  FolderIndex data(XString("."));
  const platform::DirEntry* entry = data.find(file);
  return entry != nullptr && !entry->isFolder && list.load(entry->name.c_str()) == 1;
}

}  // namespace

// "new [word1] [word2]": a number word gives the row count, the other word
// names a special list; without a name the main list is shown.
int showNewDirList(SiteCommand& command) {
  const GConfig& g = command.frame.global;
  if (!g.ndl.en) {
    return g.ndl.messageifdis ? answer(command, XString("The new dir list is disabled.\n"))
                              : kExitDone;
  }
  XString rest = command.arguments;
  const XString word1 = rest.splitFirst(' ');
  const XString word2 = rest.splitFirst(' ');
  XString name;
  int rows = -1;
  if (isNumberWord(word1)) {
    rows = rowCountOf(word1);
    name = word2;
  } else if (isNumberWord(word2)) {
    rows = rowCountOf(word2);
    name = word1;
  } else {
    name = word1;
  }

  if (name.empty()) {
    Board list(g.ndl, &g.ndlspecial);
    (void)list.load(Board::kNewDirListFile);  // no store yet: an empty list
    return showList(command, list, rows);
  }
  Board list(g.ndlspecial);
  if (!loadSpecialList(list, name)) {
    return answer(command, XString("Invalid new dir list name: ") + name + ".\n");
  }
  return showList(command, list, rows);
}

// The playlist is built first; the reply that says how it went comes after.
int buildPlaylist(SiteCommand& command) {
  const UserInfo user{command.user(), command.group()};
  DirSet dirSet(command.folder(), &command.frame.config->chmod, &user);
  const int made = makePlaylist(&dirSet, false);
  if (made == 0) return answer(command, XString("Playlist created.\n"));
  if (made < 0) return answer(command, XString("Cannot create playlist.\n"));
  return answer(command, XString("Playlist not created: no mp3 present."));
}
