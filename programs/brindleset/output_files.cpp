#include "programs/brindleset/output_files.h"

#include "platform/fs.h"
#include "platform/paths.h"

namespace brindleset {

namespace {

// What the suite's own files in the data folder end in: settings (".bcc",
// ".cfg", ".idx", the modules' ".bcm"), stores and memos (".sav"), the
// modules' special lists (".ndl") and the locks.
const char* const kOwnSuffixes[] = {".bcc", ".bcm", ".cfg", ".idx", ".lock", ".ndl", ".sav"};

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameText(const std::string& a, const std::string& b, bool foldCase) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (foldCase ? folded(a[i]) != folded(b[i]) : a[i] != b[i]) return false;
  }
  return true;
}

bool endsWithFolded(const std::string& name, const char* suffix) {
  std::string end(suffix);
  return name.size() > end.size() && sameText(name.substr(name.size() - end.size()), end, true);
}

}  // namespace

OwnFiles::OwnFiles(ModuleIndex<MConfig>& index) : dataFolder_(platform::resolvedPath(".")) {
  for (int i = 0; i < index.count; ++i) {
    moduleFiles_.push_back(platform::resolvedPath(index.at(i)->filename.str()));
  }
}

bool OwnFiles::own(const std::string& path) const {
  std::string resolved = platform::resolvedPath(path);
  if (resolved.empty() || dataFolder_.empty()) return false;
  for (const std::string& module : moduleFiles_) {
    if (sameText(resolved, module, platform::kNamesFoldCase)) return true;
  }
  size_t cut = resolved.find_last_of(platform::kPathSep);
  if (cut == std::string::npos) return false;
  std::string folder = resolved.substr(0, cut == 0 ? 1 : cut);
  if (!sameText(folder, dataFolder_, platform::kNamesFoldCase)) return false;
  std::string name = resolved.substr(cut + 1);
  for (const char* suffix : kOwnSuffixes) {
    if (endsWithFolded(name, suffix)) return true;
  }
  return false;
}

XString OwnFiles::namedIn(const XString& files) const {
  XString rest = files;
  while (!rest.empty()) {
    XString name = rest.splitFirst('|');
    if (!name.empty() && own(name.str())) return name;
  }
  return XString();
}

XString ownFileMessage(const char* field, const XString& file) {
  return XString(field) + " name a file that Brindlecast keeps in its data folder: " + file +
         "\r\nPlease choose another file.";
}

}  // namespace brindleset
