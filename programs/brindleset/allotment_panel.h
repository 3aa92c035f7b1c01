// The allotment panel: per user of the server, whether and how the credit
// allotment program gives credits. The users come from the server's user
// file; the settings are the allotment list of the global settings, written
// on "save settings".
#ifndef PROGRAMS_BRINDLESET_ALLOTMENT_PANEL_H_
#define PROGRAMS_BRINDLESET_ALLOTMENT_PANEL_H_

#include "forms/forms.h"
#include "settings/gconfig.h"

class TMainWindow;

namespace brindleset {

// The panel's controls and what they do to the allotment list. Nothing in
// it can be used before the server's users are known.
class AllotmentPanel {
 public:
  // Places the controls on `panel`; `settings` is the window's.
  AllotmentPanel(TMainWindow& window, TPanel* panel, GConfig& settings);

  // Reads the user file the settings name, else the one typed in
  // `typedPath`, and rebuilds the allotment list and the user list from
  // it: users who left the server drop out, those still there keep their
  // allotment. False when neither gives a user.
  [[nodiscard]] bool loadUserFile(const XString& typedPath);
  // Loads the users and, when there are any, opens the panel for edits.
  void openWithUsers(const XString& typedPath);
  void showUser();
  // A bad credits number raises EConvertError before anything changes.
  void updateUser();
  void updateGroup();

 private:
  void build(TPanel* panel);
  // The panel's four allotment fields into `user`; `number` is converted
  // already, so that a bad one changes nothing.
  void takeAllotment(int number, User& user) const;

  TMainWindow& window_;
  GConfig& settings_;
  TGroupBox* box_ = nullptr;
  TComboBox* user_ = nullptr;
  TEdit* group_ = nullptr;
  TEdit* credit_ = nullptr;
  TEdit* number_ = nullptr;
  TCheckBox* fillless_ = nullptr;
  TButton* load_ = nullptr;
  TRadioButton* when_[3] = {};  // daily, weekly, monthly
  TRadioButton* mode_[3] = {};  // off, add, fill
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_ALLOTMENT_PANEL_H_
