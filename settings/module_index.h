// The list of modules in "ModuleIndex.idx" and the choice of module by path.
#ifndef SETTINGS_MODULE_INDEX_H_
#define SETTINGS_MODULE_INDEX_H_

#include "foundation/xstring.h"
#include "foundation/xstring_list.h"
#include "settings/mconfig.h"

// One module: its settings file, the virtual path it applies to (beginning
// and ending with '/'), a unique section name, a description and whether it
// is the default. Its settings are loaded on first use.
template <class Config>
class Module {
 public:
  Module() = default;
  Module(const XString& filename, const XString& path, const XString& sectionName,
         const XString& description, int value, bool isDefault);
  // With `duplicate` the copy gets a fresh name, section and description and
  // is not default; without it keeps the source's texts and default flag.
  // The settings are never copied.
  Module(const Module& other, bool duplicate);
  ~Module() { delete config_; }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The module's settings, loaded on first use (the defaults when the file
  // cannot be read); never null.
  Config* config();
  bool loadConfig();
  [[nodiscard]] bool saveConfig();
  bool configLoaded() const { return config_ != nullptr; }

  XString filename;
  XString sectionName;
  XString description;
  XPath path;
  bool isDefault = false;
  int value = 0;

 private:
  Config* config_ = nullptr;
};

template <class Config>
class ModuleIndex {
 public:
  // The configuration utility's form: an empty index with the default
  // module's texts.
  ModuleIndex(const XString& defaultFilename, const XString& defaultPath,
              const XString& defaultSectionName, const XString& defaultDescription, int value);
  // The hooks' form: the built-in default texts, then a load of `indexPath`.
  // No default module is added.
  explicit ModuleIndex(const char* indexPath);
  ~ModuleIndex();
  ModuleIndex(const ModuleIndex&) = delete;
  ModuleIndex& operator=(const ModuleIndex&) = delete;

  // False, and the index as it was, when the file is missing or damaged.
  bool load(const char* path);
  // Writes to a temporary file renamed over `path`, and the settings of
  // every module whose settings were opened; false when any of these could
  // not be written (an index that could not be written stays as it was).
  // Each file that could not be written is added to `unwritten`.
  [[nodiscard]] bool save(const char* path, XStringList* unwritten = nullptr);
  bool hasDefault() const;
  void ensureDefault();
  void append(Module<Config>* module);
  void add(const XString& filename, const XString& path, const XString& sectionName,
           const XString& description, int value);
  // Appends a copy of module i that is not default and whose section name
  // and settings file no other module uses; its index, or -1.
  int duplicate(int i);
  bool remove(int i);
  int findBySection(const XString& sectionName) const;
  // The module whose path is the longest case-insensitive prefix of `dir`
  // with '/' appended; an earlier module wins a tie; -1 when none.
  int findByPath(XString dir) const;
  int findDefault() const;
  // Module i; null outside 0 to count - 1.
  Module<Config>* at(int i) const;

  int count = 0;
  Module<Config>** modules = nullptr;  // count pointers and a closing null
  int value = 0;
  XString defaultFilename;
  XString defaultPath;
  XString defaultSectionName;
  XString defaultDescription;

  static const XString emptyString;

 private:
  // Equal to some module's name ignoring the case of 'A'..'Z'.
  bool sectionUsed(const XString& name) const;
  bool filenameUsed(const XString& name) const;
};

// The one instantiation, in module_index.cpp.
extern template class Module<MConfig>;
extern template class ModuleIndex<MConfig>;

#endif  // SETTINGS_MODULE_INDEX_H_
