// The controls that every panel family of the main window places and whose
// events the window's own handlers hear: filtered edits, file names with
// their browse button, list editors, placeholder legends and owner triples.
#ifndef PROGRAMS_BRINDLESET_WINDOW_CONTROLS_H_
#define PROGRAMS_BRINDLESET_WINDOW_CONTROLS_H_

#include "forms/forms.h"

class TMainWindow;

namespace brindleset {

// An edit whose typed characters pass the path filter, or the number filter.
TEdit* addPathEdit(TMainWindow& window, TWinControl* parent, const char* name, int left, int top,
                   int width);
TEdit* addNumberEdit(TMainWindow& window, TWinControl* parent, const char* name, int left, int top,
                     int width);
// A path edit and its "..." button, which browses for the file.
TEdit* addFileEdit(TMainWindow& window, TWinControl* parent, const char* editName,
                   const char* browseName, int left, int top, int width);
// The list box with its input edit, "+" and "-", as the list editor of
// that list names them.
void addListEditor(TMainWindow& window, TWinControl* parent, const char* listName, int left,
                   int top, int width, int height);
// A "show" panel at (showLeft, showTop) and the hidden memo of its legend,
// as tall as its lines need.
void addLegend(TMainWindow& window, TWinControl* parent, const char* showName, int showLeft,
               int showTop, int memoLeft, int memoTop, int memoWidth);
// A group box with an owner, group and rights in three labels on the row
// at `rowTop`, and the "change" button that edits them through the owner
// dialog at the row's end.
struct OwnerBox {
  const char* group;  // the group box's name; may be empty
  const char* caption;
  const char* button;
  const char* user;
  const char* groupLabel;
  const char* allow;
};
TGroupBox* addOwner(TMainWindow& window, TWinControl* parent, const OwnerBox& names, int left,
                    int top, int width, int height, int rowTop);

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_WINDOW_CONTROLS_H_
