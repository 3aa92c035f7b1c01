#include "forms/pages.h"

#include <gtest/gtest.h>

#include "forms/form.h"

namespace {

TEST(FormsPageControl, PagesInOrderAndTheActiveOne) {
  TForm form(nullptr, "form");
  auto* pages = new TPageControl(&form, "modules_pages");
  EXPECT_EQ(pages->ActivePage(), nullptr);
  auto* general = new TTabSheet(pages, "modules_general");
  general->setCaption("general");
  auto* racer = new TTabSheet(pages, "modules_racer");
  racer->setCaption("racer");
  EXPECT_EQ(pages->ActivePage(), general);
  pages->setActivePage(racer);
  EXPECT_EQ(pages->ActivePage(), racer);
  EXPECT_EQ(racer->Caption(), "racer");

  // A page of another control is not this one's to show.
  auto* inner = new TPageControl(racer, "racer_pages");
  auto* sfv = new TTabSheet(inner, "racer_sfv");
  pages->setActivePage(sfv);
  EXPECT_EQ(pages->ActivePage(), racer);
  EXPECT_EQ(inner->ActivePage(), sfv);
  EXPECT_EQ(form.FindComponent("racer_sfv"), sfv);

  delete general;
  EXPECT_EQ(pages->ActivePage(), racer);
  EXPECT_EQ(racer->Caption(), "racer");
}

}  // namespace
