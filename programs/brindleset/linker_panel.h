// The link builder's panel: its switches, the folders of the link trees,
// its log, the group and path lists, and the owner of the links.
#ifndef PROGRAMS_BRINDLESET_LINKER_PANEL_H_
#define PROGRAMS_BRINDLESET_LINKER_PANEL_H_

#include "forms/forms.h"
#include "programs/brindleset/binding.h"
#include "settings/lconfig.h"

class TMainWindow;

namespace brindleset {

// The panel's controls, the link-builder rows they edit, and the group
// list kept in a text file of the administrator's.
class LinkerPanel {
 public:
  // Places the controls on `panel`.
  LinkerPanel(TMainWindow& window, TPanel* panel);

  void show(LConfig& settings);
  // No control of the panel holds a number: taking cannot fail.
  void take(LConfig& settings);
  // The group list to and from a file that the administrator chooses.
  void saveGroupList();
  void loadGroupList();

 private:
  void build(TPanel* panel);

  TMainWindow& window_;
  TListBox* groups_ = nullptr;
  BoundRows<LConfig> rows_;
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_LINKER_PANEL_H_
