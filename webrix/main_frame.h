#pragma once
// CMainFrame: the main window. A rebar-like top area holds the toolbar (Back,
// Forward, Stop, Refresh, Home) and the "Address:" box with its drop-down
// list; the browser fills the rest; a status bar sits at the bottom. The
// frame knows no view: what it is asked to do goes out as command events,
// which the document manager hands to the view first.
#include <wx/docview.h>
#include <wx/timer.h>

#include "webrix/browser_frame.h"

class wxComboBox;
class wxPanel;
class wxBoxSizer;

class CMainFrame : public wxDocParentFrame, public webrix::BrowserFrame {
 public:
  explicit CMainFrame(wxDocManager* manager);
  ~CMainFrame() override;

  wxWebView* browser() override { return browser_; }
  void showDocumentTitle(const wxString& title) override;
  void setAddressText(const wxString& address) override;
  void describeWindow(webrix::BrowserState& state) const override;

 private:
  void createRebar();
  void createStatusBarPanes();
  wxPanel* createToolbarBand(wxWindow* parent);
  void sendCommand(int command, const wxString& text = wxString());
  void OnAddressEnter(wxCommandEvent& event);
  void OnAddressChosen(wxCommandEvent& event);
  void OnToolButton(wxCommandEvent& event);
  void installAccelerators();
  static int acceleratorCommand(unsigned keyval, unsigned modifiers);
  void OnViewToolbar(wxCommandEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);
  void OnUpdateIndicators(wxTimerEvent& event);

  wxPanel* rebar_ = nullptr;
  wxComboBox* addressBox_ = nullptr;
  wxBoxSizer* layout_ = nullptr;
  wxWebView* browser_ = nullptr;
  wxTimer indicatorTimer_;
  unsigned keySnooper_ = 0;
};
