// The racer tab of a module: the race statistics after an ordinary upload
// (general), once the SFV is known (sfv), and the MP3 block (mp3).
#ifndef PROGRAMS_BRINDLESET_RACER_PAGES_H_
#define PROGRAMS_BRINDLESET_RACER_PAGES_H_

#include "forms/forms.h"
#include "programs/brindleset/binding.h"
#include "settings/mconfig.h"

class TMainWindow;

namespace brindleset {

// The three pages' controls and the race statistics rows they edit.
class RacerPages {
 public:
  // Places the controls on the pages of `pages`, the racer tab's.
  RacerPages(TMainWindow& window, TPageControl* pages);

  void show(MConfig& settings);
  // False, after its message with the racer tab shown, when a length is no
  // number; the rows before it are taken.
  [[nodiscard]] bool take(MConfig& settings);
  // The preview of the sfv page's bar after its slider.
  void showTestBar();

 private:
  int addRaceTexts(TTabSheet* page, char kind, int bodyHeight);

  TMainWindow& window_;
  TPageControl* pages_;
  BoundRows<MConfig> rows_;
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_RACER_PAGES_H_
