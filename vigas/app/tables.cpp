#include "vigas/app/tables.h"

#include <wx/dc.h>

#include <functional>

#include "vigas/app/ui_text.h"

namespace vigas::app {

namespace {

const wxColour kUnusedColour(225, 225, 225);

// A code cell: the code as typed, then its words in grey; the editor edits
// the code only.
class WordsRenderer : public wxGridCellStringRenderer {
 public:
  explicit WordsRenderer(std::function<wxString(int, int)> words) : words_(std::move(words)) {}

  void Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
            bool isSelected) override {
    wxGridCellRenderer::Draw(grid, attr, dc, rect, row, col, isSelected);
    SetTextColoursAndFont(grid, attr, dc, isSelected);
    const wxString code = grid.GetCellValue(row, col);
    wxRect area = rect;
    area.Deflate(2, 0);
    grid.DrawTextRectangle(dc, code, area, wxALIGN_LEFT, wxALIGN_CENTRE);
    const wxString words = words_(row, col);
    if (words.empty()) return;
    const int skip = dc.GetTextExtent(code + "  ").GetWidth();
    area.x += skip;
    area.width -= skip;
    if (!isSelected) dc.SetTextForeground(wxColour(90, 90, 140));
    grid.DrawTextRectangle(dc, words, area, wxALIGN_LEFT, wxALIGN_CENTRE);
  }

  wxSize GetBestSize(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, int row, int col) override {
    dc.SetFont(attr.GetFont());
    return dc.GetTextExtent(grid.GetCellValue(row, col) + "  " + words_(row, col) + "  ");
  }

  wxGridCellRenderer* Clone() const override { return new WordsRenderer(words_); }

 private:
  std::function<wxString(int, int)> words_;
};

const char* tableName(Table table) {
  switch (table) {
    case Table::header: return "General";
    case Table::nodes: return "Nudos";
    case Table::bars: return "Barras";
    case Table::sections: return "Secciones";
    case Table::materials: return "Materiales";
    case Table::supports: return "Apoyos";
    case Table::ties: return "Enlaces";
    case Table::nodalLoads: return "Cargas en nudos";
    case Table::loads: break;
  }
  return "Cargas";
}

}  // namespace

const wxColour& faultColour() {
  static const wxColour colour(255, 196, 196);
  return colour;
}

wxString tableLabel(const Content& content, Table table, int loadCase) {
  if (table != Table::loads) return tableName(table);
  return "Cargas: " + fromCp1252(content.cases[static_cast<size_t>(loadCase)].name);
}

TablePage::TablePage(wxWindow* parent, const Document& document, Table table, int loadCase)
    : wxGrid(parent, wxID_ANY), document_(document), table_(table), loadCase_(loadCase) {
  const std::vector<Column>& columns = columnsOf(table);
  CreateGrid(0, static_cast<int>(columns.size()));
  SetRowLabelSize(48);
  EnableDragRowSize(false);
  for (size_t c = 0; c < columns.size(); ++c) {
    SetColLabelValue(static_cast<int>(c), fromCp1252(columns[c].title));
    // A code with its words beside it needs room for them.
    const bool coded = (table == Table::header && c == 2) || (table == Table::bars && c == 5) ||
                       (table == Table::supports && c == 1) || (table == Table::loads && (c == 1 || c == 6));
    if (coded) {
      auto* attr = new wxGridCellAttr;
      attr->SetRenderer(new WordsRenderer([this](int row, int col) {
        return fromCp1252(cellWords(document_.content(), placeAt(row, col)));
      }));
      SetColAttr(static_cast<int>(c), attr);
      SetColSize(static_cast<int>(c), 230);
    } else {
      SetColSize(static_cast<int>(c), columns[c].kind == CellKind::word ? 200 : 90);
    }
  }
  refresh();
}

void TablePage::refresh() {
  const Content& content = document_.content();
  const int rows = rowCount(content, table_, loadCase_);
  if (GetNumberRows() < rows) AppendRows(rows - GetNumberRows());
  if (GetNumberRows() > rows) DeleteRows(rows, GetNumberRows() - rows);
  const int columns = GetNumberCols();
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const CellPlace place = placeAt(r, c);
      SetCellValue(r, c, fromCp1252(cellText(content, place)));
      const bool inUse = cellInUse(content, place);
      SetReadOnly(r, c, !inUse);
      SetCellBackgroundColour(r, c, inUse ? GetDefaultCellBackgroundColour() : kUnusedColour);
    }
  }
  for (const CellError& error : document_.errors()) {
    const CellPlace& at = error.place;
    if (at.table != table_ || (table_ == Table::loads && at.loadCase != loadCase_)) continue;
    if (at.row < 1 || at.row > rows) continue;
    for (int c = 0; c < columns; ++c)
      if (at.column < 0 || at.column == c) SetCellBackgroundColour(at.row - 1, c, faultColour());
  }
  ForceRefresh();
}

std::string TablePage::tableFault() const {
  for (const CellError& error : document_.errors())
    if (error.place.table == table_ && error.place.row == 0 &&
        (table_ != Table::loads || error.place.loadCase == loadCase_))
      return error.reason;
  return "";
}

}  // namespace vigas::app
