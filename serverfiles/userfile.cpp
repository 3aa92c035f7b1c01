#include "serverfiles/userfile.h"

#include <algorithm>
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

unsigned int toUInt(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value;
}

int toInt(std::string_view text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  uint32_t value = toUInt(text);
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

bool isTrue(std::string_view text) { return text.size() == 1 && text[0] == '1'; }

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
        whole = whole > kMaxCredits / 10 ? kMaxCredits : whole * 10 + digit;
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
  char text[48];
  int n = std::snprintf(text, sizeof text, "%s%llu.%02llu", hundredths < 0 ? "-" : "",
                        static_cast<unsigned long long>(magnitude / kCreditUnit),
                        static_cast<unsigned long long>(magnitude % kCreditUnit));
  return std::string(text, static_cast<size_t>(n));
}

bool UserfileEntry::parse(std::string_view text) {
  size_t at[kSeparators];
  int n = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kFieldSep) continue;
    if (n == kSeparators) return false;
    at[n++] = i;
  }
  if (n != kSeparators) return false;
  auto field = [&](int k) {  // k from 1 to 22
    size_t begin = k == 1 ? 0 : at[k - 2] + 1;
    return text.substr(begin, at[k - 1] - begin);
  };
  line = text;
  user = field(1);
  field2 = toUInt(field(2));
  field3 = field(3);

  // The first group, then the others in line order from the head.
  std::string_view groupsField = field(4);
  groups.clear();
  size_t comma = groupsField.find(',');
  group = groupsField.substr(0, comma);
  if (comma != std::string_view::npos) {
    // Added from the last one back, so that the second group is the head.
    std::string_view others = groupsField.substr(comma + 1);
    for (;;) {
      size_t last = others.rfind(',');
      std::string_view part = last == std::string_view::npos ? others : others.substr(last + 1);
      groups.add(part.data(), static_cast<unsigned int>(part.size()));
      if (last == std::string_view::npos) break;
      others = others.substr(0, last);
    }
  }

  field5 = isTrue(field(5));
  field6 = toUInt(field(6));
  field7 = toUInt(field(7));
  field8 = toUInt(field(8));
  field9 = toInt(field(9));
  field10 = isTrue(field(10));
  field11 = toUInt(field(11));
  field12 = toUInt(field(12));
  field13 = field(13);
  field14 = field(14);
  field15 = field(15);
  std::string_view creditsField = field(16);
  creditsAt_ = static_cast<size_t>(creditsField.data() - text.data());
  creditsLength_ = creditsField.size();
  credits = readCredits_ = parseCredits(creditsField);
  field17 = isTrue(field(17));
  field18 = toUInt(field(18));
  std::string_view flagsField = field(19);
  flagsInvalid = flagsField.size() != 8;
  for (int i = 0; i < 7; ++i) flags[i] = !flagsInvalid && flagsField[i] != '0';
  field20 = field(20);
  field21 = isTrue(field(21));
  field22 = isTrue(field(22));
  field23 = text.substr(at[kSeparators - 1] + 1);
  while (!field23.empty() && (field23.back() == '\r' || field23.back() == '\n')) {
    field23.remove_suffix(1);
  }
  return true;
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
  // Taken before the read: any change from here on is seen by the save.
  stamp_ = fileStampOf(from.c_str());

  XFile in(from.c_str(), "rb", false);
  if (!in.isOpen()) return false;
  if (!readWholeFile(in, text_, kMaxServerFileBytes)) {
    text_.clear();
    return false;
  }
  std::string_view rest = text_;
  entries_.reserve(static_cast<size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1);
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

std::string Userfile::render() const {
  size_t total = 0;
  for (const UserfileEntry& e : entries_) total += e.line.size() + e.lineEnd.size() + 24;
  std::string bytes;
  bytes.reserve(total);
  for (const UserfileEntry& e : entries_) {
    if (e.creditsChanged()) {
      bytes.append(e.line.substr(0, e.creditsAt_));
      bytes.append(formatCredits(e.credits));
      bytes.append(e.line.substr(e.creditsAt_ + e.creditsLength_));
    } else {
      bytes.append(e.line);
    }
    bytes.append(e.lineEnd);
  }
  return bytes;
}

// Reads the file again and applies this run's credit changes to it as
// differences, so that what the server changed meanwhile (a download's
// cost) stays. A user the server removed meanwhile loses the change; users
// of the same name are matched by their order.
bool Userfile::reloadKeepingChanges() {
  struct Change {
    std::string user;
    unsigned int occurrence;
    int64_t delta;
  };
  std::vector<Change> changes;
  {
    std::unordered_map<std::string_view, unsigned int> seen;
    for (const UserfileEntry& e : entries_) {
      unsigned int occurrence = seen[e.user]++;
      if (e.creditsChanged()) {
        changes.push_back({std::string(e.user), occurrence, e.credits - e.readCredits_});
      }
    }
  }
  std::string from(path.c_str(), path.length());
  if (!load(from.c_str())) return false;

  std::unordered_map<std::string_view, std::vector<size_t>> byName;
  for (size_t i = 0; i < entries_.size(); ++i) byName[entries_[i].user].push_back(i);
  for (const Change& change : changes) {
    auto found = byName.find(change.user);
    if (found == byName.end() || change.occurrence >= found->second.size()) continue;
    UserfileEntry& e = entries_[found->second[change.occurrence]];
    e.credits = clampCredits(e.credits + change.delta);
  }
  return true;
}

// After a save of our own file: the changed lines are what the file now
// holds, so a later save starts from them.
void Userfile::settleWritten() {
  for (UserfileEntry& e : entries_) {
    if (!e.creditsChanged()) continue;
    std::string_view end = e.lineEnd;
    rewritten_.push_back(e.toLine().str());
    e.parse(rewritten_.back());  // the same separators: the credits hold none
    e.lineEnd = end;
  }
  stamp_ = fileStampOf(path.c_str());
}

bool Userfile::save(const char* file) {
  if (!ok || file == nullptr || file[0] == 0) return false;
  const bool own = path == file;
  for (int attempt = 0; attempt < kSaveTries; ++attempt) {
    std::string bytes = render();
    XFile out;
    out.openReplacing(file, false);
    if (!out.isOpen()) return false;
    out.writeBytes(bytes.data(), bytes.size());
    if (own && fileStampOf(file) != stamp_) {
      // The server wrote the file since it was read. The new copy is
      // dropped unwritten: what close() says about it does not matter.
      (void)out.close();
      if (!reloadKeepingChanges()) return false;
      continue;
    }
    if (!commitServerFile(out, file)) return false;
    if (own) settleWritten();
    return true;
  }
  return false;
}
