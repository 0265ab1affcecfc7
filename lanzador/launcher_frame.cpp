#include "lanzador/launcher_frame.h"

#include <gtk/gtk.h>
#include <wx/dcclient.h>
#include <wx/iconbndl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include "guicommon/about_box.h"
#include "guicommon/display_text.h"
#include "guicommon/menus.h"
#include "lanzador/launch_sequence.h"
#include "lanzador/res/lanzador16.xpm"
#include "lanzador/res/lanzador32.xpm"
#include "lanzador/texts.h"

namespace lanzador {

LauncherFrame::LauncherFrame(const Options& options)
    : wxFrame(nullptr, wxID_ANY, guicommon::fromCp1252(kTitle), wxDefaultPosition, wxSize(560, 300)),
      options_(options) {
  wxIconBundle icons;
  icons.AddIcon(wxIcon(lanzador32_xpm));
  icons.AddIcon(wxIcon(lanzador16_xpm));
  SetIcons(icons);

  auto* file = new wxMenu;
  file->Append(kExit, "E&xit");
  auto* help = new wxMenu;
  help->Append(kAbout, "&About ...");
  SetMenuBar(guicommon::menuBarOf({{file, "&File"}, {help, "&Help"}}));

  // Alt+? and Alt+/ open the About box. '?' needs Shift on most layouts, so
  // both forms of it are accepted.
  wxAcceleratorEntry keys[] = {
      {wxACCEL_ALT, '?', kAbout},
      {wxACCEL_ALT | wxACCEL_SHIFT, '?', kAbout},
      {wxACCEL_ALT, '/', kAbout},
      {wxACCEL_ALT | wxACCEL_SHIFT, '/', kAbout},
  };
  SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(keys), keys));

  // A plain child fills the client area so that the keyboard focus has a
  // home and the accelerators reach the frame.
  canvas_ = new wxWindow(this, wxID_ANY);
  canvas_->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
  canvas_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  canvas_->Bind(wxEVT_PAINT, &LauncherFrame::OnPaint, this);
  canvas_->Bind(wxEVT_SIZE, &LauncherFrame::OnSize, this);
  canvas_->SetFocus();
  // Shown again after being unmapped or iconified.
  g_signal_connect(GetHandle(), "map-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer frame) -> gboolean {
                     static_cast<LauncherFrame*>(frame)->requestRerun();
                     return FALSE;
                   }),
                   this);
  Bind(wxEVT_MENU, &LauncherFrame::OnAbout, this, kAbout);
  Bind(wxEVT_MENU, &LauncherFrame::OnExit, this, kExit);
}

void LauncherFrame::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(canvas_);
  dc.SetBackground(wxBrush(canvas_->GetBackgroundColour()));
  dc.Clear();
  if (showNotice_) {
    // One line, centred horizontally at the top, default font and colours.
    wxString notice = guicommon::fromCp1252(noticeText(options_));
    dc.SetFont(canvas_->GetFont());
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    wxSize extent = dc.GetTextExtent(notice);
    dc.DrawText(notice, (canvas_->GetClientSize().x - extent.x) / 2, 0);
  }
  if (armed_ && !running_) {
    // The sequence needs a modal box and blocking waits, which do not belong
    // inside a paint handler: run it right after this paint.
    armed_ = false;
    running_ = true;
    CallAfter(&LauncherFrame::runStartSequence);
  }
}

void LauncherFrame::OnSize(wxSizeEvent& event) {
  if (event.GetSize() != lastSize_) {
    if (lastSize_ != wxSize()) requestRerun();
    lastSize_ = event.GetSize();
    canvas_->Refresh();  // the notice stays centred
  }
  event.Skip();
}

void LauncherFrame::requestRerun() {
  if (showNotice_ && !running_) armed_ = true;
}

void LauncherFrame::runStartSequence() {
  if (IsBeingDeleted()) return;
  wxMessageBox(guicommon::fromCp1252(kStartMessage + configuredNote(options_)), kStartCaption, wxOK, this);
  if (runPrograms(options_) > 0) {
    // The main program takes over: the launcher ends (status 0) without
    // waiting for it.
    Destroy();
    return;
  }
  showNotice_ = true;
  running_ = false;
  canvas_->Refresh();
}

void LauncherFrame::OnAbout(wxCommandEvent&) {
  guicommon::showAboutBox(this, "About", wxBitmap(lanzador32_xpm), "Kaltro2 Version 1.0",
                          guicommon::fromCp1252("Lanzador de la suite de c\xE1lculo de vigas"));
}

void LauncherFrame::OnExit(wxCommandEvent&) { Destroy(); }

}  // namespace lanzador
