// The hover help of the main window: the text its memo "help" shows for the
// control the mouse rests on.
#ifndef PROGRAMS_BRINDLESET_HOVER_HELP_H_
#define PROGRAMS_BRINDLESET_HOVER_HELP_H_

#include "foundation/xstring.h"

namespace brindleset {

// The most controls one row names.
constexpr int kHelpRowControls = 8;

// One row of the help table: the controls (by name) that show one text.
// Unused places of `controls` are null.
struct HelpRow {
  const char* controls[kHelpRowControls];
  const char* text;
};

// The rows in the order they are compared.
int helpRowCount();
const HelpRow& helpRow(int index);

// The text of the first row that names the control, matched byte for byte;
// null when no row names it, which leaves the memo as it is. An empty text
// is a text all the same: it clears the memo.
const char* helpTextOf(const XString& controlName);

// What the memo shows at the start and over the window's background and
// its main panels: a greeting and the suite's version.
XString welcomeText();

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_HOVER_HELP_H_
