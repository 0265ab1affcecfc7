#pragma once
// CWebrixView: drives the frame's web view; the start navigation, the
// browsing commands (it sees commands before the frame and the application)
// and the state snapshot for tests.
#include <wx/docview.h>

#include <string>

#include "webrix/browser_frame.h"
#include "webrix/webrix_doc.h"

class wxWebView;
class wxWebViewEvent;

class CWebrixView : public wxView {
 public:
  bool OnCreate(wxDocument* doc, long flags) override;
  bool OnClose(bool deleteWindow) override;
  void OnDraw(wxDC*) override {}
  void OnChangeFilename() override;

  // Reads the command line (and "servidor.txt" for NULO) and goes to the
  // start address; called once the main window is up.
  void initialUpdate();

  // A plain navigation to `address`.
  void navigate(const std::string& address);

  CWebrixDoc* document() const;

 private:
  // Writes the observation snapshot when it is asked for (see state_dump.h).
  void dumpState(const char* event);
  void OnGoTypedAddress(wxCommandEvent& event);
  void OnGoListedAddress(wxCommandEvent& event);
  void OnTitleChange(wxWebViewEvent& event);
  void OnDocumentComplete(wxWebViewEvent& event);
  void OnGoBack(wxCommandEvent&);
  void OnGoForward(wxCommandEvent&);
  void OnStop(wxCommandEvent&);
  void OnRefresh(wxCommandEvent&);
  void OnGoStartPage(wxCommandEvent&);
  void OnFileOpen(wxCommandEvent&);
  void OnFilePrint(wxCommandEvent&);

  webrix::BrowserFrame* frame_ = nullptr;  // the main window, while the view lives
  wxWebView* browser_ = nullptr;           // the frame's, borrowed from OnCreate to OnClose
  std::string statePath_;                  // where the snapshots go; empty: nowhere
  std::string requested_;
  std::string startPage_ = "about:blank";  // the browser's home: this run's start address

  wxDECLARE_DYNAMIC_CLASS(CWebrixView);
};
