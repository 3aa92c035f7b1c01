#include "serverfiles/vfs_file.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "foundation/xfile.h"
#include "platform/paths.h"
#include "serverfiles/server_file.h"

namespace {

constexpr char kColumnSep = '|';
constexpr int kSeparators = 14;
// A longer line is not one the server wrote.
constexpr size_t kMaxLineLength = 65536;

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A value that would break the line apart.
bool fitsInLine(const XString& value) {
  for (unsigned int i = 0; i < value.length(); ++i) {
    char c = value[static_cast<int>(i)];
    if (c == kColumnSep || c == '\n' || c == '\r' || c == 0) return false;
  }
  return true;
}

void appendNumber(std::string& line, unsigned int value) {
  char digits[16];
  int n = std::snprintf(digits, sizeof digits, "%u", value);
  line.append(digits, static_cast<size_t>(n));
}

}  // namespace

bool VFSfileEntry::parse(std::string_view text) {
  if (countByte(text, kColumnSep) != kSeparators) return false;
  size_t first = text.find(kColumnSep);
  size_t second = text.find(kColumnSep, first + 1);
  line = text;
  realPath = text.substr(0, first);
  virtualPath = text.substr(first + 1, second - first - 1);
  return true;
}

std::string_view VFSfileEntry::column(int k) const {
  std::string_view rest = line;
  for (int i = 1; i < k && i <= kSeparators; ++i) {
    size_t at = rest.find(kColumnSep);
    if (at == std::string_view::npos) return std::string_view();
    rest.remove_prefix(at + 1);
  }
  if (k > kSeparators) {
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
    return rest;
  }
  return rest.substr(0, rest.find(kColumnSep));
}

char VFSfileEntry::kind() const {
  std::string_view text = column(6);
  return text.empty() ? 0 : text[0];
}

unsigned int VFSfileEntry::number(int k) const {
  uint32_t value = 0;
  for (char c : column(k)) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value;
}

VFSfile::VFSfile(const char* from, int limit) : maxEntries(limit < 0 ? 0 : limit) {
  // Callers learn what the load found from `count` and `valid`.
  (void)load(from);
}

int VFSfile::load(const char* from) {
  entries_.clear();
  added_.clear();
  text_.clear();
  folded_.clear();
  foldedAt_.clear();
  lineEnd_ = std::string_view();
  count = 0;
  std::string name = from == nullptr ? "" : from;  // `from` may be our own path
  path = name.c_str();

  // The file a link leads to is the one read (and replaced by a save).
  XFile file(serverFileToRead(name.c_str()).c_str(), "rb", false);
  if (!file.isOpen()) return 0;
  if (!text_.read(file, kMaxServerFileBytes)) {
    valid = false;
    return 0;
  }
  std::string_view rest = text_.view();
  entries_.reserve(countLines(rest));

  TextLine line;
  while (nextLine(rest, &line)) {
    VFSfileEntry entry;
    if (line.text.size() > kMaxLineLength || !entry.parse(line.text)) {
      valid = false;
      return 0;
    }
    entry.lineEnd = line.end;
    if (lineEnd_.empty()) lineEnd_ = line.end;
    entries_.push_back(entry);
    ++count;
  }
  return 1;
}

bool VFSfile::addEntry(const XString& realPath, const XString& virtualPath, const XString& owner,
                       const XString& group, const XString& rights, char kind, unsigned int column7,
                       unsigned int column10, unsigned int column9, bool column8, bool column11,
                       bool column12, bool column13, bool column14) {
  if (count >= maxEntries) return false;
  for (const XString* value : {&realPath, &virtualPath, &owner, &group, &rights}) {
    if (!fitsInLine(*value)) return false;
  }
  if (kind == kColumnSep || kind == '\n' || kind == '\r') return false;

  // One trailing separator goes; an empty path is written as the root.
  std::string real(realPath.c_str(), realPath.length());
  if (!real.empty() && real.back() == platform::kPathSep) real.pop_back();
  if (real.empty()) real = platform::kPathSepText;
  std::string virt(virtualPath.c_str(), virtualPath.length());
  if (!virt.empty() && virt.back() == '/') virt.pop_back();
  if (virt.empty()) virt = "/";

  std::string line;
  line.reserve(real.size() + virt.size() + owner.length() + group.length() + rights.length() + 48);
  line.append(real).append(1, kColumnSep).append(virt).append(1, kColumnSep);
  line.append(owner.c_str(), owner.length()).append(1, kColumnSep);
  line.append(group.c_str(), group.length()).append(1, kColumnSep);
  line.append(rights.c_str(), rights.length()).append(1, kColumnSep);
  if (kind != 0) line.append(1, kind);  // an empty column, never a NUL byte
  line.append(1, kColumnSep);
  appendNumber(line, column7);
  line.append(column8 ? "|1|" : "|0|");
  appendNumber(line, column9);
  line.append(1, kColumnSep);
  appendNumber(line, column10);
  for (bool flag : {column11, column12, column13, column14}) line.append(flag ? "|1" : "|0");
  line.append(1, kColumnSep);

  added_.push_back(std::move(line));
  VFSfileEntry entry;
  if (!entry.parse(added_.back())) {  // cannot happen: every value was checked
    added_.pop_back();
    return false;
  }
  entries_.push_back(entry);
  ++count;
  return true;
}

int VFSfile::save(const char* to) {
  if (!valid) return 0;
  std::string_view addedEnd = lineEndOf(lineEnd_);
  std::string target;
  if (!serverFileToWrite(to, &target)) return 0;
  XFile file;
  file.openReplacing(target.c_str(), false, true);
  if (!file.isOpen()) return 0;
  ChunkWriter out(file);
  for (auto e = entries_.rbegin(); e != entries_.rend(); ++e) {
    if (e->lineEnd.data() == e->line.data() + e->line.size()) {  // as read: one piece
      out.append(std::string_view(e->line.data(), e->line.size() + e->lineEnd.size()));
    } else {
      out.append(e->line);
      out.append(e->lineEnd.empty() ? addedEnd : e->lineEnd);
    }
  }
  out.flush();
  return commitServerFile(file) ? 1 : 0;
}

void VFSfile::foldNewEntries() {
  // The real paths of the file's lines take less room than the file.
  if (folded_.empty()) folded_.reserve(text_.view().size());
  foldedAt_.reserve(entries_.size());
  for (size_t i = foldedAt_.size(); i < entries_.size(); ++i) {
    const size_t at = folded_.size();
    foldedAt_.push_back(at);
    folded_.append(entries_[i].realPath);
    // Bounds kept in locals, so the loop runs over plain bytes.
    char* const end = &folded_[0] + folded_.size();
    for (char* c = &folded_[0] + at; c != end; ++c) *c = folded(*c);
  }
}

XString VFSfile::virtualPathOf(const XString& realDir) {
  foldNewEntries();
  const char sep = platform::kPathSep;
  std::string dir(realDir.c_str(), realDir.length());
  if (dir.empty() || dir.back() != sep) dir.push_back(sep);
  std::string key = dir;
  for (char& c : key) c = folded(c);

  // An entry applies at a separator boundary only: its real path, with one
  // trailing separator ensured, must begin the folder's path.
  const VFSfileEntry* best = nullptr;
  size_t bestLength = 0;
  for (size_t i = entries_.size(); i-- > 0;) {
    const VFSfileEntry& e = entries_[i];
    size_t n = e.realPath.size();
    size_t length;
    if (n == 0) {
      length = 1;  // covers every folder
    } else {
      bool endsInSep = e.realPath.back() == sep;
      length = endsInSep ? n : n + 1;
      if (length > key.size() || std::memcmp(key.data(), folded_.data() + foldedAt_[i], n) != 0 ||
          (!endsInSep && key[n] != sep)) {
        continue;
      }
    }
    if (best == nullptr || length >= bestLength) {
      best = &e;
      bestLength = length;
    }
  }
  if (best == nullptr) return XString();

  std::string result(best->virtualPath);
  if (result.empty() || result.back() != '/') result.push_back('/');
  if (bestLength < dir.size()) result.append(dir, bestLength, std::string::npos);
  for (char& c : result) {
    if (c == sep) c = '/';
  }
  return XString(result);
}

const VFSfileEntry* VFSfile::entry(int i) const {
  if (i < 0 || static_cast<size_t>(i) >= entries_.size()) return nullptr;
  return &entries_[entries_.size() - 1 - static_cast<size_t>(i)];
}

int VFSfile::indexOfVirtualPath(const XString& virtualPath, int from) const {
  std::string_view wanted(virtualPath.c_str(), virtualPath.length());
  if (wanted.empty()) return -1;
  if (wanted.back() == '/') wanted.remove_suffix(1);
  if (from < 0) from = 0;
  for (int i = from; static_cast<size_t>(i) < entries_.size(); ++i) {
    std::string_view have = entries_[entries_.size() - 1 - static_cast<size_t>(i)].virtualPath;
    if (!have.empty() && have.back() == '/') have.remove_suffix(1);
    if (have.size() != wanted.size()) continue;
    size_t k = 0;
    while (k < have.size() && folded(have[k]) == folded(wanted[k])) ++k;
    if (k == have.size()) return i;
  }
  return -1;
}

void VFSfile::removeAt(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
  size_t at = entries_.size() - 1 - static_cast<size_t>(index);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
  // The folded real paths stay where they are; only the removed entry's
  // place in the index goes.
  if (at < foldedAt_.size()) foldedAt_.erase(foldedAt_.begin() + static_cast<std::ptrdiff_t>(at));
  --count;
}
