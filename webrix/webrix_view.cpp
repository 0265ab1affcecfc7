#include "webrix_view.h"

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/msgdlg.h>
#include <wx/webview.h>

#include "commands.h"
#include "main_frame.h"
#include "start_address.h"
#include "webrix_app.h"

wxIMPLEMENT_DYNAMIC_CLASS(CWebrixView, wxView);

using namespace webrix;

bool CWebrixView::OnCreate(wxDocument* doc, long flags) {
  if (!wxView::OnCreate(doc, flags)) return false;
  auto* frame = wxDynamicCast(wxGetApp().GetTopWindow(), CMainFrame);
  if (!frame) return false;
  SetFrame(frame);
  browser_ = wxWebView::New(frame->BrowserParent(), wxID_ANY);
  if (!browser_) return false;
  frame->SetBrowser(browser_);
  browser_->Bind(wxEVT_WEBVIEW_TITLE_CHANGED, &CWebrixView::OnTitleChange, this);
  browser_->Bind(wxEVT_WEBVIEW_LOADED, &CWebrixView::OnDocumentComplete, this);

  Bind(wxEVT_MENU, &CWebrixView::OnGoBack, this, kBack);
  Bind(wxEVT_MENU, &CWebrixView::OnGoForward, this, kForward);
  Bind(wxEVT_MENU, &CWebrixView::OnStop, this, kStop);
  Bind(wxEVT_MENU, &CWebrixView::OnRefresh, this, kRefresh);
  Bind(wxEVT_MENU, &CWebrixView::OnGoStartPage, this, kStartPage);
  Bind(wxEVT_MENU, &CWebrixView::OnFileOpen, this, wxID_OPEN);
  Bind(wxEVT_MENU, &CWebrixView::OnFilePrint, this, wxID_PRINT);
  Activate(true);
  return true;
}

bool CWebrixView::OnClose(bool deleteWindow) {
  if (!wxView::OnClose(deleteWindow)) return false;
  Activate(false);
  return true;
}

CMainFrame* CWebrixView::Frame() const { return wxDynamicCast(GetFrame(), CMainFrame); }

void CWebrixView::OnChangeFilename() {
  if (Frame() && GetDocument()) Frame()->ShowDocumentTitle(GetDocument()->GetUserReadableName());
}

void CWebrixView::OnInitialUpdate() {
  StartAddress start = chooseStartAddress(parseCommandLine(wxGetApp().CommandLineText()),
                                          [] { return readServerFile(kServerFile); });
  startPage_ = start.address;
  Navigate(start.address);
  if (!start.problem.empty())
    wxMessageBox(wxString::FromUTF8(start.problem), kProgramName, wxOK | wxICON_INFORMATION, Frame());
}

void CWebrixView::Navigate(const std::string& typed) {
  // Plain names and paths are read as a browser's address box reads them.
  const std::string address = browserAddress(typed, wxGetCwd().utf8_string());
  requested_ = address;
  browser_->LoadURL(wxString::FromUTF8(address));
  Frame()->DumpState("navigate");
}

std::string CWebrixView::CurrentAddress() const { return browser_ ? browser_->GetCurrentURL().utf8_string() : ""; }

void CWebrixView::OnTitleChange(wxWebViewEvent& event) {
  // A page without a title is named by its address.
  wxString title = event.GetString().empty() ? browser_->GetCurrentURL() : event.GetString();
  GetDocument()->SetTitle(title);
  Frame()->ShowDocumentTitle(title);
  Frame()->DumpState("title");
}

void CWebrixView::OnDocumentComplete(wxWebViewEvent& event) {
  Frame()->SetAddressText(event.GetURL());
  Frame()->DumpState("complete");
}

void CWebrixView::OnGoBack(wxCommandEvent&) {
  if (browser_->CanGoBack()) browser_->GoBack();
}

void CWebrixView::OnGoForward(wxCommandEvent&) {
  if (browser_->CanGoForward()) browser_->GoForward();
}

void CWebrixView::OnStop(wxCommandEvent&) { browser_->Stop(); }

void CWebrixView::OnRefresh(wxCommandEvent&) { browser_->Reload(); }

void CWebrixView::OnGoStartPage(wxCommandEvent&) { Navigate(startPage_); }

void CWebrixView::OnFileOpen(wxCommandEvent&) {
  wxFileDialog dialog(Frame(), "Open", "", "", wxString::FromUTF8(fileDialogWildcard(kOpenFilter)),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  Navigate(wxFileSystem::FileNameToURL(wxFileName(dialog.GetPath())).utf8_string());
}

void CWebrixView::OnFilePrint(wxCommandEvent&) { browser_->Print(); }
