// The control panel's "change my .ftpd" button: the server's hook entries
// pointed at this install folder.
#include "programs/brindleset/ftpd_registration.h"
#include "programs/brindleset/main_window.h"
#include "programs/brindleset/message_boxes.h"

using brindleset::FtpdChange;

namespace {

void showError(const XString& text) {
  // An OK box has one answer.
  (void)Application->MessageBox(text, "error", MB_OK);
}

}  // namespace

// The programs lie in the folder above the working folder, which is the
// data folder. The file is read and rewritten at once, whatever happens to
// the settings later.
void TMainWindow::changeftpd(TObject* Sender) {
  XPath working;
  bool folderKnown = working.setToCurrentDir() != 0;
  TOpenDialog dialog(this);
  dialog.DefaultExt = "ftpd";
  dialog.Filter = "Raiden ftpd file (*.ftpd)|*.ftpd|All files|*.*";
  dialog.Title = "Where is Raiden's .ftpd file?";
  dialog.Options = ofHideReadOnly | ofNoChangeDir | ofPathMustExist;
  if (!dialog.Execute()) return;
  if (!folderKnown) {
    showError(brindleset::ftpdChangeError(FtpdChange::kBadFolder));
    return;
  }
  FtpdChange change =
      brindleset::changeFtpdFile(dialog.FileName, brindleset::backupNameOf(dialog.FileName),
                                 brindleset::installFolderOf(working));
  if (change == FtpdChange::kChanged) {
    TMBox done(this, brindleset::kFtpdChanged);
    (void)done.ShowModal();  // an information: its one answer changes nothing
    return;
  }
  XString error = brindleset::ftpdChangeError(change);
  if (!error.empty()) showError(error);
}
