// Whole-name wildcard match: '?' is one character, '*' any run (the empty
// run included), every other character itself with 'A'..'Z' folded. An empty
// pattern matches every name. There is no escape.
#include "foundation/xstring.h"

namespace {

inline char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

// Greedy matching with one remembered star: on a mismatch the last star takes
// one more character. This gives the same answers as trying every split
// recursively, in time proportional to name length times pattern length and
// without allocating.
bool XString::match(const XString& pattern) const {
  return matchWildcard(text_, length_, pattern.c_str(), pattern.length());
}

bool matchWildcard(const char* name, size_t n, const char* pat, size_t m) {
  if (m == 0) return true;
  // The common form "*.ext": one leading star and a plain tail.
  if (pat[0] == '*' && m > 1) {
    bool plainTail = true;
    for (size_t k = 1; k < m && plainTail; ++k) plainTail = pat[k] != '*' && pat[k] != '?';
    if (plainTail) {
      size_t tail = m - 1;
      if (tail > n) return false;
      for (size_t k = 0; k < tail; ++k) {
        if (fold(name[n - tail + k]) != fold(pat[1 + k])) return false;
      }
      return true;
    }
  }

  size_t i = 0, j = 0;
  bool haveStar = false;
  size_t starPat = 0, starName = 0;
  while (i < n) {
    if (j < m && pat[j] == '*') {
      while (j < m && pat[j] == '*') ++j;
      if (j == m) return true;
      haveStar = true;
      starPat = j;
      starName = i;
    } else if (j < m && (pat[j] == '?' || fold(pat[j]) == fold(name[i]))) {
      ++i;
      ++j;
    } else if (haveStar) {
      j = starPat;
      i = ++starName;
    } else {
      return false;
    }
  }
  while (j < m && pat[j] == '*') ++j;
  return j == m;
}
