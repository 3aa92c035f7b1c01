#include "programs/brindleset/chmod_popup.h"

#include "programs/brindleset/form_builder.h"

using namespace brindleset;  // NOLINT: the placements read best unqualified

TChmod_popup* Chmod_popup = nullptr;

namespace {

const char* const kRows[] = {"owner user:", "owner group:", "other:"};
const char* const kBoxNames[3][3] = {
    {"our", "ouw", "oux"}, {"ogr", "ogw", "ogx"}, {"or", "ow", "ox"}};
const char* const kColumns[] = {"read", "write", "execute"};
const int kBits[] = {4, 2, 1};

}  // namespace

TChmod_popup::TChmod_popup(TComponent* owner) : TForm(owner, "Chmod_popup") {
  setCaption("chmod settings");
  setClientWidth(509);
  setClientHeight(101);
  setBorderStyle(bsDialog);
  setBorderIcons(0);
  setFormStyle(fsStayOnTop);
  setPosition(poMainFormCenter);

  addLabel(this, "username:", 10, 8, 70);
  username = addEdit(this, "username", 82, 8, 132);
  addLabel(this, "group:", 10, 38, 70);
  group = addEdit(this, "group", 82, 38, 132);
  const int columns[] = {322, 380, 438};
  for (int row = 0; row < 3; ++row) {
    int top = 8 + row * 30;
    addLabel(this, kRows[row], 230, top - 1, 90);
    for (int column = 0; column < 3; ++column) {
      boxes_[row][column] = addCheck(this, kBoxNames[row][column], kColumns[column],
                                     columns[column], top + 1, column == 2 ? 70 : 56);
    }
  }
  Button1 = addButton(this, "Button1", "ok", 82, 70, 66);
  Button1->setDefault(true);
  Button1->OnClick = forms::handler(this, &TChmod_popup::Button1Click);
  Button2 = addButton(this, "Button2", "cancel", 156, 70, 66);
  Button2->setCancel(true);
  Button2->OnClick = forms::handler(this, &TChmod_popup::Button2Click);
}

void TChmod_popup::setPermissionString(const XString& permissions) {
  for (auto& row : boxes_) {
    for (TCheckBox* box : row) box->setChecked(false);
  }
  if (permissions.length() != 3) return;
  for (int row = 0; row < 3; ++row) {
    // The character less '0' as a signed byte: bytes from 0xB0 on come out
    // negative and tick nothing.
    int digit = static_cast<unsigned char>(permissions[row]) - '0';
    if (digit > 127) digit -= 256;
    for (int column = 0; column < 3; ++column) {
      if (digit >= kBits[column]) {
        boxes_[row][column]->setChecked(true);
        digit -= kBits[column];
      }
    }
  }
}

XString TChmod_popup::permissionString() const {
  XString text("000");
  for (int row = 0; row < 3; ++row) {
    int digit = 0;
    for (int column = 0; column < 3; ++column) {
      if (boxes_[row][column]->Checked()) digit += kBits[column];
    }
    text[row] = static_cast<char>('0' + digit);
  }
  return text;
}

void TChmod_popup::Button1Click(TObject* Sender) { setModalResult(2); }

void TChmod_popup::Button2Click(TObject* Sender) { setModalResult(1); }
