#include "tools/ftpd-standin/uploads_in_flight.h"

#include <cstdio>

#include "platform/fs.h"
#include "tools/ftpd-standin/util.h"

namespace ftpd {

namespace {

// A few lines per running stand-in; a larger file is not ours.
constexpr size_t kListLimit = 4 << 20;
constexpr size_t kMaxEntries = 10000;

}  // namespace

bool UploadsInFlight::load() {
  entries_.clear();
  if (!platform::pathExists(path_.c_str())) return true;
  std::string text;
  if (!readSmallFile(path_, kListLimit, &text)) return false;
  parse(text);
  return true;
}

void UploadsInFlight::parse(const std::string& text) {
  entries_.clear();
  for (const std::string& line : splitLines(text, true)) {  // a cut last line is dropped
    if (entries_.size() >= kMaxEntries) break;
    std::string::size_type first = line.find(' ');
    if (first == std::string::npos) continue;
    std::string::size_type second = line.find(' ', first + 1);
    if (second == std::string::npos || second == first + 1 || second + 1 >= line.size()) continue;
    uint64_t ms = 0;
    if (!parseDigits(line.substr(0, first), 15, &ms)) continue;
    entries_.push_back({static_cast<long long>(ms), line.substr(first + 1, second - first - 1),
                        line.substr(second + 1)});
  }
}

std::string UploadsInFlight::text() const {
  std::string out;
  for (const Entry& entry : entries_) {
    out += std::to_string(entry.ms) + " " + entry.id + " " + entry.folder + "\n";
  }
  return out;
}

bool UploadsInFlight::save() const {
  if (entries_.empty()) {
    // Gone is what counts, whoever removed it.
    (void)platform::removeFile(path_.c_str());
    return !platform::pathExists(path_.c_str());
  }
  return writeWholeFile(path_, text());
}

void UploadsInFlight::add(long long ms, const std::string& id, const std::string& folder) {
  // Ids and folders are passed values: they hold no line end. A blank in an
  // id would shift the folder, so such an id is never listed.
  if (id.empty() || id.find_first_of(" \n") != std::string::npos ||
      folder.find('\n') != std::string::npos || entries_.size() >= kMaxEntries) {
    return;
  }
  entries_.push_back({ms, id, folder});
}

void UploadsInFlight::remove(const std::string& id) {
  for (auto it = entries_.begin(); it != entries_.end();) {
    it = it->id == id ? entries_.erase(it) : it + 1;
  }
}

void UploadsInFlight::dropOlderThan(long long ms) {
  for (auto it = entries_.begin(); it != entries_.end();) {
    it = it->ms < ms ? entries_.erase(it) : it + 1;
  }
}

size_t UploadsInFlight::before(const std::string& id, const std::string& folder) const {
  size_t count = 0;
  for (const Entry& entry : entries_) {
    if (entry.id == id) break;
    if (entry.folder == folder) ++count;
  }
  return count;
}

}  // namespace ftpd
