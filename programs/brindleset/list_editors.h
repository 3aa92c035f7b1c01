// The names behind the main window's list editors and browse buttons: the
// handlers find their controls from the sender through these tables.
#ifndef PROGRAMS_BRINDLESET_LIST_EDITORS_H_
#define PROGRAMS_BRINDLESET_LIST_EDITORS_H_

#include "forms/dialogs.h"
#include "foundation/xstring.h"

namespace brindleset {

// A list box with the edit that feeds it and its "+" and "-" buttons.
struct ListEditor {
  const char* list;
  const char* input;
  const char* add;
  const char* del;
  bool multiSelect;
};

// The editor one of whose four controls bears `name`; null when none.
const ListEditor* listEditorOf(const XString& name);

// A "..." button and the file name it asks for: output files are written
// by the suite, input files must exist.
struct BrowseButton {
  const char* button;
  const char* edit;
  bool output;
  const char* defaultExt;
  const char* fileName;
  const char* filter;
  const char* title;
};

const BrowseButton* browseButtonOf(const XString& name);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_LIST_EDITORS_H_
