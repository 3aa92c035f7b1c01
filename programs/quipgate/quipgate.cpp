#include "programs/quipgate/quipgate.h"

#include "foundation/version.h"
#include "foundation/xfile.h"
#include "hookkit/hook_frame.h"
#include "platform/paths.h"
#include "programs/quipgate/site_command.h"

namespace {

int showVersion(SiteCommand& command) {
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  reply << "...::: " << versionString << " :::...\n";
  return reply.finish();
}

// The site's help text lies in the install folder, above the data folder
// the hook works in. Without one the reply is empty.
int showHelp(SiteCommand& command) {
  SiteReply reply;
  if (!reply.open(command.replyPath)) return kExitNoReply;
  const XString path = XString("..") + platform::kPathSepText + "help.txt";
  XFile help(path.c_str(), "rt", true);
  while (help.isOpen() && !help.atEnd() && !help.failed()) {
    XString line;
    help >> line;
    reply << line;
  }
  return reply.finish();
}

// One row of the keyword table: up to three names, matched whole and
// ignoring case, and the command they run.
struct KeywordRow {
  const char* names[3];
  int (*run)(SiteCommand& command);
};

// Rows are tried in this order; the first whose name matches runs.
const KeywordRow kKeywords[] = {
    {{"version", "vers", nullptr}, showVersion},
    {{"bchelp", "?", nullptr}, showHelp},
    {{"board", nullptr, nullptr}, showMessageBoard},
    {{"message", nullptr, nullptr}, postMessage},
    {{"delmessage", "deletemessage", nullptr}, deleteMessage},
    {{"showreq", "showrequests", nullptr}, showRequestBoard},
    {{"request", nullptr, nullptr}, postRequest},
    {{"fillrequest", "fillreq", nullptr}, fillRequest},
    {{"delrequest", "deleterequest", nullptr}, deleteRequest},
    {{"newdir", "ndl", "new"}, showNewDirList},
    {{"makem3u", "makeplaylist", "playlist"}, buildPlaylist},
    {{"rescan", nullptr, nullptr}, rescanFolder},
};

const KeywordRow* rowFor(const XString& keyword) {
  for (const KeywordRow& row : kKeywords) {
    for (const char* name : row.names) {
      if (name != nullptr && keyword.equalsNoCase(XString(name))) return &row;
    }
  }
  return nullptr;
}

}  // namespace

int runSiteCommandHook(const XString& commandLine) {
  HookFrame frame(kQuipgate);
  int code = frame.start(commandLine);
  if (code != kExitDone) return code;

  SiteCommand command{frame, XString(), XString(), levelOf(frame.field('$')), XString()};
  // The keyword is the text before the first blank. One leading blank is
  // forgiven: the keyword is then the text after it, and there are no
  // arguments.
  command.arguments = frame.field('!');
  command.keyword = command.arguments.splitFirst(' ');
  if (command.keyword.empty()) command.keyword.swap(command.arguments);

  const KeywordRow* row = rowFor(command.keyword);
  if (row == nullptr) return kExitDone;
  // The reply is named after the keyword as it was typed, which matched a
  // row: it holds no separator.
  command.replyPath = frame.replyPath(XString("site-") + command.keyword + "." + frame.field('@'));
  return row->run(command);
}
