// The file dialogs.
#ifndef FORMS_DIALOGS_H_
#define FORMS_DIALOGS_H_

#include "forms/component.h"

// Options of the file dialogs, or-ed together.
using TOpenOptions = unsigned int;
constexpr TOpenOptions ofOverwritePrompt = 1;  // ask before a chosen file is replaced
constexpr TOpenOptions ofHideReadOnly = 2;     // no "open read-only" box (Qt has none)
constexpr TOpenOptions ofNoChangeDir = 4;      // keep the working folder (always kept)
constexpr TOpenOptions ofPathMustExist = 8;    // refuse a name in a missing folder
constexpr TOpenOptions ofFileMustExist = 16;   // refuse a file that does not exist

// A dialog that asks for a file to open. Execute shows it, or asks the hook
// (forms/hook.h); on confirmation FileName holds the whole path, on cancel
// it keeps what it held. Filter is a list of description and pattern pairs
// separated by '|', where "*.*" means every file. No dialog ever changes
// the working folder.
class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner);
  bool Execute();
  bool isSaveDialog() const { return save_; }

  XString DefaultExt;  // added, without its dot, to a name typed without one
  XString FileName;
  XString Filter;
  XString Title;
  XString InitialDir;  // empty: the working folder
  TOpenOptions Options = 0;

 protected:
  TOpenDialog(TComponent* owner, bool save);

 private:
  bool save_;
};

// The same dialog, asking for a file to save to.
class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* owner);
};

#endif  // FORMS_DIALOGS_H_
