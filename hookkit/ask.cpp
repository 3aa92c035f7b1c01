#include "hookkit/ask.h"

#include "hookkit/hook_frame.h"
#include "platform/paths.h"

Ask::Ask(const XPath& serverFolder, const XString& word, const XString& request)
    : eventWord(word), requestId(request), outputFolder(serverFolder) {
  if (!outputFolder.empty()) outputFolder.ensureTrailing(platform::kPathSep);
}

// The reply is written when the hook's run ends, whichever way it ends; a
// reply that cannot be written is skipped, as the hooks report no failed
// step (the server then takes the event as refused).
Ask::~Ask() { (void)writeReply(replyPath(), replyText()); }

void Ask::deny(const XString& reason) {
  denied = true;
  reasons.add(reason);
}

XString Ask::replyPath() const {
  return replyFileIn(outputFolder, XString("ask-") + eventWord + "." + requestId);
}

XString Ask::replyText() const {
  if (!denied) return XString("1\n");
  XString text("0\n");
  if (reasons.count == 1) {
    text += "upload denied: ";
    text += reasons.at(0);
    text += "\n";
    return text;
  }
  text += "upload denied due to the following reasons:\n";
  for (const XStringListEntry* e = reasons.head; e != nullptr; e = e->next) {
    text += "   - ";
    text += e->text;
    text += "\n";
  }
  return text;
}
