#include "programs/brindleset/message_boxes.h"

#include "programs/brindleset/form_builder.h"

using brindleset::addButton;

TMBox* MBox = nullptr;
TYesNoBox* YesNoBox = nullptr;

namespace {

// A read-only text of centred lines that looks like part of the form.
TMemo* addMessage(TForm* form, const XString& message, int width, int height) {
  auto* memo = new TMemo(form, "text");
  memo->SetBounds(8, 8, width - 16, height);
  memo->setReadOnly(true);
  memo->setAlignment(taCenter);
  memo->setBorderStyle(bsNone);
  memo->setTabStop(false);
  memo->setText(message);
  return memo;
}

}  // namespace

TMBox::TMBox(TComponent* owner, const XString& message) : TForm(owner, "MBox") {
  setCaption("Info");
  setClientWidth(241);
  setClientHeight(125);
  setBorderStyle(bsSingle);
  setBorderIcons(0);
  setFormStyle(fsStayOnTop);
  setPosition(poOwnerFormCenter);
  text = addMessage(this, message, 241, 76);
  Button1 = addButton(this, "Button1", "ok", 83, 92, 75);
  Button1->setDefault(true);
  Button1->OnClick = forms::handler(this, &TMBox::Button1Click);
}

void TMBox::Button1Click(TObject* Sender) { setModalResult(1); }

TYesNoBox::TYesNoBox(TComponent* owner, const XString& question) : TForm(owner, "YesNoBox") {
  setCaption("Attention!");
  setClientWidth(225);
  setClientHeight(121);
  setBorderStyle(bsToolWindow);
  setFormStyle(fsStayOnTop);
  setPosition(poOwnerFormCenter);
  text = addMessage(this, question, 225, 72);
  Label1 = new TLabel(this, "Label1");
  Label1->setVisible(false);
  btn_yes = addButton(this, "btn_yes", "Yes", 27, 88, 75);
  btn_yes->OnClick = forms::handler(this, &TYesNoBox::btn_yesClick);
  btn_no = addButton(this, "btn_no", "No", 123, 88, 75);
  btn_no->setDefault(true);
  btn_no->setCancel(true);
  btn_no->OnClick = forms::handler(this, &TYesNoBox::btn_noClick);
  // Enter presses the focused button: the box comes up on the harmless one.
  setActiveControl(btn_no);
}

void TYesNoBox::btn_yesClick(TObject* Sender) { setModalResult(1); }

void TYesNoBox::btn_noClick(TObject* Sender) { setModalResult(2); }
