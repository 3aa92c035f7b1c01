#include "hookkit/sfv_status.h"

#include "hookkit/folder_index.h"
#include "platform/paths.h"

namespace {

std::string foldedKey(const XString& text) {
  std::string out(text.c_str(), text.length());
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool isCommentStart(const XString& line) {
  return equalNoCase(line.c_str(), ";!SFV_COMMENT_START") ||
         equalNoCase(line.c_str(), "; !SFV_COMMENT_START");
}

bool isCommentEnd(const XString& line) {
  return equalNoCase(line.c_str(), ";!SFV_COMMENT_END") ||
         equalNoCase(line.c_str(), "; !SFV_COMMENT_END");
}

}  // namespace

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
    name = line;
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

unsigned int SFVStatus::presentKB() {
  parse();
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

bool SFVStatus::contains(const XString& name) {
  parse();
  return folded_.count(foldedKey(name)) != 0;
}

void SFVStatus::parse() {
  if (parsed_) return;
  parsed_ = true;
  // One listing serves the search for the SFV and every presence test.
  FolderIndex folder(dir);
  const platform::DirEntry* sfv = nullptr;
  for (const platform::DirEntry& entry : folder.entries()) {
    if (!entry.isFolder && XString(entry.name).match(XString("*.sfv"))) {
      sfv = &entry;
      break;
    }
  }
  if (sfv == nullptr) return;
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
    folded_.insert(foldedKey(name));
    // A name that could reach outside the folder counts as listed, never as
    // present, and is never looked up.
    const platform::DirEntry* file = isSafeListedName(name) ? folder.find(name) : nullptr;
    if (file != nullptr && !file->isFolder) {
      presentKB_ += static_cast<unsigned int>(file->size / 1024);
      ++presentCount_;
      present.push(true);
    } else {
      present.push(false);
    }
  }
}
