#include "programs/tunelacer/link_names.h"

#include "platform/paths.h"

XString lastFolderName(const XString& folder) {
  unsigned int end = folder.length();
  if (end > 0 && folder.lastChar() == platform::kPathSep) --end;
  unsigned int begin = end;
  while (begin > 0 && folder[static_cast<int>(begin) - 1] != platform::kPathSep) --begin;
  return XString(folder.c_str() + begin, end - begin);
}

bool releaseGroupOf(const XString& name, XString* group) {
  *group = XString();
  const int dash = name.findLast('-');
  const int last = static_cast<int>(name.length()) - 1;
  if (dash <= 0 || dash >= last) return false;
  for (char side : {name[dash - 1], name[dash + 1]}) {
    if (side == ' ' || side == '_') return false;
  }
  *group = XString(name.c_str() + dash + 1, static_cast<unsigned int>(last - dash));
  return true;
}

namespace {

bool startsNoCase(const XString& name, const char* prefix) {
  XString head(prefix);
  return name.length() >= head.length() && equalNoCase(name.c_str(), prefix, head.length());
}

// The length of the UTF-8 character that begins at `text`, 1 when the bytes
// are not one (a Latin-1 name, say).
unsigned int characterLength(const char* text, unsigned int available) {
  auto lead = static_cast<unsigned char>(text[0]);
  unsigned int n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (lead >= 0xF5 || n > available) return 1;
  for (unsigned int i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

XString dirnameValueOf(const XString& name) {
  for (const char* prefix : {"va-", "va_", "various artist", "various_artist"}) {
    if (startsNoCase(name, prefix)) return XString("Various");
  }
  if (name.equalsNoCase(XString("va -"))) return XString("Various");
  if (name.empty()) return XString();
  char first = name.firstChar();
  if (first >= 'a' && first <= 'z') return XString(static_cast<char>(first - 'a' + 'A'));
  return XString(name.c_str(), characterLength(name.c_str(), name.length()));
}
