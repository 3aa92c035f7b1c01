#include "settings/module_index.h"

#include <cstdint>
#include <string>

#include "foundation/xfile.h"
#include "platform/paths.h"

namespace {

// Every stored module record takes at least four text lengths and the
// default switch; a count that the rest of the file cannot hold is damaged.
constexpr uint64_t kLeastRecordBytes = 4 * 4 + 1;

const char kDupeFilePrefix[] = "dupe of ";
const char kDupeSectionSuffix[] = "_dupe";
const char kDupeDescriptionPrefix[] = "Is duplicate of ";

// Names in the index are kept as typed, so either separator may stand
// before the file name part.
bool isSeparator(char c) { return c == '/' || c == platform::kPathSep; }

// Where the file name part of `name` begins.
size_t fileNameStart(const std::string& name) {
  for (size_t i = name.size(); i > 0; --i) {
    if (isSeparator(name[i - 1])) return i;
  }
  return 0;
}

XString dupeFileName(const XString& name) {
  std::string text = name.str();
  text.insert(fileNameStart(text), kDupeFilePrefix);
  return XString(text);
}

// `name` with `n` put before the extension of its file name part ("x.bcm"
// gives "x2.bcm"), or at the end when it has none.
XString numbered(const XString& name, int n) {
  std::string text = name.str();
  size_t start = fileNameStart(text);
  size_t dot = text.rfind('.');
  if (dot == std::string::npos || dot <= start) dot = text.size();
  text.insert(dot, std::to_string(n));
  return XString(text);
}

}  // namespace

// ---- Module ----

template <class Config>
Module<Config>::Module(const XString& filename_, const XString& path_, const XString& sectionName_,
                       const XString& description_, int value_, bool isDefault_)
    : filename(filename_),
      sectionName(sectionName_),
      description(description_),
      path(path_),
      isDefault(isDefault_),
      value(value_) {
  path.encloseSlashes();
}

template <class Config>
Module<Config>::Module(const Module& other, bool duplicate)
    : filename(other.filename),
      sectionName(other.sectionName),
      description(other.description),
      path(other.path),
      isDefault(other.isDefault),
      value(other.value) {
  if (!duplicate) return;
  filename = dupeFileName(other.filename);
  sectionName += kDupeSectionSuffix;
  description = XString(kDupeDescriptionPrefix) + other.description;
  isDefault = false;
}

template <class Config>
Config* Module<Config>::config() {
  if (config_ == nullptr) loadConfig();
  return config_;
}

template <class Config>
bool Module<Config>::loadConfig() {
  delete config_;
  config_ = new Config;
  if (config_->load(filename.c_str())) return true;
  config_->setDefaults(value);
  return false;
}

template <class Config>
bool Module<Config>::saveConfig() {
  if (config_ == nullptr) return true;
  return config_->save(filename.c_str());
}

// ---- ModuleIndex ----

template <class Config>
const XString ModuleIndex<Config>::emptyString;

template <class Config>
ModuleIndex<Config>::ModuleIndex(const XString& defaultFilename_, const XString& defaultPath_,
                                 const XString& defaultSectionName_,
                                 const XString& defaultDescription_, int value_)
    : modules(new Module<Config>* [1] { nullptr }),
      value(value_),
      defaultFilename(defaultFilename_),
      defaultPath(defaultPath_),
      defaultSectionName(defaultSectionName_),
      defaultDescription(defaultDescription_) {}

template <class Config>
ModuleIndex<Config>::ModuleIndex(const char* indexPath)
    : ModuleIndex("default.bcm", "/", "default", "This module applies when no other does.", 0) {
  load(indexPath);
}

template <class Config>
ModuleIndex<Config>::~ModuleIndex() {
  for (int i = 0; i < count; ++i) delete modules[i];
  delete[] modules;
}

// The records are read into a new array that replaces the old one only
// when every record could be read. A negative count, one that the file
// cannot hold, or a record cut short leaves the index as it was.
template <class Config>
bool ModuleIndex<Config>::load(const char* path) {
  XFile file(path, "rb", false);
  if (!file.isOpen()) return false;
  int n = 0;
  file >> n;
  if (file.failed() || n < 0) return false;
  if (static_cast<uint64_t>(n) * kLeastRecordBytes > file.bytesLeft()) return false;

  Module<Config>** fresh = new Module<Config>*[static_cast<size_t>(n) + 1];
  int got = 0;
  while (got < n) {
    Module<Config>* m = new Module<Config>;
    // The path is taken as stored: no slashes are added.
    file >> m->filename >> m->path >> m->sectionName >> m->description >> m->isDefault;
    if (file.failed()) {
      delete m;
      break;
    }
    fresh[got++] = m;
  }
  fresh[got] = nullptr;
  if (got < n) {
    for (int i = 0; i < got; ++i) delete fresh[i];
    delete[] fresh;
    return false;
  }

  for (int i = 0; i < count; ++i) delete modules[i];
  delete[] modules;
  modules = fresh;
  count = n;
  return true;
}

// Writes the index to a temporary file and puts it in place when every
// write succeeded. Each module whose settings were opened writes its own
// file too; false when the index or any of those could not be written.
template <class Config>
bool ModuleIndex<Config>::save(const char* path, XStringList* unwritten) {
  auto failed = [unwritten](const XString& name) {
    if (unwritten) unwritten->add(name);
    return false;
  };
  XFile file;
  file.openReplacing(path, false);
  if (!file.isOpen()) return failed(path);
  file << count;
  bool settingsSaved = true;
  for (int i = 0; i < count; ++i) {
    const Module<Config>* m = modules[i];
    file << m->filename << m->path << m->sectionName << m->description << m->isDefault;
    if (!modules[i]->saveConfig()) settingsSaved = failed(m->filename);
  }
  bool indexSaved = file.commitDurable() || failed(path);
  return indexSaved && settingsSaved;
}

template <class Config>
bool ModuleIndex<Config>::hasDefault() const {
  return findDefault() != -1;
}

template <class Config>
void ModuleIndex<Config>::ensureDefault() {
  if (hasDefault()) return;
  append(new Module<Config>(defaultFilename, defaultPath, defaultSectionName, defaultDescription,
                            value, true));
}

template <class Config>
void ModuleIndex<Config>::append(Module<Config>* module) {
  Module<Config>** grown = new Module<Config>*[static_cast<size_t>(count) + 2];
  for (int i = 0; i < count; ++i) grown[i] = modules[i];
  grown[count] = module;
  grown[count + 1] = nullptr;
  delete[] modules;
  modules = grown;
  ++count;
}

template <class Config>
void ModuleIndex<Config>::add(const XString& filename, const XString& path,
                              const XString& sectionName, const XString& description, int value_) {
  append(new Module<Config>(filename, path, sectionName, description, value_, false));
}

// The copy gets a section name and a settings file that no other module
// uses, so two modules never share one settings file or one list file: a
// number is put after the section name ("x_dupe2") and before the
// extension of the file name ("dupe of x2.bcm") until both are free.
// Names are compared ignoring the case of 'A'..'Z', as the file names they
// lead to are on a case-insensitive file system.
template <class Config>
int ModuleIndex<Config>::duplicate(int i) {
  if (i < 0 || i >= count) return -1;
  Module<Config>* copy = new Module<Config>(*modules[i], true);
  const XString section = copy->sectionName;
  const XString file = copy->filename;
  for (int n = 2; sectionUsed(copy->sectionName); ++n) {
    copy->sectionName = section + XString(n);
  }
  for (int n = 2; filenameUsed(copy->filename); ++n) copy->filename = numbered(file, n);
  append(copy);
  return count - 1;
}

template <class Config>
bool ModuleIndex<Config>::sectionUsed(const XString& name) const {
  for (int i = 0; i < count; ++i) {
    if (modules[i]->sectionName.equalsNoCase(name)) return true;
  }
  return false;
}

template <class Config>
bool ModuleIndex<Config>::filenameUsed(const XString& name) const {
  for (int i = 0; i < count; ++i) {
    if (modules[i]->filename.equalsNoCase(name)) return true;
  }
  return false;
}

template <class Config>
bool ModuleIndex<Config>::remove(int i) {
  if (i < 0 || i >= count) return false;
  delete modules[i];
  Module<Config>** shrunk = new Module<Config>*[static_cast<size_t>(count)];
  int k = 0;
  for (int j = 0; j < count; ++j) {
    if (j != i) shrunk[k++] = modules[j];
  }
  shrunk[k] = nullptr;
  delete[] modules;
  modules = shrunk;
  --count;
  return true;
}

template <class Config>
int ModuleIndex<Config>::findBySection(const XString& sectionName) const {
  for (int i = 0; i < count; ++i) {
    if (modules[i]->sectionName == sectionName) return i;
  }
  return -1;
}

template <class Config>
int ModuleIndex<Config>::findByPath(XString dir) const {
  if (dir.lastChar() != '/') dir += '/';
  unsigned int best = 0;
  int result = -1;
  for (int i = 0; i < count; ++i) {
    const XPath& p = modules[i]->path;
    // Strictly longer: an earlier module keeps a tie, an empty path never wins.
    if (p.length() > best && p.isPrefixOfNoCase(dir)) {
      best = p.length();
      result = i;
    }
  }
  return result;
}

template <class Config>
int ModuleIndex<Config>::findDefault() const {
  for (int i = 0; i < count; ++i) {
    if (modules[i]->isDefault) return i;
  }
  return -1;
}

template <class Config>
Module<Config>* ModuleIndex<Config>::at(int i) const {
  return i >= 0 && i < count ? modules[i] : nullptr;
}

template class Module<MConfig>;
template class ModuleIndex<MConfig>;
