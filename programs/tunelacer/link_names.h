// What a release folder's name says for the link builder: its group and the
// folder it goes under in the tree by first letter.
#ifndef PROGRAMS_TUNELACER_LINK_NAMES_H_
#define PROGRAMS_TUNELACER_LINK_NAMES_H_

#include "foundation/xstring.h"

// The last part of a folder path that ends in the separator ("" for the
// root).
XString lastFolderName(const XString& folder);

// The release group: the text after the last '-' of the name, when that '-'
// is neither the first nor the last character and neither of its
// neighbours is a blank or '_'. False (and `group` empty) when the name has
// none.
bool releaseGroupOf(const XString& name, XString* group);

// "Various" for a various-artists release ("va-", "va_", "various artist",
// "various_artist" at the start or the whole name "va -", ASCII case
// ignored); otherwise the first character, a..z upper-cased. A first byte
// that begins a UTF-8 character brings the rest of that character along.
XString dirnameValueOf(const XString& name);

#endif  // PROGRAMS_TUNELACER_LINK_NAMES_H_
