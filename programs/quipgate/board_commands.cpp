// The message and request boards: show, post, delete, and the fill of a
// request. Every change is one locked read-modify-write of the board's
// store; the reply is opened before it, so a reply that cannot be made
// changes nothing.
#include <climits>

#include "hookkit/dir_set.h"
#include "platform/fs.h"
#include "programs/quipgate/quipgate.h"
#include "programs/quipgate/site_command.h"
#include "serverfiles/vfs_file.h"
#include "stores/board.h"

namespace {

// One of the two boards: its settings, store, the levels that may post and
// delete, and its texts.
struct BoardKind {
  const BoardSettings& settings;
  const char* store;
  unsigned char postLevel;
  unsigned char deleteLevel;
  const char* disabled;
  const char* noPost;
  const char* full;
  const char* added;
  const char* badNumber;
  const char* deleted;
  const char* noDelete;
  const char* notSaved;
};

BoardKind messageBoard(const GConfig& g) {
  return {g.mb,
          Board::kMessageBoardFile,
          g.mb.postm,
          g.mb.delm,
          "The message board is disabled.\n",
          "You don't have permission to post messages.\n",
          "Sorry, the message board is full. An old message has to be deleted first.\n",
          "Your message was added as number ",
          "Cannot delete message: bad argument.\n",
          "Message deleted.\n",
          "You don't have permission to delete other users message board entrys.\n",
          "The message board cannot be written just now: nothing changed.\n"};
}

BoardKind requestBoard(const GConfig& g) {
  return {g.rb,
          Board::kRequestBoardFile,
          g.rb.postr,
          g.rb.delr,
          "The request board is disabled.\n",
          "You don't have permission to post request board entrys.\n",
          "Sorry, the request board is full. An old request has to be deleted first.\n",
          "Your request was added as number ",
          "Cannot delete request: bad argument.\n",
          "Request deleted.\n",
          "You don't have permission to delete other users request board entrys.\n",
          "The request board cannot be written just now: nothing changed.\n"};
}

// A switched-off board answers with its text when the settings ask for
// one, else with nothing. True when the board is off.
bool isOff(const SiteCommand& command, const BoardKind& kind, int* code) {
  if (kind.settings.en) return false;
  *code = kExitDone;
  if (kind.settings.messageifdis) {
    SiteReply reply;
    if (!reply.open(command.replyPath)) {
      *code = kExitNoReply;
    } else {
      reply << kind.disabled;
      *code = reply.finish();
    }
  }
  return true;
}

// The whole board, head to tail, as the reply. Shown boards are read
// without the lock: their store is only ever replaced whole.
int showBoard(const SiteCommand& command, const BoardKind& kind) {
  Board board(kind.settings);
  (void)board.load(kind.store);  // no store yet: an empty board
  board.render(-1, false);
  SiteReply reply;
  // A show whose reply cannot be written ends as done all the same.
  if (!reply.open(command.replyPath)) return kExitDone;
  reply << board.header() << board.rows() << board.footer();
  (void)reply.finish();
  return kExitDone;
}

int showEntries(SiteCommand& command, const BoardKind& kind) {
  int code = kExitDone;
  if (isOff(command, kind, &code)) return code;
  return showBoard(command, kind);
}

int postEntry(SiteCommand& command, const BoardKind& kind) {
  int code = kExitDone;
  if (isOff(command, kind, &code)) return code;
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  // A blank is a text; only nothing at all shows the board instead.
  if (command.arguments.empty()) return showBoard(command, kind);
  if (command.level > static_cast<int>(kind.postLevel)) {
    reply << kind.noPost;
    return reply.finish();
  }
  Board board(kind.settings);
  BoardUpdate update =
      board.addEntry(kind.store, kind.settings.file, command.arguments, command.user());
  // Without the lock nothing was read or written: no reply either.
  if (!update.locked) return kExitNoLock;
  if (!update.saved) {
    reply << kind.notSaved;
  } else if (update.count < 0) {
    reply << kind.full;
  } else {
    reply << kind.added << XString(update.count) << ".\n";
  }
  return reply.finish();
}

int deleteEntry(SiteCommand& command, const BoardKind& kind) {
  int code = kExitDone;
  if (isOff(command, kind, &code)) return code;
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  const uint32_t number = entryNumberOf(command.arguments);
  const char* answer = kind.badNumber;
  Board board(kind.settings);
  BoardUpdate update = board.update(kind.store, kind.settings.file, [&](Board& b) {
    Entry* entry = number == 0 ? nullptr : b.entryAt(number - 1);
    if (entry == nullptr) return false;
    // The owner is matched byte for byte: case counts.
    if (command.level > static_cast<int>(kind.deleteLevel) && entry->user != command.user()) {
      answer = kind.noDelete;
      return false;
    }
    answer = kind.deleted;
    return b.remove(number - 1);
  });
  if (!update.locked) return kExitNoLock;
  if (answer == kind.deleted && !update.saved) answer = kind.notSaved;
  reply << answer;
  return reply.finish();
}

// Where a fill tells the user to upload: the request folder's virtual path
// through the server's vfs file (empty when no entry covers it).
XString virtualRequestFolder(const GConfig& g) {
  const int limit = g.vfs_maxentrys > static_cast<unsigned int>(INT_MAX)
                        ? INT_MAX
                        : static_cast<int>(g.vfs_maxentrys);
  VFSfile vfs(g.vfsfile.c_str(), limit);
  return vfs.virtualPathOf(g.rb.preqpath);
}

}  // namespace

int showMessageBoard(SiteCommand& command) {
  return showEntries(command, messageBoard(command.frame.global));
}
int postMessage(SiteCommand& command) {
  return postEntry(command, messageBoard(command.frame.global));
}
int deleteMessage(SiteCommand& command) {
  return deleteEntry(command, messageBoard(command.frame.global));
}
int showRequestBoard(SiteCommand& command) {
  return showEntries(command, requestBoard(command.frame.global));
}
int postRequest(SiteCommand& command) {
  return postEntry(command, requestBoard(command.frame.global));
}
int deleteRequest(SiteCommand& command) {
  return deleteEntry(command, requestBoard(command.frame.global));
}

// Any user may fill any request. The request leaves the board in one locked
// change; its folder, the upload hint and the note on the message board
// follow.
int fillRequest(SiteCommand& command) {
  const GConfig& g = command.frame.global;
  const BoardKind kind = requestBoard(g);
  int code = kExitDone;
  if (isOff(command, kind, &code)) return code;
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  const uint32_t number = entryNumberOf(command.arguments);
  XString text;
  bool found = false;
  Board requests(g.rb);
  BoardUpdate update = requests.update(kind.store, g.rb.file, [&](Board& b) {
    Entry* entry = number == 0 ? nullptr : b.entryAt(number - 1);
    if (entry == nullptr) return false;
    found = true;
    text = entry->text;
    return b.remove(number - 1);
  });
  if (!update.locked) return kExitNoLock;
  if (!found) {
    reply << "Cannot fill request: bad argument.\n";
    return reply.finish();
  }
  if (!update.saved) {
    reply << kind.notSaved;
    return reply.finish();
  }
  // Without a request folder the folder would land in the data folder. The
  // text makes one folder below the request folder, or none: "../x" would
  // reach anywhere, and a name such as "bell?" (the board's '?' for a
  // control byte) no Windows site could hold, nor a chmod run name alone.
  if (g.rb.makedir && !g.rb.preqpath.empty() && isPlainName(text)) {
    (void)platform::makeDir((g.rb.preqpath + text).c_str());  // one that is there stays
  }
  reply << "Please upload to \"" << virtualRequestFolder(g) << text << "\".\n";
  if (g.rb.postfilled) {
    Board messages(g.mb);
    // A full board that may not drop takes nothing, and a note that cannot
    // be posted does not undo the fill.
    BoardUpdate note =
        messages.addEntry(Board::kMessageBoardFile, g.mb.file,
                          command.user() + " filled request: " + text, command.user());
    (void)note;
  }
  return reply.finish();
}
