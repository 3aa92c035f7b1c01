// The utility's two small modal boxes: an information with one button and
// a yes/no question.
#ifndef PROGRAMS_BRINDLESET_MESSAGE_BOXES_H_
#define PROGRAMS_BRINDLESET_MESSAGE_BOXES_H_

#include "forms/forms.h"

// "Info": a text and an "ok" button, which gives the result 1.
class TMBox : public TForm {
 public:
  explicit TMBox(TComponent* owner, const XString& message = XString());

  void Button1Click(TObject* Sender);

  TMemo* text = nullptr;
  TButton* Button1 = nullptr;
};

// "Attention!": a question answered "Yes" (result 1) or "No" (result 2).
// Enter and Esc both answer "No"; closing the box by its frame gives 0,
// which no caller takes for a yes.
class TYesNoBox : public TForm {
 public:
  explicit TYesNoBox(TComponent* owner, const XString& question = XString());

  void btn_yesClick(TObject* Sender);
  void btn_noClick(TObject* Sender);

  TMemo* text = nullptr;
  TLabel* Label1 = nullptr;
  TButton* btn_yes = nullptr;
  TButton* btn_no = nullptr;
};

extern TMBox* MBox;
extern TYesNoBox* YesNoBox;

#endif  // PROGRAMS_BRINDLESET_MESSAGE_BOXES_H_
