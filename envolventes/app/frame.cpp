#include <wx/accel.h>
#include <wx/artprov.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "envolventes/app/dialogs.h"
#include "guicommon/guide.h"
#include "guicommon/menus.h"
#include "envolventes/app/ui_text.h"
#include "envolventes/app/viewer.h"

namespace envelope {

using namespace common;

namespace {

enum {
  ID_VIEW_TOOLBAR = wxID_HIGHEST + 1,
  ID_VIEW_STATUS_BAR,
  ID_NEXT_PANE,
  ID_PREV_PANE,
  ID_EXIT,  // not the stock id, which would bring a shortcut of its own
};

}  // namespace

CMainFrame::CMainFrame(wxDocManager* manager, const wxString& title)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, title, wxPoint(0, 0), wxGetDisplaySize(),
                       wxDEFAULT_FRAME_STYLE | wxMAXIMIZE),
      indicatorTimer_(this) {
  createMenus();
  createToolBar();
  createStatusBar();
  diagram_ = new DiagramWindow(this);
  wxIcon icon;
  icon.CopyFromBitmap(programIcon());
  SetIcon(icon);

  Bind(wxEVT_MENU, &CEnvolventesApp::OnAbout, &wxGetApp(), wxID_ABOUT);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { guicommon::showGuide(this); }, wxID_HELP);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, ID_EXIT);
  Bind(wxEVT_MENU, &CMainFrame::OnViewToolbar, this, ID_VIEW_TOOLBAR);
  Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, ID_VIEW_STATUS_BAR);
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(GetToolBar() && GetToolBar()->IsShown()); },
      ID_VIEW_TOOLBAR);
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(GetStatusBar() && GetStatusBar()->IsShown()); },
      ID_VIEW_STATUS_BAR);
  // Nothing can be cut, copied or pasted (undo is the document's, and it has
  // nothing to undo).
  for (int id : {wxID_CUT, wxID_COPY, wxID_PASTE})
    Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, id);
  Bind(wxEVT_TIMER, &CMainFrame::OnUpdateIndicators, this);
  indicatorTimer_.Start(300);
}

void CMainFrame::createMenus() {
  auto* file = new wxMenu;
  file->Append(wxID_NEW, "&Nuevo\tCtrl+N");
  file->Append(wxID_OPEN, guicommon::sharedItem("&Abrir...", guicommon::SharedCommand::open));
  file->Append(wxID_SAVE, guicommon::sharedItem("&Guardar", guicommon::SharedCommand::save));
  file->Append(wxID_SAVEAS, "Guardar c&omo...");
  file->AppendSeparator();
  file->Append(wxID_PRINT, guicommon::sharedItem("&Imprimir...", guicommon::SharedCommand::print));
  file->Append(wxID_PREVIEW, fromCp1252("&Presentaci\xF3n preliminar"));
  file->Append(wxID_PRINT_SETUP, "Con&figurar impresora...");
  file->AppendSeparator();
  // The recent files fill this submenu (up to 4).
  auto* recent = new wxMenu;
  file->AppendSubMenu(recent, "Archivo reciente");
  file->AppendSeparator();
  file->Append(ID_EXIT, guicommon::sharedItem("&Salir", guicommon::SharedCommand::quit),
               fromCp1252("Sale de la aplicaci\xF3n"));
  GetDocumentManager()->FileHistoryUseMenu(recent);
  GetDocumentManager()->FileHistoryAddFilesToMenu(recent);

  auto* edit = new wxMenu;
  edit->Append(wxID_UNDO, "&Deshacer\tCtrl+Z");
  edit->AppendSeparator();
  edit->Append(wxID_CUT, "Cor&tar\tCtrl+X");
  edit->Append(wxID_COPY, "&Copiar\tCtrl+C");
  edit->Append(wxID_PASTE, "&Pegar\tCtrl+V");

  auto* view = new wxMenu;
  view->AppendCheckItem(ID_VIEW_TOOLBAR, "Barra de &herramientas");
  view->AppendCheckItem(ID_VIEW_STATUS_BAR, "Barra de &estado");

  auto* help = new wxMenu;
  help->Append(wxID_HELP, fromCp1252(guicommon::kGuideMenuText));
  help->Append(wxID_ABOUT, "&Acerca de envolventes...");

  SetMenuBar(guicommon::menuBarOf({{file, "&Archivo"}, {edit, "&Editar"}, {view, "&Ver"}, {help, "Ay&uda"}}));

  wxAcceleratorEntry keys[] = {
      {wxACCEL_CTRL, 'N', wxID_NEW},          {wxACCEL_CTRL, 'O', wxID_OPEN},
      {wxACCEL_CTRL, 'S', wxID_SAVE},         {wxACCEL_CTRL, 'P', wxID_PRINT},
      {wxACCEL_CTRL, 'Z', wxID_UNDO},         {wxACCEL_ALT, WXK_BACK, wxID_UNDO},
      {wxACCEL_CTRL, 'X', wxID_CUT},          {wxACCEL_SHIFT, WXK_DELETE, wxID_CUT},
      {wxACCEL_CTRL, 'C', wxID_COPY},         {wxACCEL_CTRL, WXK_INSERT, wxID_COPY},
      {wxACCEL_CTRL, 'V', wxID_PASTE},        {wxACCEL_SHIFT, WXK_INSERT, wxID_PASTE},
      {wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE}, {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
  };
  SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(keys), keys));
}

void CMainFrame::createToolBar() {
  wxToolBar* bar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL | wxTB_DOCKABLE);
  bar->SetToolBitmapSize(wxSize(16, 15));
  auto icon = [](const wxArtID& id) { return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(16, 16)); };
  bar->AddTool(wxID_NEW, "Nuevo", icon(wxART_NEW), "Nuevo", wxITEM_NORMAL)->SetLongHelp("Nuevo");
  bar->AddTool(wxID_OPEN, "Abrir", icon(wxART_FILE_OPEN), "Abrir", wxITEM_NORMAL)->SetLongHelp("Abrir");
  bar->AddTool(wxID_SAVE, "Guardar", icon(wxART_FILE_SAVE), "Guardar", wxITEM_NORMAL)->SetLongHelp("Guardar");
  bar->AddSeparator();
  bar->AddTool(wxID_CUT, "Cortar", icon(wxART_CUT), "Cortar", wxITEM_NORMAL)->SetLongHelp("Cortar");
  bar->AddTool(wxID_COPY, "Copiar", icon(wxART_COPY), "Copiar", wxITEM_NORMAL)->SetLongHelp("Copiar");
  bar->AddTool(wxID_PASTE, "Pegar", icon(wxART_PASTE), "Pegar", wxITEM_NORMAL)->SetLongHelp("Pegar");
  bar->AddSeparator();
  bar->AddTool(wxID_PRINT, "Imprimir", icon(wxART_PRINT), "Imprimir", wxITEM_NORMAL)->SetLongHelp("Imprimir");
  bar->AddSeparator();
  bar->AddTool(wxID_ABOUT, "Acerca de", icon(wxART_HELP), "Acerca de envolventes", wxITEM_NORMAL)
      ->SetLongHelp("Acerca de envolventes");
  bar->Realize();
}

void CMainFrame::createStatusBar() {
  wxStatusBar* bar = CreateStatusBar(4);
  int widths[] = {-1, 50, 50, 50};
  bar->SetStatusWidths(4, widths);
}

// The lock indicators show their text while the lock is on.
void CMainFrame::OnUpdateIndicators(wxTimerEvent&) {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  struct Indicator {
    wxKeyCode key;
    const char* text;
  } indicators[] = {{WXK_CAPITAL, "MAY"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "DESP"}};
  for (int k = 0; k < 3; ++k) {
    wxString text = wxGetKeyState(indicators[k].key) ? indicators[k].text : "";
    if (bar->GetStatusText(k + 1) != text) bar->SetStatusText(text, k + 1);
  }
}

void CMainFrame::OnViewToolbar(wxCommandEvent&) {
  if (wxToolBar* bar = GetToolBar()) bar->Show(!bar->IsShown());
  SendSizeEvent();
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&) {
  if (wxStatusBar* bar = GetStatusBar()) bar->Show(!bar->IsShown());
  SendSizeEvent();
}

}  // namespace envelope
