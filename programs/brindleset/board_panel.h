// The panels of the four rendered lists: the message board, the request
// board, the new-directory list and the layout of the modules' special
// lists. They share the board settings' controls and differ in a few.
#ifndef PROGRAMS_BRINDLESET_BOARD_PANEL_H_
#define PROGRAMS_BRINDLESET_BOARD_PANEL_H_

#include <vector>

#include "forms/forms.h"
#include "programs/brindleset/binding.h"
#include "settings/gconfig.h"

class TMainWindow;

namespace brindleset {

// One board panel: its controls, the settings rows they edit, and the
// switch that greys out the board's controls while it is off.
class BoardPanel {
 public:
  enum Board { kMessageBoard, kRequestBoard, kNewDirList, kSpecialList };

  // Places the board's controls on `panel`.
  BoardPanel(TMainWindow& window, TPanel* panel, Board board);

  // The rows into the controls, then the enable rule.
  void show(GConfig& settings);
  // False, after its message with the panel shown, when a number does not
  // convert; the rows before it are taken.
  [[nodiscard]] bool take(GConfig& settings);
  // The board's controls follow its enable switch; the special list has
  // none and stays as it is.
  void followSwitch();

 private:
  void build();
  int addLimits(const char* textCaption, const char* cutTextCaption, int top);
  int addTemplates(int top);
  void addLevels(const char* postGroup, const char* postPrefix, const char* delGroup,
                 const char* delCaption, const char* delPrefix, int top);
  void addTools(int top);

  TMainWindow& window_;
  TPanel* panel_;
  Board board_;
  XString prefix_;   // of the board's control names: "mb_", "rb_", "ndl_", "ndlspecial_"
  int headTop_ = 0;  // of the head's caption
  TCheckBox* enable_ = nullptr;
  std::vector<TControl*> followers_;
  BoundRows<GConfig> rows_;
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_BOARD_PANEL_H_
