#include "programs/tunelacer/tpopup.h"

namespace {

// The run's view of the window.
class PopupWindow : public BusyWindow {
 public:
  PopupWindow() : popup_(std::make_unique<Tpopup>(nullptr)) {
    popup_->Show();
    popup_->Repaint();
  }
  ~PopupWindow() override {
    popup_.reset();
    forms::closeWindowSystem();
  }
  PopupWindow(const PopupWindow&) = delete;
  PopupWindow& operator=(const PopupWindow&) = delete;

  void linking(const XString& folder) override {
    popup_->status->setCaption(folder);
    ++popup_->linkedCount;
    popup_->showCount();
  }

 private:
  std::unique_ptr<Tpopup> popup_;
};

}  // namespace

Tpopup::Tpopup(TComponent* owner) : TForm(owner, "popup") {
  setCaption("Brindlecast tunelacer busy");
  setBorderStyle(bsToolWindow);
  setBorderIcons(0);
  setFormStyle(fsStayOnTop);
  setPosition(poDesktopCenter);
  setClientWidth(420);
  setClientHeight(81);

  Label2 = new TLabel(this, "Label2");
  Label2->SetBounds(16, 12, 120, 16);
  Label2->setCaption("linked directorys:");
  num = new TLabel(this, "num");
  num->SetBounds(140, 12, 120, 16);
  num->setCaption("0");
  status = new TLabel(this, "status");
  status->SetBounds(16, 44, 388, 16);
  status->setCaption("cleaning up old directorys...");
}

void Tpopup::showCount() {
  num->setCaption(XString(linkedCount));
  Repaint();
}

std::unique_ptr<BusyWindow> makeBusyPopup() {
  if (!forms::displayAvailable()) return nullptr;
  return std::make_unique<PopupWindow>();
}
