// The main window's tables as a spreadsheet: rows added and deleted, blocks
// of cells to and from the clipboard, a typed value checked before the cell
// takes it, and the keys that act whatever has the focus.
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/grid.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "vigas/app/commands.h"
#include "vigas/app/frame.h"
#include "vigas/app/picture.h"
#include "vigas/app/tables.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

namespace {

// The page a window belongs to, if any.
TablePage* pageOf(wxWindow* window) {
  for (; window; window = window->GetParent())
    if (auto* page = dynamic_cast<TablePage*>(window)) return page;
  return nullptr;
}

// The text field of the cell's editor, if it is one. The grid hands out a
// reference to the editor: kept, the editor would outlive the grid with its
// handler still pushed on the field.
wxTextCtrl* editorField(wxGrid* page, int row, int column) {
  const wxGridCellEditorPtr editor(page->GetCellEditor(row, column));
  return editor ? dynamic_cast<wxTextCtrl*>(editor->GetControl()) : nullptr;
}

}  // namespace

void MainFrame::selectRow(const CellPlace& row) {
  for (size_t k = 0; k < pages_.size(); ++k) {
    TablePage* page = pages_[k];
    if (page->table() != row.table || (perCase(row.table) && page->loadCase() != row.loadCase)) continue;
    goToPage(k);
    if (row.row >= 1 && row.row <= page->GetNumberRows()) {
      page->SetGridCursor(row.row - 1, std::max(0, page->GetGridCursorCol()));
      page->MakeCellVisible(row.row - 1, 0);
      page->SelectRow(row.row - 1);
    }
    return;
  }
}

bool MainFrame::commitEdits() {
  for (TablePage* page : pages_) {
    if (!page->IsCellEditControlEnabled()) continue;
    const int row = page->GetGridCursorRow(), column = page->GetGridCursorCol();
    wxTextCtrl* field = editorField(page, row, column);
    if (field) {
      const EditResult tried = document_.tryCell(page->placeAt(row, column), toCp1252(field->GetValue()));
      if (!tried.done) {
        SetStatusText(fromCp1252("No se acepta lo escrito: " + tried.reason + " (corr\xEDjalo, o Esc lo deshace)."), 0);
        field->SetFocus();
        return false;
      }
    }
    page->SaveEditControlValue();
    page->HideCellEditControl();
    page->DisableCellEditControl();
  }
  return true;
}

void MainFrame::onCellChanging(wxGridEvent& event) {
  auto* page = dynamic_cast<TablePage*>(event.GetEventObject());
  if (refreshing_ || !page) return;
  const int row = event.GetRow(), column = event.GetCol();
  const std::string typed = toCp1252(event.GetString());
  const EditResult tried = document_.tryCell(page->placeAt(row, column), typed);
  if (tried.done) return;
  // The value stays where it was typed, marked, until it is mended or Esc
  // takes it back: never dropped unseen.
  event.Veto();
  SetStatusText(fromCp1252("No se acepta: " + tried.reason + " (corr\xEDjalo, o Esc lo deshace)."), 0);
  CallAfter([page, row, column, typed] {
    page->SetGridCursor(row, column);
    page->EnableCellEditControl();
    if (wxTextCtrl* field = editorField(page, row, column)) {
      field->ChangeValue(fromCp1252(typed));
      field->SetInsertionPointEnd();
      field->SetBackgroundColour(faultColour());
    }
  });
}

void MainFrame::onRow(int what) {
  if (!commitEdits()) return;
  TablePage* page = currentPage();
  if (!page) return;
  if (page->table() == Table::header) {
    SetStatusText("La tabla General tiene una sola fila.", 0);
    return;
  }
  const int cursor = page->cursorRow();
  const int column = std::max(0, page->GetGridCursorCol());
  EditResult result;
  int target = 0;  // grid row the cursor goes to
  if (what == kDeleteRow) {
    if (cursor < 0) return;
    std::vector<int> rows = page->selectedRows();
    for (int& row : rows) ++row;
    result = document_.deleteRows(page->table(), rows, page->loadCase());
    target =
        std::min(rows.empty() ? cursor : rows.front() - 1, document_.rowCount(page->table(), page->loadCase()) - 1);
    if (result.done) page->ClearSelection();
  } else {
    const int row = what == kAppendRow || cursor < 0 ? page->GetNumberRows() + 1 : cursor + 1;
    result = document_.insertRow(page->table(), row, page->loadCase());
    target = row - 1;
  }
  afterEdit(result.done ? "" : "No se hace: " + result.reason);
  if (target >= 0 && target < page->GetNumberRows()) {
    page->SetGridCursor(target, what == kDeleteRow ? column : 0);
    page->MakeCellVisible(target, 0);
  }
  page->SetFocus();
}

void MainFrame::onCopy(bool cut) {
  if (auto* field = dynamic_cast<wxTextCtrl*>(FindFocus())) {
    if (cut)
      field->Cut();
    else
      field->Copy();
    return;
  }
  TablePage* page = currentPage();
  if (!page || !commitEdits()) return;
  const TablePage::Block block = page->selectedBlock();
  if (block.bottom < block.top) return;
  if (!wxTheClipboard->Open()) {
    SetStatusText("No se puede usar el portapapeles.", 0);
    return;
  }
  wxTheClipboard->SetData(new wxTextDataObject(fromCp1252(page->blockText(block))));
  wxTheClipboard->Close();
  const int rows = block.bottom - block.top + 1;
  std::string status = "Copiadas " + std::to_string(rows) + " fila(s) de " +
                       std::to_string(block.right - block.left + 1) + " columna(s), separadas por tabuladores.";
  if (cut && page->table() == Table::header) {
    status = "La fila de la tabla General no se corta: se ha copiado.";
  } else if (cut) {
    std::vector<int> numbers;
    for (int r = block.top; r <= block.bottom; ++r) numbers.push_back(r + 1);
    const EditResult result = document_.deleteRows(page->table(), numbers, page->loadCase());
    page->ClearSelection();
    status = result.done ? "Cortadas " + std::to_string(rows) + " fila(s): en el portapapeles." : result.reason;
  }
  afterEdit(status, cut);
}

void MainFrame::onPaste() {
  if (auto* field = dynamic_cast<wxTextCtrl*>(FindFocus())) {
    field->Paste();
    return;
  }
  TablePage* page = currentPage();
  if (!page || !commitEdits()) return;
  wxTextDataObject data;
  if (!wxTheClipboard->Open()) {
    SetStatusText("No se puede usar el portapapeles.", 0);
    return;
  }
  const bool read = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data);
  wxTheClipboard->Close();
  if (!read) {
    SetStatusText("El portapapeles no tiene texto que pegar.", 0);
    return;
  }
  std::vector<Document::CellText> cells;
  int rows = 0;
  std::string refusal = page->pastedCells(toCp1252(data.GetText()), cells, rows);
  CellPlace refused{page->table(), 0, 0, page->loadCase()};
  if (refusal.empty()) {
    const EditResult result = document_.pasteCells(page->table(), page->loadCase(), rows, cells, &refused);
    if (!result.done) refusal = result.reason;
  }
  if (!refusal.empty()) {
    std::string where;
    if (refused.row > 0)
      where = " (fila " + std::to_string(refused.row) + ", " +
              columnsOf(refused.table)[static_cast<size_t>(refused.column)].title + ")";
    afterEdit("No se pega nada: " + refusal + where, false);
    if (refused.row > 0 && refused.row <= page->GetNumberRows()) page->SetGridCursor(refused.row - 1, refused.column);
    return;
  }
  afterEdit("Pegadas " + std::to_string(cells.size()) + " celdas.");
}

void MainFrame::onKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode(), modifiers = event.GetModifiers();
  TablePage* page = pageOf(FindFocus());
  const bool inTable = page && !page->IsCellEditControlShown();
  int command = 0;
  if (modifiers == wxMOD_NONE) {
    // The analyses: whatever has the focus (a grid or a field would keep them).
    const std::pair<int, int> keys[] = {{WXK_F5, kAnalyse}, {WXK_F6, kEnvelope},  {WXK_F7, kReport},
                                        {WXK_F8, kDesign},  {WXK_F3, kSpansView}, {WXK_F4, kBarsView}};
    for (const auto& [k, c] : keys)
      if (key == k) command = c;
  } else if (modifiers == wxMOD_CONTROL) {
    if (key == WXK_PAGEDOWN || key == WXK_NUMPAD_PAGEDOWN)
      command = kNextTable;
    else if (key == WXK_PAGEUP || key == WXK_NUMPAD_PAGEUP)
      command = kPreviousTable;
    else if (inTable && (key == WXK_DELETE || key == WXK_NUMPAD_DELETE))
      command = kDeleteRow;
    else if (inTable && key == 'C')
      command = wxID_COPY;
    else if (inTable && key == 'X')
      command = wxID_CUT;
    else if (inTable && key == 'V')
      command = wxID_PASTE;
  }
  if (command == 0) {
    event.Skip();
    return;
  }
  wxCommandEvent menu(wxEVT_MENU, command);
  menu.SetEventObject(this);
  ProcessWindowEvent(menu);
}

}  // namespace vigas::app
