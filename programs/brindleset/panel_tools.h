// What the panel tools of the main window know: the placeholder legends,
// the stores the reset buttons delete, the owner triples behind the
// "change" buttons, and the text of a bar preview.
#ifndef PROGRAMS_BRINDLESET_PANEL_TOOLS_H_
#define PROGRAMS_BRINDLESET_PANEL_TOOLS_H_

#include "foundation/xstring.h"

namespace brindleset {

// A "show" panel and the hidden memo it toggles, which lists a template's
// placeholders, one "%x - meaning" a line.
struct Legend {
  const char* show;
  const char* memo;
  const char* const* lines;  // ends with a null
};

const Legend* legendOf(const XString& showName);
// The legend's lines joined by CR LF, as its memo shows them.
XString legendText(const Legend& legend);

// A reset button, its question and the store file it deletes from the data
// folder; null for the shown module's special list, named after the module.
struct StoreReset {
  const char* button;
  const char* question;
  const char* file;
};

const StoreReset* storeResetOf(const XString& buttonName);

// A "change" button and the labels of the owner triple it edits.
struct OwnerTriple {
  const char* button;
  const char* user;
  const char* group;
  const char* allow;
};

const OwnerTriple* ownerTripleOf(const XString& buttonName);

// The previews show at most this many cells of a bar.
constexpr int kPreviewCells = 300;
// The slider's steps from an empty to a full bar.
constexpr int kPreviewSteps = 30;

// A bar of `length` cells (0 when negative) whose first length × position ÷
// kPreviewSteps cells are full: `full` for each of those, `empty` for the
// rest, cut after kPreviewCells cells.
XString barPreview(long long length, int position, const XString& full, const XString& empty);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_PANEL_TOOLS_H_
