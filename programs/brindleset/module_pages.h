// The pages of one module's settings but the racer's: general, sfv
// features, mp3 features and progress bar.
#ifndef PROGRAMS_BRINDLESET_MODULE_PAGES_H_
#define PROGRAMS_BRINDLESET_MODULE_PAGES_H_

#include "forms/forms.h"
#include "programs/brindleset/binding.h"
#include "settings/mconfig.h"

class TMainWindow;

namespace brindleset {

// The four pages' controls, the module rows they edit, and their rules:
// the tag-id edits show only with "show only last tag", the advertisement
// file only while it is enabled.
class ModulePages {
 public:
  // Places the controls on the pages of `pages`.
  ModulePages(TMainWindow& window, TPageControl* pages);

  // With `listsReversed` for a module whose lists were taken back in this
  // run (see BoundRows::show).
  void show(MConfig& settings, bool listsReversed);
  // False, after its message with the progress bar page shown, when the
  // bar length is no number; the rows before it are taken.
  [[nodiscard]] bool take(MConfig& settings);

  void followTagInfo();
  void followAdvertisement();
  // The progress bar preview after the slider; a length that is no number
  // raises EConvertError and leaves the preview as it was.
  void showTestBar();

 private:
  void buildGeneralPage();
  void buildSfvPage();
  void buildMp3Page();
  void buildBarPage();

  TMainWindow& window_;
  TPageControl* pages_;
  BoundRows<MConfig> rows_;
};

}  // namespace brindleset

#endif  // PROGRAMS_BRINDLESET_MODULE_PAGES_H_
