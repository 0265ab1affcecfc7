#pragma once
// One table of the beam as a grid: a row per item, a column per value in file
// order (the columns nobody uses hidden), each heading with its unit and a
// tooltip saying its codes and signs. Codes show their words beside them;
// cells that break a rule are coloured, those worth a look (notices) too,
// values a row's code does not take are greyed and locked. Blocks of cells
// go to and come from the clipboard as tab-separated text, as a
// spreadsheet's.
#include <wx/grid.h>

#include <algorithm>
#include <string>
#include <vector>

#include "vigas/document.h"

namespace vigas::app {

class TablePage : public wxGrid {
 public:
  TablePage(wxWindow* parent, const Document& document, Table table, int loadCase);

  Table table() const { return table_; }
  int loadCase() const { return loadCase_; }
  CellPlace placeAt(int gridRow, int gridColumn) const { return {table_, gridRow + 1, gridColumn, loadCase_}; }
  // The grid row of the cursor, -1 when there are no rows.
  int cursorRow() const { return GetNumberRows() > 0 ? std::max(0, GetGridCursorRow()) : -1; }

  // Rows, texts, words and colours from the document as it is now.
  void refresh();
  // Whether the table as a whole breaks a rule (its errors on row 0).
  std::string tableFault() const;

  // The selected block of cells, or the cursor's cell (grid rows and columns).
  struct Block {
    int top = 0, left = 0, bottom = -1, right = -1;
  };
  Block selectedBlock() const;
  // The rows the selection touches, or the cursor's.
  std::vector<int> selectedRows() const;
  // The block as tab-separated text, a line per row, without the hidden
  // columns; a cell that takes no value is empty.
  std::string blockText(const Block& block) const;

  // Tab-separated text pasted at the cursor: each value with its cell (the
  // visible columns from the cursor's on), and how many rows the table
  // needs for it; "" or why it cannot go there.
  std::string pastedCells(const std::string& text, std::vector<Document::CellText>& cells, int& rowsNeeded) const;

 private:
  void showColumnTip(wxMouseEvent& event);

  const Document& document_;
  Table table_;
  int loadCase_;
  int tipColumn_ = -1;
};

// The background of a cell, or of a field being typed, that breaks a rule;
// and of a cell worth a look.
const wxColour& faultColour();
const wxColour& noticeColour();

// The tab's label of a table.
wxString tableLabel(const Content& content, Table table, int loadCase);

}  // namespace vigas::app
