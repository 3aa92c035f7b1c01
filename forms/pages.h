// Page controls and their pages.
#ifndef FORMS_PAGES_H_
#define FORMS_PAGES_H_

#include "forms/component.h"

class TTabSheet;

// A stack of pages with a tab for each; one page, the active one, shows.
class TPageControl : public TWinControl {
 public:
  TPageControl(TWinControl* parent, const XString& name);
  // Null while the control has no page.
  TTabSheet* ActivePage() const;
  void setActivePage(TTabSheet* page);
};

// One page of a page control, holding controls; its caption is its tab's
// text. Pages appear in the order they are made.
class TTabSheet : public TWinControl {
 public:
  TTabSheet(TPageControl* pageControl, const XString& name);
  XString Caption() const;
  void setCaption(const XString& caption);
};

#endif  // FORMS_PAGES_H_
