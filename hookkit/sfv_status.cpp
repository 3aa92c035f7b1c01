#include "hookkit/sfv_status.h"

#include <cstring>
#include <string>

#include "platform/fs.h"
#include "platform/paths.h"

namespace {

bool isCommentStart(const XString& line) {
  return equalNoCase(line.c_str(), ";!SFV_COMMENT_START") ||
         equalNoCase(line.c_str(), "; !SFV_COMMENT_START");
}

bool isCommentEnd(const XString& line) {
  return equalNoCase(line.c_str(), ";!SFV_COMMENT_END") ||
         equalNoCase(line.c_str(), "; !SFV_COMMENT_END");
}

}  // namespace

SfvLineReader::SfvLineReader(const XString& path) : file_(path.c_str(), "rt", true) {
  if (file_.isOpen() && file_.bytesLeft() > kMaxSfvBytes) {
    (void)file_.close();  // read for nothing: the result tells nothing here
  }
}

bool SfvLineReader::readTrimmed(XString& line) {
  bool tooLong = false;
  for (;;) {
    if (!file_.readLine(line, kMaxSfvLine, &tooLong)) return false;
    if (tooLong) continue;  // never split a line into pieces that count
    line.trimLineEnd();
    line.trimRight();
    return true;
  }
}

bool SfvLineReader::next(bool& isFile, XString& name, unsigned int& commentKb) {
  XString line;
  while (readTrimmed(line)) {
    if (isCommentStart(line)) {
      while (readTrimmed(line) && !isCommentEnd(line)) {
      }
      continue;
    }
    if (line.firstChar() == ';') {
      if (line.length() == 1) continue;
      line[0] = ' ';
      line.trimLeft();
      XString word = line;
      int blank = word.find(' ');
      if (blank >= 0) word.truncate(static_cast<unsigned int>(blank));
      if (!word.isNumber()) continue;
      isFile = false;
      commentKb = word.toUInt() >> 10;
      return true;
    }
    if (line.empty()) continue;
    int blank = line.findLast(' ');
    if (blank >= 0) {
      line.truncate(static_cast<unsigned int>(blank));
    } else {
      line = "";
    }
    isFile = true;
    name.swap(line);
    return true;
  }
  return false;
}

SFVStatus::SFVStatus(const XString& folder) : dir(folder) {
  dir.ensureTrailing(platform::kPathSep);
}

unsigned int SFVStatus::fileCount() {
  parse();
  return fileCount_;
}

unsigned int SFVStatus::presentCount() {
  parse();
  return presentCount_;
}

// Sizes are looked up only when asked for: most hooks need the counts and
// names alone.
unsigned int SFVStatus::presentKB() {
  parse();
  if (!haveKB_) {
    haveKB_ = true;
    std::string path = dir.str();
    const size_t base = path.size();
    for (const platform::DirEntry* file : presentFiles_) {
      path.resize(base);
      path += file->name;
      uint64_t bytes = 0;
      if (platform::fileSize(path.c_str(), &bytes))
        presentKB_ += static_cast<unsigned int>(bytes / 1024);
    }
    presentFiles_.clear();
  }
  return presentKB_;
}

unsigned int SFVStatus::listedKB() {
  parse();
  return listedKB_;
}

const XString& SFVStatus::sfvPath() {
  parse();
  return sfvPath_;
}

bool SFVStatus::hasSfvFile() {
  parse();
  return hasSfvFile_;
}

XString SFVStatus::firstFile(const char* pattern) {
  parse();
  if (folder_ == nullptr) return XString();
  const size_t n = std::strlen(pattern);
  const platform::DirEntry* first = nullptr;
  for (const platform::DirEntry& entry : folder_->entries()) {
    if (!entry.isFolder && matchWildcard(entry.name.data(), entry.name.size(), pattern, n) &&
        (first == nullptr || platform::listedBefore(entry, *first))) {
      first = &entry;
    }
  }
  return first == nullptr ? XString() : dir + XString(first->name);
}

bool SFVStatus::contains(const XString& name) {
  parse();
  return listed_.count(std::string_view(name.c_str(), name.length())) != 0;
}

void SFVStatus::parse() {
  if (parsed_) return;
  parsed_ = true;
  // One listing serves the search for the SFV and every presence test.
  folder_ = std::make_unique<FolderIndex>(dir);
  const FolderIndex& folder = *folder_;
  const platform::DirEntry* sfv = nullptr;
  for (const platform::DirEntry& entry : folder.entries()) {
    if (!entry.isFolder && matchWildcard(entry.name.data(), entry.name.size(), "*.sfv", 5) &&
        (sfv == nullptr || platform::listedBefore(entry, *sfv))) {
      sfv = &entry;
    }
  }
  if (sfv == nullptr) return;
  hasSfvFile_ = true;
  XString path = dir + XString(sfv->name);
  SfvLineReader reader(path);
  if (!reader.isOpen()) return;
  sfvPath_ = path;

  bool isFile = false;
  XString name;
  unsigned int commentKb = 0;
  while (reader.next(isFile, name, commentKb)) {
    if (!isFile) {
      listedKB_ += commentKb;
      continue;
    }
    ++fileCount_;
    names.add(name);
    const XString& kept = names.head->text;
    listed_.insert(std::string_view(kept.c_str(), kept.length()));
    // A name that could reach outside the folder counts as listed, never as
    // present, and is never looked up.
    const platform::DirEntry* file = isSafeListedName(name) ? folder.find(name) : nullptr;
    if (file != nullptr && !file->isFolder) {
      presentFiles_.push_back(file);
      ++presentCount_;
      present.push(true);
    } else {
      present.push(false);
    }
  }
}
