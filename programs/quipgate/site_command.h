// What every SITE command works with: the started hook's fields, the
// keyword and its arguments, the user's level and the reply file.
#ifndef PROGRAMS_QUIPGATE_SITE_COMMAND_H_
#define PROGRAMS_QUIPGATE_SITE_COMMAND_H_

#include <cstdint>

#include "foundation/xfile.h"
#include "foundation/xstring.h"
#include "hookkit/hook_frame.h"

// The server's ranks: a smaller number has more rights.
constexpr int kRootLevel = 0;
constexpr int kGuestLevel = 3;

// One SITE command after the hook's start: the frame (settings, module,
// fields), the keyword as typed, the text after it, the user's level and the
// path of the reply file.
struct SiteCommand {
  HookFrame& frame;
  XString keyword;
  XString arguments;
  int level = kGuestLevel;
  XString replyPath;

  const XString& user() const { return frame.field('S'); }
  const XString& group() const { return frame.field('g'); }
  // The user's current physical folder (%^) and virtual folder (%e).
  const XString& folder() const { return frame.field('^'); }
  const XString& virtualFolder() const { return frame.field('e'); }
};

// A reply written to a temporary file beside its name and put in place by
// finish(), so the server never shows half of one. A command opens its reply
// before it changes anything; a reply that is never finished leaves no file.
class SiteReply {
 public:
  SiteReply() = default;
  SiteReply(const SiteReply&) = delete;
  SiteReply& operator=(const SiteReply&) = delete;

  // False when no reply can be made there (no server folder, say).
  [[nodiscard]] bool open(const XString& path);
  SiteReply& operator<<(const XString& text);
  SiteReply& operator<<(const char* text);
  // kExitDone once the reply is in place, kExitNoReply when it could not be
  // written.
  [[nodiscard]] int finish();

 private:
  XFile file_;
};

// The level field: an optional '-' and decimal digits; larger magnitudes
// than an int holds stay at its bounds. A field without a digit (empty, or a
// word) reads as a guest.
int levelOf(const XString& field);
// An entry number: the leading digits after leading blanks. 0 (no entry)
// when there are none or when they exceed 4294967295.
uint32_t entryNumberOf(XString text);
// A row count: the leading digits, held at the largest int.
int rowCountOf(const XString& word);

// The commands of the keyword table; each returns the exit code.
int showMessageBoard(SiteCommand& command);
int postMessage(SiteCommand& command);
int deleteMessage(SiteCommand& command);
int showRequestBoard(SiteCommand& command);
int postRequest(SiteCommand& command);
int fillRequest(SiteCommand& command);
int deleteRequest(SiteCommand& command);
int showNewDirList(SiteCommand& command);
int buildPlaylist(SiteCommand& command);
int rescanFolder(SiteCommand& command);

#endif  // PROGRAMS_QUIPGATE_SITE_COMMAND_H_
