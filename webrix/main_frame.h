#pragma once
// CMainFrame: the main window. A rebar-like top area holds the toolbar (Back,
// Forward, Stop, Refresh, Home) and the "Address:" box with its drop-down
// list; the browser fills the rest; a status bar sits at the bottom.
#include <wx/docview.h>
#include <wx/timer.h>

#include <string>

class wxComboBox;
class wxPanel;
class wxBoxSizer;
class CWebrixView;

class CMainFrame : public wxDocParentFrame {
 public:
  explicit CMainFrame(wxDocManager* manager);
  ~CMainFrame() override;

  // Where the view puts its browser window.
  wxWindow* BrowserParent() { return this; }
  void SetBrowser(wxWindow* browser);

  // Caption "title - Webrix".
  void ShowDocumentTitle(const wxString& title);
  void SetAddressText(const wxString& address);

  // Writes the observation snapshot when it is asked for (see state_dump.h).
  void DumpState(const char* event);

 private:
  void CreateRebar();
  void CreateStatusBarPanes();
  wxPanel* CreateToolbarBand(wxWindow* parent);
  CWebrixView* View() const;
  void OnAddressEnter(wxCommandEvent& event);
  void OnAddressChosen(wxCommandEvent& event);
  void OnToolButton(wxCommandEvent& event);
  void InstallAccelerators();
  static int AcceleratorCommand(unsigned keyval, unsigned modifiers);
  void OnViewToolbar(wxCommandEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnUpdateIndicators(wxTimerEvent& event);

  wxPanel* rebar_ = nullptr;
  wxComboBox* addressBox_ = nullptr;
  wxBoxSizer* layout_ = nullptr;
  wxTimer indicatorTimer_;
  std::string statePath_;
  unsigned keySnooper_ = 0;
};
