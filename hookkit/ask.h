// The answer of an "ask" hook: allow the event, or refuse it with reasons.
#ifndef HOOKKIT_ASK_H_
#define HOOKKIT_ASK_H_

#include "foundation/xstring.h"
#include "foundation/xstring_list.h"

// Collects refusal reasons while a hook runs its rules and writes the reply
// file "output/ask-<event word>.<request id>" in the server's folder when it
// is destroyed, so that every way out of the hook after its construction
// answers the server. Without a server folder no reply is written.
class Ask {
 public:
  // `serverFolder` may end in the separator or not; empty means no reply.
  Ask(const XPath& serverFolder, const XString& eventWord, const XString& requestId);
  ~Ask();
  Ask(const Ask&) = delete;
  Ask& operator=(const Ask&) = delete;

  // Refuses the event; every call adds one line, newest first.
  void deny(const XString& reason);

  // The reply file's path; empty without a server folder.
  XString replyPath() const;
  // The reply as it will be written.
  XString replyText() const;

  XString eventWord;
  XString requestId;
  XPath outputFolder;  // the server's folder, ending in the separator
  bool denied = false;
  XStringList reasons;  // newest at the head
};

#endif  // HOOKKIT_ASK_H_
