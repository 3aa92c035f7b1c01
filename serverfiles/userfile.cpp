#include "serverfiles/userfile.h"

#include <cstdio>
#include <unordered_map>

#include "foundation/xfile.h"

namespace {

constexpr char kFieldSep = ':';
constexpr int kSeparators = 22;
// How often a save reads the file again when the server keeps changing it.
constexpr int kSaveTries = 4;
// Credits beyond this many hundredths are held at it.
constexpr int64_t kMaxCredits = INT64_C(1000000000000000000);
constexpr int64_t kMaxWhole = kMaxCredits / kCreditUnit;

unsigned int toUInt(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value;
}

int64_t clampCredits(int64_t value) {
  if (value > kMaxCredits) return kMaxCredits;
  if (value < -kMaxCredits) return -kMaxCredits;
  return value;
}

}  // namespace

int64_t parseCredits(std::string_view text) {
  size_t i = 0;
  bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  int64_t whole = 0;
  int64_t fraction = 0;
  int decimals = 0;
  bool roundUp = false;
  bool separator = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      int digit = c - '0';
      if (!separator) {
        if (whole < kMaxWhole) whole = whole * 10 + digit;
        if (whole > kMaxWhole) whole = kMaxWhole;
      } else if (decimals < 2) {
        fraction = fraction * 10 + digit;
        ++decimals;
      } else if (decimals == 2) {
        roundUp = digit >= 5;
        ++decimals;
      }
    } else if ((c == '.' || c == ',') && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (decimals == 1) fraction *= 10;
  int64_t value = clampCredits(whole * kCreditUnit + fraction + (roundUp ? 1 : 0));
  return negative ? -value : value;
}

std::string formatCredits(int64_t hundredths) {
  uint64_t magnitude =
      hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  // Written from the end by hand: a save formats every changed user's
  // credits, and a formatted print of each costs more than the rest.
  char text[32];
  char* const end = text + sizeof text;
  char* at = end;
  const uint64_t cents = magnitude % kCreditUnit;
  *--at = static_cast<char>('0' + cents % 10);
  *--at = static_cast<char>('0' + cents / 10);
  *--at = '.';
  uint64_t whole = magnitude / kCreditUnit;
  do {
    *--at = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (hundredths < 0) *--at = '-';
  return std::string(at, end);
}

bool UserfileEntry::parse(std::string_view text) {
  if (countByte(text, kFieldSep) != kSeparators) return false;
  // The separators up to the one after the credits.
  size_t at[16];
  at[0] = text.find(kFieldSep);
  for (int i = 1; i < 16; ++i) at[i] = text.find(kFieldSep, at[i - 1] + 1);
  line = text;
  user = text.substr(0, at[0]);
  std::string_view groups = text.substr(at[2] + 1, at[3] - at[2] - 1);
  group = groups.substr(0, groups.find(','));
  creditsAt_ = at[14] + 1;
  creditsLength_ = at[15] - creditsAt_;
  credits = readCredits_ = parseCredits(text.substr(creditsAt_, creditsLength_));
  return true;
}

std::string_view UserfileEntry::field(int k) const {
  std::string_view rest = line;
  for (int i = 1; i < k && i <= kSeparators; ++i) {
    size_t at = rest.find(kFieldSep);
    if (at == std::string_view::npos) return std::string_view();
    rest.remove_prefix(at + 1);
  }
  if (k > kSeparators) {
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
    return rest;
  }
  return rest.substr(0, rest.find(kFieldSep));
}

unsigned int UserfileEntry::number(int k) const { return toUInt(field(k)); }

int UserfileEntry::signedNumber(int k) const {
  std::string_view text = field(k);
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  uint32_t value = toUInt(text);
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

// Added from the last one back, so that the second group is the head.
XStringList UserfileEntry::groups() const {
  XStringList list;
  std::string_view text = field(4);
  size_t comma = text.find(',');
  if (comma == std::string_view::npos) return list;
  std::string_view others = text.substr(comma + 1);
  for (;;) {
    size_t last = others.rfind(',');
    std::string_view part = last == std::string_view::npos ? others : others.substr(last + 1);
    list.add(part.data(), static_cast<unsigned int>(part.size()));
    if (last == std::string_view::npos) return list;
    others = others.substr(0, last);
  }
}

bool UserfileEntry::flag(int i) const {
  std::string_view text = field(19);
  return text.size() == 8 && i >= 1 && i <= 7 && text[static_cast<size_t>(i - 1)] != '0';
}

XString UserfileEntry::toLine() const {
  if (!creditsChanged()) return XString(line.data(), static_cast<unsigned int>(line.size()));
  std::string text(line.substr(0, creditsAt_));
  text += formatCredits(credits);
  text += line.substr(creditsAt_ + creditsLength_);
  return XString(text);
}

XString UserfileEntry::creditText() const { return XString(formatCredits(credits)); }

Userfile::Userfile(const char* file) {
  // Callers learn what the load found from `ok` and `count`.
  (void)load(file);
}

bool Userfile::load(const char* file) {
  entries_.clear();
  rewritten_.clear();
  text_.clear();
  count = 0;
  ok = false;
  std::string from = file == nullptr ? "" : file;  // `file` may be our own path
  path = from.c_str();
  // The file a link leads to is the one read (and replaced by a save).
  const std::string target = serverFileToRead(from.c_str());
  // Taken before the read: any change from here on is seen by the save.
  stamp_ = fileStampOf(target.c_str());

  XFile in(target.c_str(), "rb", false);
  if (!in.isOpen() || !text_.read(in, kMaxServerFileBytes)) return false;
  std::string_view rest = text_.view();
  entries_.reserve(countLines(rest));
  TextLine line;
  while (nextLine(rest, &line)) {
    entries_.emplace_back();
    if (!entries_.back().parse(line.text)) {
      entries_.pop_back();
      return false;
    }
    entries_.back().lineEnd = line.end;
    ++count;
  }
  ok = true;
  return true;
}

UserfileEntry* Userfile::entry(unsigned int index) {
  return index < entries_.size() ? &entries_[index] : nullptr;
}

// Lines that stay as they were read lie side by side in the file's bytes and
// go out as one piece.
void Userfile::write(ChunkWriter& out) const {
  const char* runBegin = nullptr;
  const char* runEnd = nullptr;
  for (const UserfileEntry& e : entries_) {
    const char* begin = e.line.data();
    const char* end = begin + e.line.size() + e.lineEnd.size();
    bool asRead = e.lineEnd.data() == begin + e.line.size();
    if (!e.creditsChanged() && asRead) {
      if (runBegin == nullptr || runEnd != begin) {
        if (runBegin != nullptr) out.append(std::string_view(runBegin, runEnd - runBegin));
        runBegin = begin;
      }
      runEnd = end;
      continue;
    }
    if (runBegin != nullptr) out.append(std::string_view(runBegin, runEnd - runBegin));
    runBegin = nullptr;
    if (e.creditsChanged()) {
      out.append(e.line.substr(0, e.creditsAt_));
      out.append(formatCredits(e.credits));
      out.append(e.line.substr(e.creditsAt_ + e.creditsLength_));
    } else {
      out.append(e.line);
    }
    out.append(e.lineEnd);
  }
  if (runBegin != nullptr) out.append(std::string_view(runBegin, runEnd - runBegin));
  out.flush();
}

std::vector<CreditChange> Userfile::creditChanges() const {
  std::vector<CreditChange> changes;
  std::unordered_map<std::string_view, unsigned int> seen;
  for (const UserfileEntry& e : entries_) {
    unsigned int occurrence = seen[e.user]++;
    if (e.creditsChanged()) {
      changes.push_back({std::string(e.user), occurrence, e.credits - e.readCredits_});
    }
  }
  return changes;
}

void Userfile::applyCreditChanges(const std::vector<CreditChange>& changes) {
  std::unordered_map<std::string_view, std::vector<size_t>> byName;
  for (size_t i = 0; i < entries_.size(); ++i) byName[entries_[i].user].push_back(i);
  for (const CreditChange& change : changes) {
    auto found = byName.find(change.user);
    if (found == byName.end() || change.occurrence >= found->second.size()) continue;
    UserfileEntry& e = entries_[found->second[change.occurrence]];
    e.credits = clampCredits(e.credits + change.delta);
  }
}

// Reads the file again and applies this run's credit changes to it as
// differences, so that what the server changed meanwhile (a download's
// cost) stays. A user the server removed meanwhile loses the change; users
// of the same name are matched by their order.
bool Userfile::reloadKeepingChanges() {
  const std::vector<CreditChange> changes = creditChanges();
  std::string from(path.c_str(), path.length());
  if (!load(from.c_str())) return false;
  applyCreditChanges(changes);
  return true;
}

// After a save of our own file: the changed lines are what the file now
// holds, so a later save starts from them.
void Userfile::settleWritten() {
  for (UserfileEntry& e : entries_) {
    if (!e.creditsChanged()) continue;
    const std::string credits = formatCredits(e.credits);
    std::string line;
    line.reserve(e.line.size() - e.creditsLength_ + credits.size());
    line.append(e.line.substr(0, e.creditsAt_)).append(credits);
    line.append(e.line.substr(e.creditsAt_ + e.creditsLength_));
    rewritten_.push_back(std::move(line));
    // Only the credits changed: the fields before them keep their places.
    const size_t groupAt = static_cast<size_t>(e.group.data() - e.line.data());
    e.line = rewritten_.back();
    e.user = e.line.substr(0, e.user.size());
    e.group = e.line.substr(groupAt, e.group.size());
    e.creditsLength_ = credits.size();
    e.credits = e.readCredits_ = parseCredits(credits);
  }
  stamp_ = fileStampOf(serverFileToRead(path.c_str()).c_str());
}

bool Userfile::save(const char* file) {
  if (!ok || file == nullptr || file[0] == 0) return false;
  const bool own = path == file;
  std::string target;
  if (!serverFileToWrite(file, &target)) return false;
  for (int attempt = 0; attempt < kSaveTries; ++attempt) {
    XFile out;
    out.openReplacing(target.c_str(), false, true);
    if (!out.isOpen()) return false;
    ChunkWriter writer(out);
    write(writer);
    if (!prepareServerFile(out)) return false;
    // Looked at after the flush, just before the rename: a change the
    // server made while the new copy was written is not lost.
    if (own && fileStampOf(target.c_str()) != stamp_) {
      // The new copy is dropped unwritten: what close() says about it does
      // not matter.
      (void)out.close();
      if (!reloadKeepingChanges()) return false;
      continue;
    }
    if (!commitServerFile(out)) return false;
    if (own) settleWritten();
    return true;
  }
  return false;
}
