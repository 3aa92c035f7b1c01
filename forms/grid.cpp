#include "forms/grid.h"

#include <QHeaderView>
#include <QTableWidget>

#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::toQ;

namespace {

QTableWidget* tableOf(const TStringGrid* grid) {
  return static_cast<QTableWidget*>(grid->widget());
}

// Data rows exist but none is current (Qt starts so): the first becomes it.
void keepCurrentRow(QTableWidget* table) {
  if (table->rowCount() > 0 && table->columnCount() > 0 && table->currentRow() < 0) {
    table->setCurrentCell(0, 0);
  }
}

}  // namespace

TStringGrid::TStringGrid(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QTableWidget(clientOf(parent))) {
  QTableWidget* table = tableOf(this);
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table->horizontalHeader()->setSectionsClickable(false);
}

int TStringGrid::ColCount() const { return tableOf(this)->columnCount(); }

void TStringGrid::setColCount(int count) {
  QTableWidget* table = tableOf(this);
  table->setColumnCount(count > 0 ? count : 0);
  keepCurrentRow(table);
}

int TStringGrid::RowCount() const { return tableOf(this)->rowCount() + 1; }

void TStringGrid::setRowCount(int count) {
  QTableWidget* table = tableOf(this);
  table->setRowCount(count > 1 ? count - 1 : 0);
  keepCurrentRow(table);
}

void TStringGrid::setColWidths(int col, int width) { tableOf(this)->setColumnWidth(col, width); }

void TStringGrid::setDefaultRowHeight(int height) {
  QHeaderView* rows = tableOf(this)->verticalHeader();
  rows->setMinimumSectionSize(0);
  rows->setDefaultSectionSize(height);
}

XString TStringGrid::Cells(int col, int row) const {
  QTableWidget* table = tableOf(this);
  if (col < 0 || col >= table->columnCount() || row < 0 || row > table->rowCount()) {
    return XString();
  }
  QTableWidgetItem* item = row == 0 ? table->horizontalHeaderItem(col) : table->item(row - 1, col);
  return item ? fromQ(item->text()) : XString();
}

void TStringGrid::setCells(int col, int row, const XString& text) {
  QTableWidget* table = tableOf(this);
  if (col < 0 || col >= table->columnCount() || row < 0 || row > table->rowCount()) return;
  if (row == 0) {
    table->setHorizontalHeaderItem(col, new QTableWidgetItem(toQ(text)));
    return;
  }
  if (QTableWidgetItem* item = table->item(row - 1, col)) {
    item->setText(toQ(text));
  } else {
    table->setItem(row - 1, col, new QTableWidgetItem(toQ(text)));
  }
}

int TStringGrid::Row() const {
  int current = tableOf(this)->currentRow();
  return current >= 0 ? current + 1 : 1;
}

void TStringGrid::setRow(int row) {
  QTableWidget* table = tableOf(this);
  if (row >= 1 && row <= table->rowCount()) table->setCurrentCell(row - 1, 0);
}

TGridRect TStringGrid::Selection() const {
  int row = Row();
  return TGridRect{0, row, ColCount() - 1, row};
}
