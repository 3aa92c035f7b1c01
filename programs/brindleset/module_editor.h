// The dialog that asks for a module's settings file, section name,
// description and virtual path, when a module is added or edited.
#ifndef PROGRAMS_BRINDLESET_MODULE_EDITOR_H_
#define PROGRAMS_BRINDLESET_MODULE_EDITOR_H_

#include "forms/forms.h"
#include "settings/mconfig.h"
#include "settings/module_index.h"

// Shown modally for one add or edit. "ok" (or Enter) checks the four texts
// against the index and gives the result 2 only when they pass; "Cancel"
// and Esc give 1, and closing it by its frame 0. The index is the main
// window's and is only read.
class TModuleEditor : public TForm {
 public:
  // `editedModule` is the index of the module being edited: its own
  // section name and file stay allowed. -1 when adding.
  TModuleEditor(TComponent* owner, ModuleIndex<MConfig>* index, int add, int editedModule = -1);

  void okClick(TObject* Sender);
  void cancelClick(TObject* Sender);
  void FormKeyPress(TObject* Sender, char& Key);
  void browsefileClick(TObject* Sender);

  int addMode;
  ModuleIndex<MConfig>* moduleIndex;

  TEdit* fn = nullptr;
  TEdit* sdesc = nullptr;
  TEdit* desc = nullptr;
  TEdit* pth = nullptr;
  TButton* browsefile = nullptr;
  TButton* ok = nullptr;
  TButton* cancel = nullptr;

 private:
  // Some module other than the edited one bears the section name exactly,
  // or names the settings file (ignoring case, as the index does).
  bool sectionTaken(const XString& section) const;
  bool fileTaken(const XString& file) const;

  int editedModule_;
};

#endif  // PROGRAMS_BRINDLESET_MODULE_EDITOR_H_
