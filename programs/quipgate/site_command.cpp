#include "programs/quipgate/site_command.h"

#include <climits>

#include "programs/quipgate/quipgate.h"

bool SiteReply::open(const XString& path) {
  if (path.empty()) return false;
  file_.openReplacing(path.c_str(), true);
  return file_.isOpen();
}

SiteReply& SiteReply::operator<<(const XString& text) {
  file_ << text;
  return *this;
}

SiteReply& SiteReply::operator<<(const char* text) {
  file_ << text;
  return *this;
}

int SiteReply::finish() { return file_.commit() ? kExitDone : kExitNoReply; }

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The leading digits of `text`, held at `limit` + 1 once they pass it.
uint64_t leadingDigits(const char* text, uint64_t limit) {
  uint64_t value = 0;
  for (; isDigit(*text); ++text) {
    value = value * 10 + static_cast<uint64_t>(*text - '0');
    if (value > limit) return limit + 1;
  }
  return value;
}

}  // namespace

// A level field the server left empty must not give root's rights, and
// digits past an int must not wrap round to them either.
int levelOf(const XString& field) {
  const char* text = field.c_str();
  const bool negative = text[0] == '-';
  if (negative) ++text;
  if (!isDigit(text[0])) return kGuestLevel;
  uint64_t magnitude = leadingDigits(text, static_cast<uint64_t>(INT_MAX) + 1);
  if (negative) {
    return magnitude > static_cast<uint64_t>(INT_MAX) ? INT_MIN : -static_cast<int>(magnitude);
  }
  return magnitude > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(magnitude);
}

// A number that does not fit must not wrap onto another entry: "4294967297"
// would otherwise address entry 1.
uint32_t entryNumberOf(XString text) {
  text.trimLeft();
  uint64_t value = leadingDigits(text.c_str(), UINT32_MAX);
  return value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

int rowCountOf(const XString& word) {
  uint64_t value = leadingDigits(word.c_str(), INT_MAX);
  return value > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}
