#include "vigas/app/frame.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "common/file_names.h"
#include "common/page_viewer.h"
#include "guicommon/about_box.h"
#include "guicommon/guide.h"
#include "guicommon/menus.h"
#include "vigas/analysis.h"
#include "vigas/app/beam_dialog.h"
#include "vigas/app/commands.h"
#include "vigas/app/design.h"
#include "vigas/app/envelope.h"
#include "vigas/app/picture.h"
#include "vigas/app/results.h"
#include "vigas/app/tables.h"
#include "vigas/app/ui_text.h"
#include "vigas/project_files.h"

namespace vigas::app {

namespace {

// Asks for a load case's name, checking it as it is typed: the reason shows
// under the field and OK waits until the name is one the case can take.
wxString askCaseName(wxWindow* parent, const wxString& title, const wxString& prompt, const wxString& initial,
                     const std::function<std::string(const std::string&)>& refusal) {
  wxDialog dialog(parent, wxID_ANY, title);
  auto* field = new wxTextCtrl(&dialog, wxID_ANY, initial, wxDefaultPosition, wxSize(320, -1));
  auto* reason = new wxStaticText(&dialog, wxID_ANY, "");
  reason->SetForegroundColour(wxColour(160, 0, 0));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(&dialog, wxID_ANY, prompt), 0, wxALL, 8);
  sizer->Add(field, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
  sizer->Add(reason, 0, wxEXPAND | wxALL, 8);
  auto* buttons = new wxStdDialogButtonSizer;
  auto* ok = new wxButton(&dialog, wxID_OK, "Aceptar");
  ok->SetDefault();
  buttons->AddButton(ok);
  buttons->AddButton(new wxButton(&dialog, wxID_CANCEL, "Cancelar"));
  buttons->Realize();
  sizer->Add(buttons, 0, wxEXPAND | wxALL, 8);
  dialog.SetSizerAndFit(sizer);
  auto check = [&] {
    const std::string why = refusal(toCp1252(field->GetValue()));
    reason->SetLabel(fromCp1252(why));
    reason->Wrap(field->GetSize().GetWidth());
    field->SetBackgroundColour(why.empty() ? wxNullColour : faultColour());
    field->Refresh();
    ok->Enable(why.empty());
    dialog.GetSizer()->Fit(&dialog);
  };
  field->Bind(wxEVT_TEXT, [&](wxCommandEvent&) { check(); });
  check();
  field->SetFocus();
  field->SelectAll();
  return dialog.ShowModal() == wxID_OK ? field->GetValue() : wxString();
}

const Table kModelTables[] = {Table::header,    Table::nodes,    Table::bars, Table::sections,
                              Table::materials, Table::supports, Table::ties, Table::nodalLoads};
// The spans view: the beam's own tables, then each case's loads along it.
const Table kSpanTables[] = {Table::header, Table::spans, Table::sections, Table::materials};

// Where the list of recent beams is kept between sessions.
std::string recentFilesPath() {
  std::string folder;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    folder = config;
  else if (const char* home = std::getenv("HOME"))
    folder = std::string(home) + "/.config";
  return folder.empty() ? "" : folder + "/vigas/recientes";
}

wxString emDash() { return wxString::FromUTF8("\xE2\x80\x94"); }

}  // namespace

MainFrame::MainFrame() : wxFrame(nullptr, wxID_ANY, "vigas", wxDefaultPosition, wxSize(1200, 900)) {
  if (const std::string path = recentFilesPath(); !path.empty()) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    recent_ = RecentFiles::fromText(text.str());
  }
  buildMenus();
  CreateStatusBar(2);
  const int widths[] = {-1, 200};
  GetStatusBar()->SetStatusWidths(2, widths);

  // Never larger than the screen: the results page fits the window.
  const wxRect screen = wxGetClientDisplayRect();
  SetSize(std::min(GetSize().x, screen.width), std::min(GetSize().y, screen.height));
  auto* split = split_ =
      new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3D);
  tables_ = new wxNotebook(split, wxID_ANY);
  lower_ = new wxNotebook(split, wxID_ANY);
  picture_ = new ModelPicture(lower_, document_, [this](const CellPlace& row) { selectRow(row); });
  results_ = new ResultsPanel(lower_);
  envelope_ = new EnvelopePanel(lower_);
  design_ = new DesignPanel(lower_);
  lower_->AddPage(picture_, "Modelo");
  lower_->AddPage(results_, "Resultados");
  lower_->AddPage(envelope_, "Envolvente");
  lower_->AddPage(design_, "Armado");
  split->SetMinimumPaneSize(120);
  split->SplitHorizontally(tables_, lower_);
  split->SetSashGravity(0.4);
  // The tables get two fifths of the window once it has its size.
  CallAfter([split] { split->SetSashPosition(split->GetClientSize().y * 2 / 5); });

  tables_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
    event.Skip();
    if (TablePage* page = currentPage()) {
      if (perCase(page->table())) picture_->showCase(page->loadCase());
      showCellStatus(page, page->GetGridCursorRow(), page->GetGridCursorCol());
    }
  });
  Bind(wxEVT_CLOSE_WINDOW, &MainFrame::onClose, this);
  Bind(wxEVT_CHAR_HOOK, &MainFrame::onKey, this);
  chooseView();
  afterEdit("");
}

void MainFrame::buildMenus() {
  auto* file = new wxMenu;
  file->Append(kNewBeam, "&Nueva viga continua...\tCtrl+N");
  file->Append(wxID_OPEN, guicommon::sharedItem("&Abrir...", guicommon::SharedCommand::open));
  file->Append(wxID_SAVE, guicommon::sharedItem("&Guardar", guicommon::SharedCommand::save));
  file->Append(wxID_SAVEAS, "Guardar &como...\tCtrl+Shift+S");
  recentMenu_ = new wxMenu;
  file->AppendSubMenu(recentMenu_, "Abiertos &recientemente");
  file->AppendSeparator();
  file->Append(wxID_EXIT, guicommon::sharedItem("&Salir", guicommon::SharedCommand::quit));

  editMenu_ = new wxMenu;
  editMenu_->Append(wxID_UNDO, "&Deshacer\tCtrl+Z");
  editMenu_->Append(wxID_REDO, "&Rehacer\tCtrl+Y");
  editMenu_->AppendSeparator();
  editMenu_->Append(wxID_CUT, "Cor&tar filas\tCtrl+X");
  editMenu_->Append(wxID_COPY, "&Copiar\tCtrl+C");
  editMenu_->Append(wxID_PASTE, "&Pegar\tCtrl+V");
  editMenu_->AppendSeparator();
  editMenu_->Append(kInsertRow, "&Insertar fila\tCtrl+I");
  editMenu_->Append(kAppendRow, fromCp1252("&A\xF1"
                                           "adir fila al final\tCtrl+E"));
  editMenu_->Append(kDeleteRow, "&Borrar fila\tCtrl+Del");

  auto* cases = new wxMenu;
  cases->Append(kAddCase, fromCp1252("&A\xF1"
                                     "adir caso de carga..."));
  cases->Append(kRenameCase, "&Renombrar caso de carga...");
  cases->Append(kRemoveCase, "&Quitar caso de carga");

  tablesMenu_ = new wxMenu;
  auto* view = new wxMenu;
  view->AppendRadioItem(kSpansView, "Por &vanos\tF3");
  view->AppendRadioItem(kBarsView, "Por &barras (todas las tablas)\tF4");

  auto* analysis = new wxMenu;
  analysis->Append(kAnalyse, fromCp1252("&Analizar\tF5"));
  auto* modes = new wxMenu;
  modes->AppendRadioItem(kNoModes, "&No calcularlas");
  for (size_t k = 0; k < std::size(kModesOptions); ++k)
    modes->AppendRadioItem(
        kModesOption + static_cast<int>(k),
        fromCp1252("Opci\xF3n &" + std::to_string(kModesOptions[k].option) + ": " + kModesOptions[k].label));
  analysis->AppendSubMenu(modes, "&Vibraciones con calcdin al analizar");
  analysis->AppendSeparator();
  analysis->Append(kReport, "&Informe\tF7");
  analysis->Append(kEnvelope, "&Envolvente...\tF6");
  analysis->Append(kDesign, "&Armado...\tF8");

  auto* help = new wxMenu;
  help->Append(wxID_HELP, fromCp1252(guicommon::kGuideMenuText));
  help->Append(wxID_ABOUT, "&Acerca de vigas");

  auto* bar = new wxMenuBar;
  menuBar_ = bar;
  bar->Append(file, "&Archivo");
  bar->Append(editMenu_, "&Editar");
  bar->Append(view, "&Ver");
  bar->Append(tablesMenu_, "&Tablas");
  bar->Append(cases, "&Casos");
  bar->Append(analysis, fromCp1252("A&n\xE1lisis"));
  bar->Append(help, "Ay&uda");
  SetMenuBar(bar);
  updateRecentMenu();
  bindMenus();
}

void MainFrame::bindMenus() {
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onNewBeam(); }, kNewBeam);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onOpen(); }, wxID_OPEN);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { save(false); }, wxID_SAVE);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { save(true); }, wxID_SAVEAS);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { guicommon::showGuide(this); }, wxID_HELP);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onUndo(false); }, wxID_UNDO);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onUndo(true); }, wxID_REDO);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onRow(kInsertRow); }, kInsertRow);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onRow(kAppendRow); }, kAppendRow);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onRow(kDeleteRow); }, kDeleteRow);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onCopy(false); }, wxID_COPY);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onCopy(true); }, wxID_CUT);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onPaste(); }, wxID_PASTE);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { showView(View::spans); }, kSpansView);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { showView(View::bars); }, kBarsView);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onAddCase(); }, kAddCase);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onRenameCase(); }, kRenameCase);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onRemoveCase(); }, kRemoveCase);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onAnalyse(); }, kAnalyse);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onReport(); }, kReport);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onEnvelope(); }, kEnvelope);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { onDesign(); }, kDesign);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { modesOption_.reset(); }, kNoModes);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent& event) {
        modesOption_ = kModesOptions[static_cast<size_t>(event.GetId() - kModesOption)].option;
      },
      kModesOption, kModesOption + static_cast<int>(std::size(kModesOptions)) - 1);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent&) {
        if (!pages_.empty()) goToPage((static_cast<size_t>(tables_->GetSelection()) + 1) % pages_.size());
      },
      kNextTable);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent&) {
        if (!pages_.empty())
          goToPage((static_cast<size_t>(tables_->GetSelection()) + pages_.size() - 1) % pages_.size());
      },
      kPreviousTable);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent& event) { goToPage(static_cast<size_t>(event.GetId() - kFirstTable)); },
      kFirstTable, kFirstTable + 19);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent& event) {
        const size_t k = static_cast<size_t>(event.GetId() - kRecent);
        if (k >= recent_.paths().size() || !confirmDiscard()) return;
        openFile(recent_.paths()[k]);
      },
      kRecent, kRecent + 19);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent&) {
        guicommon::showAboutBox(this, "Acerca de vigas", wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX),
                                "vigas 1.0.0", fromCp1252("Vigas continuas: modelo, cargas y an\xE1lisis."), "Aceptar");
      },
      wxID_ABOUT);
}

void MainFrame::rebuildTablesMenu() {
  while (tablesMenu_->GetMenuItemCount() > 0) tablesMenu_->Destroy(tablesMenu_->FindItemByPosition(0));
  for (size_t k = 0; k < pages_.size() && k < 20; ++k) {
    const wxString name = tableLabel(document_.content(), pages_[k]->table(), pages_[k]->loadCase());
    tablesMenu_->Append(kFirstTable + static_cast<int>(k),
                        k < 9 ? wxString::Format("%s\tCtrl+%zu", name, k + 1) : name);
  }
  tablesMenu_->AppendSeparator();
  tablesMenu_->Append(kNextTable, "Tabla siguiente\tCtrl+PgDn");
  tablesMenu_->Append(kPreviousTable, "Tabla anterior\tCtrl+PgUp");
  menuBar_->Check(view_ == View::spans ? kSpansView : kBarsView, true);
}

void MainFrame::rebuildPages() {
  const int selected = tables_->GetSelection();
  tables_->DeleteAllPages();
  pages_.clear();
  auto add = [this](Table table, int loadCase) {
    auto* page = new TablePage(tables_, document_, table, loadCase);
    page->Bind(wxEVT_GRID_CELL_CHANGING, &MainFrame::onCellChanging, this);
    page->Bind(wxEVT_GRID_CELL_CHANGED, &MainFrame::onCellChanged, this);
    // The grid makes one editor per kind of cell and moves it from cell to
    // cell: what is typed is checked at the cursor's cell.
    page->Bind(wxEVT_GRID_EDITOR_CREATED, [this, page](wxGridEditorCreatedEvent& event) {
      event.Skip();
      if (auto* field = dynamic_cast<wxTextCtrl*>(event.GetControl()))
        field->Bind(wxEVT_TEXT, [this, page, field](wxCommandEvent& typed) {
          typed.Skip();
          showTypedStatus(page, field);
        });
    });
    page->Bind(wxEVT_GRID_SELECT_CELL, [this, page](wxGridEvent& event) {
      event.Skip();
      showCellStatus(page, event.GetRow(), event.GetCol());
    });
    tables_->AddPage(page, tableLabel(document_.content(), table, loadCase));
    pages_.push_back(page);
  };
  const bool spans = view_ == View::spans;
  if (spans)
    for (Table table : kSpanTables) add(table, 0);
  else
    for (Table table : kModelTables) add(table, 0);
  for (int k = 0; k < static_cast<int>(document_.cases().size()); ++k) add(spans ? Table::spanLoads : Table::loads, k);
  if (selected >= 0 && selected < static_cast<int>(pages_.size())) tables_->SetSelection(static_cast<size_t>(selected));
  picture_->showCase(std::min(picture_->shownCase(), static_cast<int>(document_.cases().size()) - 1));
  picture_->showSpans(spans);
  rebuildTablesMenu();
}

void MainFrame::showView(View view, bool quiet) {
  if (!commitEdits()) return;
  const std::string& reason = document_.spans().reason;
  if (view == View::spans && !reason.empty()) {
    const std::string text = "Esta viga no se edita por vanos: " + reason + ". Se edita en la vista por barras.";
    if (quiet)
      SetStatusText(fromCp1252(text), 0);
    else
      messageBox(fromCp1252(text), wxICON_INFORMATION, this);
    view = View::bars;
  }
  const bool changed = view != view_ || pages_.empty();
  view_ = view;
  if (changed) {
    rebuildPages();
    afterEdit("", false);
    goToPage(1);
  }
  menuBar_->Check(view_ == View::spans ? kSpansView : kBarsView, true);
}

void MainFrame::chooseView() {
  view_ = document_.spans().reason.empty() ? View::spans : View::bars;
  rebuildPages();
  if (view_ == View::bars)
    SetStatusText(fromCp1252("Vista por barras: esta viga no se edita por vanos (" + document_.spans().reason + ")."),
                  0);
}

// Everything shown follows the document after an edit, an undo or an open.
void MainFrame::afterEdit(const std::string& status, bool edited) {
  refreshing_ = true;
  for (size_t k = 0; k < pages_.size(); ++k) {
    pages_[k]->refresh();
    const bool faulty = [&] {
      for (const CellError& e : document_.errors())
        if (e.place.table == pages_[k]->table() &&
            (!perCase(e.place.table) || e.place.loadCase == pages_[k]->loadCase()))
          return true;
      return false;
    }();
    tables_->SetPageText(
        k, tableLabel(document_.content(), pages_[k]->table(), pages_[k]->loadCase()) + (faulty ? " (!)" : ""));
  }
  refreshing_ = false;
  picture_->Refresh();
  if (edited) {
    results_->markOutdated();
    envelope_->markOutdated();
    design_->markOutdated();
    resultsCurrent_ = false;
  }
  const size_t errors = document_.errors().size();
  SetStatusText(
      errors == 0 ? wxString("sin errores") : wxString::Format(errors == 1 ? "%zu error" : "%zu errores", errors), 1);
  if (!status.empty() || errors == 0) SetStatusText(fromCp1252(status), 0);
  editMenu_->SetLabel(wxID_UNDO,
                      fromCp1252(document_.canUndo() ? "&Deshacer " + document_.undoName() : "&Deshacer") + "\tCtrl+Z");
  editMenu_->SetLabel(wxID_REDO,
                      fromCp1252(document_.canRedo() ? "&Rehacer " + document_.redoName() : "&Rehacer") + "\tCtrl+Y");
  editMenu_->Enable(wxID_UNDO, document_.canUndo());
  editMenu_->Enable(wxID_REDO, document_.canRedo());
  updateTitle();
}

void MainFrame::updateTitle() {
  const std::string& path = document_.modelPath();
  const wxString name =
      path.empty() ? fromCp1252("sin t\xEDtulo") : fileNameText(std::filesystem::path(path).filename().string());
  SetTitle((document_.modified() ? "*" : "") + name + " " + emDash() + " vigas");
}

void MainFrame::updateRecentMenu() {
  while (recentMenu_->GetMenuItemCount() > 0) recentMenu_->Destroy(recentMenu_->FindItemByPosition(0));
  const std::vector<std::string>& paths = recent_.paths();
  for (size_t k = 0; k < paths.size() && k < 20; ++k)
    recentMenu_->Append(kRecent + static_cast<int>(k), wxString::Format("&%zu ", k + 1) + fileNameText(paths[k]));
  if (paths.empty()) recentMenu_->Append(wxID_ANY, "(ninguno)")->Enable(false);
}

void MainFrame::saveRecent() {
  updateRecentMenu();
  const std::string path = recentFilesPath();
  if (path.empty()) return;
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  std::ofstream(path) << recent_.text();
}

TablePage* MainFrame::currentPage() const {
  const int k = tables_->GetSelection();
  return k >= 0 && k < static_cast<int>(pages_.size()) ? pages_[static_cast<size_t>(k)] : nullptr;
}

void MainFrame::goToPage(size_t index) {
  if (index >= pages_.size()) return;
  tables_->SetSelection(index);
  pages_[index]->SetFocus();
}

void MainFrame::showCellStatus(TablePage* page, int row, int column) {
  if (!page) return;
  std::string reason;
  if (row >= 0 && column >= 0) reason = document_.reasonAt(page->placeAt(row, column));
  if (reason.empty()) reason = page->tableFault();
  if (reason.empty() && row >= 0 && column >= 0) reason = document_.noticeAt(page->placeAt(row, column));
  SetStatusText(fromCp1252(reason), 0);
}

void MainFrame::showTypedStatus(TablePage* page, wxTextCtrl* field) {
  if (refreshing_ || !page->IsCellEditControlShown()) return;
  const EditResult tried =
      document_.tryCell(page->placeAt(page->GetGridCursorRow(), page->GetGridCursorCol()), toCp1252(field->GetValue()));
  const std::string reason = tried.done ? tried.reason : "No se acepta: " + tried.reason;
  field->SetBackgroundColour(reason.empty() ? wxNullColour : faultColour());
  field->SetToolTip(fromCp1252(reason));
  field->Refresh();
  SetStatusText(fromCp1252(reason), 0);
}

void MainFrame::onCellChanged(wxGridEvent& event) {
  if (refreshing_) return;
  auto* page = dynamic_cast<TablePage*>(event.GetEventObject());
  if (!page) return;
  const CellPlace place = page->placeAt(event.GetRow(), event.GetCol());
  const EditResult result = document_.setCell(place, toCp1252(page->GetCellValue(event.GetRow(), event.GetCol())));
  afterEdit(result.done ? result.reason : "No se acepta: " + result.reason);
  if (result.done) SetStatusText(fromCp1252(result.reason), 0);
}

void MainFrame::onUndo(bool redo) {
  // What is being typed is what undo takes back first.
  for (TablePage* page : pages_)
    if (page->IsCellEditControlEnabled()) {
      page->HideCellEditControl();
      page->DisableCellEditControl();
      SetStatusText("Deshecho lo escrito en la celda.", 0);
      return;
    }
  const size_t casesBefore = document_.cases().size();
  const std::string name = redo ? document_.redoName() : document_.undoName();
  if (!(redo ? document_.redo() : document_.undo())) return;
  // A case added or removed changes the pages; so does a whole new beam, and
  // a beam the spans view cannot show.
  if (view_ == View::spans && !document_.spans().reason.empty())
    showView(View::bars, true);
  else if (document_.cases().size() != casesBefore || name == "nueva viga continua")
    rebuildPages();
  afterEdit((redo ? "Rehecho: " : "Deshecho: ") + name);
}

void MainFrame::onAddCase() {
  const int position = static_cast<int>(document_.cases().size());
  const wxString name =
      askCaseName(this,
                  fromCp1252("A\xF1"
                             "adir caso de carga"),
                  fromCp1252("Nombre del nuevo caso de carga (letras, cifras, - y _):"), "",
                  [this, position](const std::string& typed) { return document_.caseNameRefusal(position, typed); });
  if (name.empty()) return;
  const EditResult result = document_.addLoadCase(toCp1252(name));
  if (!result.done) {
    messageBox(fromCp1252("No se a\xF1"
                          "ade el caso: " +
                          result.reason),
               wxICON_EXCLAMATION, this);
    return;
  }
  rebuildPages();
  afterEdit("");
  goToPage(pages_.size() - 1);
}

void MainFrame::onRenameCase() {
  TablePage* page = currentPage();
  if (!page || page->table() != Table::loads) {
    SetStatusText("Elija primero la tabla del caso de carga.", 0);
    return;
  }
  const int loadCase = page->loadCase();
  const wxString name =
      askCaseName(this, "Renombrar caso de carga",
                  "Nuevo nombre del caso de carga:", fromCp1252(document_.cases()[static_cast<size_t>(loadCase)].name),
                  [this, loadCase](const std::string& typed) { return document_.caseNameRefusal(loadCase, typed); });
  if (name.empty()) return;
  const EditResult result = document_.renameLoadCase(page->loadCase(), toCp1252(name));
  if (!result.done) {
    messageBox(fromCp1252("No se renombra el caso: " + result.reason), wxICON_EXCLAMATION, this);
    return;
  }
  afterEdit("");
}

void MainFrame::onRemoveCase() {
  TablePage* page = currentPage();
  if (!page || page->table() != Table::loads) {
    SetStatusText("Elija primero la tabla del caso de carga.", 0);
    return;
  }
  const EditResult result = document_.removeLoadCase(page->loadCase());
  if (!result.done) {
    messageBox(fromCp1252("No se quita el caso: " + result.reason), wxICON_EXCLAMATION, this);
    return;
  }
  rebuildPages();
  afterEdit("");
}

void MainFrame::onNewBeam() {
  if (!commitEdits()) return;
  if (!confirmDiscard()) return;
  BeamDialog dialog(this);
  if (dialog.ShowModal() != wxID_OK) return;
  document_ = Document();
  document_.replaceContent(dialog.beam().content, "nueva viga continua");
  results_->show(AnalysisRun{});
  envelope_->clear();
  design_->clear();
  envelopeChoice_.reset();
  chooseView();
  afterEdit("");
  goToPage(1);
}

void MainFrame::onOpen() {
  if (!commitEdits()) return;
  if (!confirmDiscard()) return;
  wxFileDialog dialog(this, "Abrir viga", "", "", "Modelos (*.dat)|*.dat|Todos los archivos|*",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  openFile(fileNameBytes(dialog.GetPath()));
}

bool MainFrame::openFile(const std::string& path) {
  const OpenResult opened = openProject(path, document_);
  if (!opened.opened) {
    std::string where = opened.file.empty() ? "" : "\n(" + opened.file;
    if (!where.empty()) where += opened.line > 0 ? ", l\xEDnea " + std::to_string(opened.line) + ")" : ")";
    messageBox(fileNameText("No se puede abrir " + path) + ":\n" + fromCp1252(opened.message + where),
               wxICON_EXCLAMATION, this);
    recent_.remove(path);
    saveRecent();
    return false;
  }
  recent_.add(path);
  saveRecent();
  results_->show(AnalysisRun{});
  envelope_->clear();
  design_->clear();
  envelopeChoice_.reset();
  chooseView();
  if (document_.hasErrors())
    afterEdit("La viga tiene errores: las celdas en rojo dicen por qu\xE9.");
  else
    afterEdit("", false);
  goToPage(1);
  return true;
}

bool MainFrame::refuseErrors(const std::string& what) {
  if (!document_.hasErrors()) return true;
  std::string text = "La viga tiene errores y no se " + what + ":\n";
  const std::vector<CellError>& errors = document_.errors();
  for (size_t k = 0; k < errors.size() && k < 8; ++k) {
    const CellPlace& at = errors[k].place;
    std::string place = toCp1252(tableLabel(document_.content(), at.table, at.loadCase));
    if (at.row > 0) place += ", fila " + std::to_string(at.row);
    if (at.column >= 0 && at.row > 0) place += ", " + columnsOf(at.table)[static_cast<size_t>(at.column)].title;
    text += "\n" + place + ": " + errors[k].reason;
  }
  if (errors.size() > 8) text += "\n... y " + std::to_string(errors.size() - 8) + " m\xE1s.";
  messageBox(fromCp1252(text), wxICON_EXCLAMATION, this);
  selectRow(errors.front().place);
  return false;
}

bool MainFrame::save(bool choosePath) {
  if (!commitEdits()) return false;
  // A name too long for calcest is mended by saving under another one.
  if (!(choosePath && checkContent(document_.content()).empty()) && !refuseErrors("guarda")) return false;
  std::string path = document_.modelPath();
  if (choosePath || path.empty()) {
    const char* const model = common::kModelExt;
    wxFileDialog dialog(this, "Guardar viga", "", path.empty() ? wxString("viga") + model : fileNameText(path),
                        wxString::Format("Modelos (*%s)|*%s", model, model), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return false;
    wxFileName chosen(dialog.GetPath());
    if ("." + chosen.GetExt() != model) chosen.SetFullName(chosen.GetFullName() + model);
    path = fileNameBytes(chosen.GetFullPath());
  }
  const std::string refusal = saveProject(document_, path);
  if (!refusal.empty()) {
    messageBox(fromCp1252("No se ha guardado: " + refusal), wxICON_EXCLAMATION, this);
    return false;
  }
  recent_.add(path);
  saveRecent();
  afterEdit("Guardado " + std::filesystem::path(path).filename().string(), false);
  return true;
}

bool MainFrame::onAnalyse() {
  if (!commitEdits()) return false;
  if (!refuseErrors("analiza")) return false;
  if (document_.modelPath().empty() && !save(true)) return false;
  wxBusyCursor busy;
  const AnalysisRun run = saveAndAnalyse(document_, modesOption_);
  afterEdit("", false);
  if (!run.error.empty()) {
    messageBox(fromCp1252("No se ha analizado la viga: " + run.error), wxICON_EXCLAMATION, this);
    return false;
  }
  results_->show(run);
  showLowerPage(1);
  SetStatusText(fromCp1252("Analizada con calcest: " + std::to_string(run.cases.size()) + " caso(s) de carga."), 0);
  // For the tests that drive the window: what the reactions and modes tables show.
  if (const char* log = std::getenv("VIGAS_RESULTS_LOG"))
    std::ofstream(log) << results_->reactionsText() << results_->modesText();
  if (const char* log = std::getenv("VIGAS_SPANS_LOG")) std::ofstream(log) << results_->spansText();
  bool analysed = true;
  for (const CaseResults& c : run.cases)
    if (!c.error.empty()) {
      analysed = false;
      messageBox(fromCp1252("calcest no acepta el caso \"" + c.name + "\":\n\n" + c.error), wxICON_ERROR, this);
    }
  modesFile_.clear();
  if (run.modes && !run.modes->error.empty())
    messageBox(fromCp1252("calcdin no ha calculado las vibraciones:\n\n" + run.modes->error), wxICON_ERROR, this);
  else if (run.modes)
    modesFile_ = run.modes->modesFile;
  resultsCurrent_ = analysed;
  return analysed;
}

void MainFrame::onReport() {
  if (!commitEdits()) return;
  // The report is of the beam as saved and analysed now.
  if ((!resultsCurrent_ || document_.modified()) && !onAnalyse()) return;
  // informe reports one case a run: a page per case, each opened; the modes
  // (of the beam, whatever loads it) go with the first.
  std::vector<std::string> pages;
  std::string viewer;
  for (size_t k = 0; k < document_.content().cases.size(); ++k) {
    const std::string project = caseProject(document_.modelPath(), document_.content(), static_cast<int>(k));
    std::string refusal;
    {
      wxBusyCursor busy;
      refusal = runReport(project, k == 0 ? modesFile_ : "");
    }
    if (!refusal.empty()) {
      messageBox(fromCp1252("informe no ha hecho el informe del caso \"" + document_.content().cases[k].name +
                            "\":\n\n" + refusal),
                 wxICON_ERROR, this);
      return;
    }
    const std::string page = common::fileOf(project, common::kPageExt);
    if (const std::string failed = common::showPage(page, &viewer); !failed.empty()) {
      messageBox(fromCp1252("El informe est\xE1 en " + page + ", pero no se puede mostrar: " + failed), wxICON_ERROR,
                 this);
      return;
    }
    pages.push_back(std::filesystem::path(page).filename().string());
  }
  std::string names;
  for (const std::string& page : pages) names += (names.empty() ? "" : ", ") + page;
  SetStatusText(fileNameText("Informe " + names + " abierto con " + viewer + "."), 0);
}

void MainFrame::onEnvelope() {
  if (!commitEdits()) return;
  if (!refuseErrors("analiza")) return;
  if (document_.modelPath().empty() && !save(true)) return;
  EnvelopeDialog dialog(this, document_.content());
  if (dialog.ShowModal() != wxID_OK) return;
  envelopeChoice_ = dialog.choice();
  EnvelopeRun run;
  {
    wxBusyCursor busy;
    run = runEnvelope(document_, dialog.choice());
  }
  afterEdit("", false);
  if (!run.error.empty()) {
    messageBox(fromCp1252("No se ha calculado la envolvente:\n\n" + run.error), wxICON_ERROR, this);
    return;
  }
  envelope_->show(run);
  showLowerPage(2);
  SetStatusText(fileNameText("Envolvente " + run.name + " calculada con alternancias."), 0);
  // For the tests that drive the window: the summary as the page shows it.
  if (const char* log = std::getenv("VIGAS_RESULTS_LOG")) std::ofstream(log) << envelope_->summaryText();
}

void MainFrame::onDesign() {
  if (!commitEdits()) return;
  if (!refuseErrors("arma")) return;
  if (document_.modelPath().empty() && !save(true)) return;
  DesignDialog dialog(this, designData_);
  if (dialog.ShowModal() != wxID_OK) return;
  designData_ = dialog.data();
  const Content& content = document_.content();
  // The envelope's cases, or the first permanent and the others variable.
  EnvelopeChoice choice = presetEnvelopeChoice(content);
  if (envelopeChoice_ && envelopeChoice_->roles.size() == content.cases.size()) choice = *envelopeChoice_;
  DesignRun run;
  {
    wxBusyCursor busy;
    run = runDesign(document_, choice, designData_);
  }
  afterEdit("", false);
  if (!run.error.empty()) {
    messageBox(fromCp1252("No se ha calculado el armado:\n\n" + run.error), wxICON_ERROR, this);
    return;
  }
  design_->show(run);
  showLowerPage(3);
  SetStatusText(fileNameText("Armado " + run.name + " calculado con armado."), 0);
  if (const char* log = std::getenv("VIGAS_RESULTS_LOG")) std::ofstream(log) << design_->summaryText();
}

// A page of results, with the room it needs: the tables above keep a
// quarter of the window at least, as they had.
void MainFrame::showLowerPage(int page) {
  lower_->SetSelection(page);
  const int quarter = std::max(split_->GetMinimumPaneSize(), split_->GetClientSize().y / 4);
  if (split_->GetSashPosition() > quarter) split_->SetSashPosition(quarter);
}

bool MainFrame::confirmDiscard() {
  if (!document_.modified()) return true;
  const std::string& path = document_.modelPath();
  const wxString name = path.empty() ? fromCp1252("sin t\xEDtulo") : fileNameText(path);
  const int answer =
      messageBox(fromCp1252("\xBFGuardar los cambios de ") + name + "?", wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
  if (answer == wxID_CANCEL) return false;
  if (answer == wxID_YES) return save(false);
  return true;
}

void MainFrame::onClose(wxCloseEvent& event) {
  // A typed value the cell refuses is not lost by leaving.
  if ((!commitEdits() || !confirmDiscard()) && event.CanVeto()) {
    event.Veto();
    return;
  }
  Destroy();
}

}  // namespace vigas::app
