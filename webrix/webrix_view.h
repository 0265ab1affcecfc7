#pragma once
// CWebrixView: hosts the web view; the start navigation and the browsing
// commands (it sees commands before the frame and the application).
#include <wx/docview.h>

#include <string>

class wxWebView;
class wxWebViewEvent;
class CMainFrame;

class CWebrixView : public wxView {
 public:
  bool OnCreate(wxDocument* doc, long flags) override;
  bool OnClose(bool deleteWindow) override;
  void OnDraw(wxDC*) override {}
  void OnChangeFilename() override;

  // Reads the command line (and "servidor.txt" for NULO) and goes to the
  // start address; called once the main window is up.
  void OnInitialUpdate();

  // A plain navigation to `address`.
  void Navigate(const std::string& address);

  std::string CurrentAddress() const;
  const std::string& RequestedAddress() const { return requested_; }

 private:
  CMainFrame* Frame() const;
  void OnTitleChange(wxWebViewEvent& event);
  void OnDocumentComplete(wxWebViewEvent& event);
  void OnGoBack(wxCommandEvent&);
  void OnGoForward(wxCommandEvent&);
  void OnStop(wxCommandEvent&);
  void OnRefresh(wxCommandEvent&);
  void OnGoStartPage(wxCommandEvent&);
  void OnFileOpen(wxCommandEvent&);
  void OnFilePrint(wxCommandEvent&);

  wxWebView* browser_ = nullptr;
  std::string requested_;
  std::string startPage_ = "about:blank";  // the browser's home: this run's start address

  wxDECLARE_DYNAMIC_CLASS(CWebrixView);
};
