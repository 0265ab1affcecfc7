#pragma once
// One table of the beam as a grid: a row per item, a column per value in file
// order. Codes show their words beside them; cells that break a rule are
// coloured, values a support's code does not take are greyed and locked.
#include <wx/grid.h>

#include <algorithm>
#include <string>

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

 private:
  const Document& document_;
  Table table_;
  int loadCase_;
};

// The background of a cell, or of a field being typed, that breaks a rule.
const wxColour& faultColour();

// The tab's label of a table.
wxString tableLabel(const Content& content, Table table, int loadCase);

}  // namespace vigas::app
