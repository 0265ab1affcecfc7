#include "vigas/app/tables.h"

#include <wx/dc.h>
#include <wx/tooltip.h>

#include <functional>

#include "vigas/app/ui_text.h"
#include "common/model_rules.h"
#include "vigas/span_cells.h"

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
    case Table::spans: return "Vanos";
    case Table::loads:
    case Table::spanLoads: break;
  }
  return "Cargas";
}

// A code with its words beside it needs room for them.
bool coded(Table table, int column) {
  switch (table) {
    case Table::header: return column == 2;
    case Table::bars: return column == common::kBarType;
    case Table::supports: return column == 1;
    case Table::loads: return column == 1 || column == 6;
    case Table::spans: return column == kSpanLeft || column == kSpanRight;
    case Table::spanLoads: return column == kOnPiece || column == kLoadKind || column == kLoadDir;
    default: return false;
  }
}

std::vector<std::string> splitted(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

const wxColour& faultColour() {
  static const wxColour colour(255, 196, 196);
  return colour;
}

const wxColour& noticeColour() {
  static const wxColour colour(255, 236, 160);
  return colour;
}

wxString tableLabel(const Content& content, Table table, int loadCase) {
  if (!perCase(table)) return tableName(table);
  return "Cargas: " + fromCp1252(content.cases[static_cast<size_t>(loadCase)].name);
}

TablePage::TablePage(wxWindow* parent, const Document& document, Table table, int loadCase)
    : wxGrid(parent, wxID_ANY), document_(document), table_(table), loadCase_(loadCase) {
  const std::vector<Column>& columns = columnsOf(table);
  CreateGrid(0, static_cast<int>(columns.size()));
  SetRowLabelSize(48);
  EnableDragRowSize(false);
  for (size_t c = 0; c < columns.size(); ++c) {
    const int column = static_cast<int>(c);
    if (coded(table, column)) {
      auto* attr = new wxGridCellAttr;
      attr->SetRenderer(
          new WordsRenderer([this](int row, int col) { return fromCp1252(document_.cellWords(placeAt(row, col))); }));
      SetColAttr(column, attr);
      SetColSize(column, table == Table::spanLoads && column == kLoadDir ? 130 : 230);
    } else {
      SetColSize(column, columns[c].kind == CellKind::word ? 200 : 100);
    }
    if (hiddenColumn(table, column)) HideCol(column);
  }
  GetGridColLabelWindow()->Bind(wxEVT_MOTION, &TablePage::showColumnTip, this);
  refresh();
}

void TablePage::showColumnTip(wxMouseEvent& event) {
  event.Skip();
  int x = 0, y = 0;
  CalcUnscrolledPosition(event.GetX(), 0, &x, &y);
  const int column = XToCol(x);
  if (column == tipColumn_) return;
  tipColumn_ = column;
  const std::string tip = column >= 0 ? columnTip(table_, column) : "";
  GetGridColLabelWindow()->SetToolTip(tip.empty() ? wxString() : fromCp1252(tip));
}

void TablePage::refresh() {
  const int rows = document_.rowCount(table_, loadCase_);
  if (GetNumberRows() < rows) AppendRows(rows - GetNumberRows());
  if (GetNumberRows() > rows) DeleteRows(rows, GetNumberRows() - rows);
  const int columns = GetNumberCols();
  const std::vector<Column>& titles = columnsOf(table_);
  for (int c = 0; c < columns; ++c) {
    const std::string unit = columnUnit(table_, c, document_.unitCode());
    SetColLabelValue(c, fromCp1252(titles[static_cast<size_t>(c)].title + (unit.empty() ? "" : " (" + unit + ")")));
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const CellPlace place = placeAt(r, c);
      SetCellValue(r, c, fromCp1252(document_.cellText(place)));
      const bool inUse = document_.cellInUse(place);
      SetReadOnly(r, c, !inUse);
      SetCellBackgroundColour(r, c, inUse ? GetDefaultCellBackgroundColour() : kUnusedColour);
    }
  }
  for (const std::vector<CellError>* list : {&document_.notices(), &document_.errors()}) {
    for (const CellError& error : *list) {
      const CellPlace& at = error.place;
      if (at.table != table_ || (perCase(table_) && at.loadCase != loadCase_)) continue;
      if (at.row < 1 || at.row > rows) continue;
      for (int c = 0; c < columns; ++c)
        if (at.column < 0 || at.column == c)
          SetCellBackgroundColour(at.row - 1, c, list == &document_.errors() ? faultColour() : noticeColour());
    }
  }
  ForceRefresh();
}

std::string TablePage::tableFault() const {
  for (const CellError& error : document_.errors())
    if (error.place.table == table_ && error.place.row == 0 && (!perCase(table_) || error.place.loadCase == loadCase_))
      return error.reason;
  return "";
}

TablePage::Block TablePage::selectedBlock() const {
  const wxGridBlocks blocks = GetSelectedBlocks();
  for (const wxGridBlockCoords& b : blocks) return {b.GetTopRow(), b.GetLeftCol(), b.GetBottomRow(), b.GetRightCol()};
  const int row = GetGridCursorRow(), column = GetGridCursorCol();
  if (row < 0 || column < 0) return {};
  return {row, column, row, column};
}

std::vector<int> TablePage::selectedRows() const {
  const Block block = selectedBlock();
  std::vector<int> rows;
  for (int r = block.top; r <= block.bottom; ++r) rows.push_back(r);
  return rows;
}

std::string TablePage::blockText(const Block& block) const {
  std::string text;
  for (int r = block.top; r <= block.bottom; ++r) {
    bool first = true;
    for (int c = block.left; c <= block.right; ++c) {
      if (hiddenColumn(table_, c)) continue;
      const CellPlace place = placeAt(r, c);
      text += (first ? "" : "\t") + (document_.cellInUse(place) ? document_.cellText(place) : std::string());
      first = false;
    }
    text += "\n";
  }
  return text;
}

std::string TablePage::pastedCells(const std::string& pasted, std::vector<Document::CellText>& cells,
                                   int& rowsNeeded) const {
  std::string text;
  for (char c : pasted)
    if (c != '\r') text += c;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  if (text.empty()) return "no hay nada que pegar";
  const std::vector<std::string> lines = splitted(text, '\n');
  std::vector<int> visible;
  for (int c = std::max(0, GetGridCursorCol()); c < GetNumberCols(); ++c)
    if (!hiddenColumn(table_, c)) visible.push_back(c);
  const int top = std::max(0, GetGridCursorRow());
  rowsNeeded = top + static_cast<int>(lines.size());
  if (table_ == Table::header && rowsNeeded > 1) return "la tabla General tiene una sola fila";
  for (size_t r = 0; r < lines.size(); ++r) {
    const std::vector<std::string> values = splitted(lines[r], '\t');
    if (values.size() > visible.size())
      return "el bloque tiene " + std::to_string(values.size()) + " columnas y desde la celda elegida hay " +
             std::to_string(visible.size());
    for (size_t k = 0; k < values.size(); ++k)
      if (!values[k].empty()) cells.push_back({placeAt(top + static_cast<int>(r), visible[k]), values[k]});
  }
  return "";
}

}  // namespace vigas::app
