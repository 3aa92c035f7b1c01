#include "forms/grid.h"

#include <gtest/gtest.h>

#include "forms/form.h"

namespace {

TEST(FormsStringGrid, HeaderRowCellsAndTheCurrentRow) {
  TForm form(nullptr, "form");
  auto* grid = new TStringGrid(&form, "grid");
  grid->setColCount(4);
  grid->setRowCount(1);
  EXPECT_EQ(grid->RowCount(), 1);
  grid->setCells(0, 0, "section name");
  grid->setCells(3, 0, "description");
  EXPECT_EQ(grid->Cells(0, 0), "section name");
  EXPECT_EQ(grid->Cells(1, 0), "");

  grid->setRowCount(3);
  grid->setCells(0, 1, "default");
  grid->setCells(0, 2, "mp3");
  grid->setCells(4, 1, "outside");
  grid->setCells(0, 3, "outside");
  EXPECT_EQ(grid->Cells(0, 2), "mp3");
  EXPECT_EQ(grid->Cells(4, 1), "");
  EXPECT_EQ(grid->Cells(0, 3), "");
  EXPECT_EQ(grid->Cells(-1, -1), "");
  // The first data row is current until another is chosen.
  EXPECT_EQ(grid->Row(), 1);
  grid->setRow(2);
  EXPECT_EQ(grid->Selection().Top, 2);
  EXPECT_EQ(grid->Selection().Bottom, 2);
  EXPECT_EQ(grid->Selection().Right, 3);
  grid->setRow(0);  // the header row is never current
  EXPECT_EQ(grid->Row(), 2);

  // Fewer rows: the current row moves into what is left, the header stays.
  grid->setRowCount(2);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Cells(0, 1), "default");
  grid->setRowCount(0);
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(grid->Cells(0, 0), "section name");
  grid->setRowCount(2);
  EXPECT_EQ(grid->Cells(0, 1), "");
}

}  // namespace
