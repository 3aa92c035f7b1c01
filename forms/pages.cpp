#include "forms/pages.h"

#include <QTabWidget>

#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::toQ;

namespace {

QTabWidget* tabsOf(const TWinControl* pageControl) {
  return static_cast<QTabWidget*>(pageControl->widget());
}

}  // namespace

TPageControl::TPageControl(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QTabWidget(clientOf(parent))) {}

TTabSheet* TPageControl::ActivePage() const {
  QWidget* page = tabsOf(this)->currentWidget();
  return page ? dynamic_cast<TTabSheet*>(forms::glue::controlOf(page)) : nullptr;
}

void TPageControl::setActivePage(TTabSheet* page) {
  if (page && page->Parent() == this) tabsOf(this)->setCurrentWidget(page->widget());
}

TTabSheet::TTabSheet(TPageControl* pageControl, const XString& name)
    : TWinControl(pageControl, pageControl, name, new QWidget(clientOf(pageControl))) {
  tabsOf(pageControl)->addTab(widget(), QString());
}

XString TTabSheet::Caption() const {
  QTabWidget* tabs = tabsOf(Parent());
  return fromQ(tabs->tabText(tabs->indexOf(widget())));
}

void TTabSheet::setCaption(const XString& caption) {
  QTabWidget* tabs = tabsOf(Parent());
  tabs->setTabText(tabs->indexOf(widget()), toQ(caption));
}
