// The grid of texts.
#ifndef FORMS_GRID_H_
#define FORMS_GRID_H_

#include "forms/component.h"

// A rectangle of cells: columns Left..Right, rows Top..Bottom.
struct TGridRect {
  int Left;
  int Top;
  int Right;
  int Bottom;
};

// A read-only grid of texts whose row 0 is a fixed header row; there is no
// fixed column. Rows are selected whole, one at a time, and columns can be
// resized. RowCount counts the header row; while data rows exist one of
// them is the current row (the first, until another is chosen).
class TStringGrid : public TWinControl {
 public:
  TStringGrid(TWinControl* parent, const XString& name);
  int ColCount() const;
  void setColCount(int count);
  int RowCount() const;
  // At least 1: the header row stays.
  void setRowCount(int count);
  void setColWidths(int col, int width);
  void setDefaultRowHeight(int height);
  // A cell outside the grid reads as an empty text and is not written.
  XString Cells(int col, int row) const;
  void setCells(int col, int row, const XString& text);
  // The current row, counted with the header; 1 when there is no data row.
  int Row() const;
  void setRow(int row);
  TGridRect Selection() const;
};

#endif  // FORMS_GRID_H_
