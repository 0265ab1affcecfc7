#include "webrix/webrix_view.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/msgdlg.h>
#include <wx/webview.h>

#include <cstdlib>

#include "webrix/commands.h"
#include "webrix/start_address.h"
#include "webrix/state_dump.h"

wxIMPLEMENT_DYNAMIC_CLASS(CWebrixView, wxView);

using namespace webrix;

// One main window and one browser serve the document: the view borrows the
// browser while it lives.
bool CWebrixView::OnCreate(wxDocument* doc, long flags) {
  if (!wxView::OnCreate(doc, flags)) return false;
  wxWindow* window = wxTheApp->GetTopWindow();
  frame_ = dynamic_cast<BrowserFrame*>(window);
  if (!frame_) return false;
  SetFrame(window);
  browser_ = frame_->browser();
  if (!browser_) return false;
  if (const char* path = std::getenv(kStateVariable)) statePath_ = path;
  browser_->Bind(wxEVT_WEBVIEW_TITLE_CHANGED, &CWebrixView::OnTitleChange, this);
  browser_->Bind(wxEVT_WEBVIEW_LOADED, &CWebrixView::OnDocumentComplete, this);

  Bind(wxEVT_MENU, &CWebrixView::OnGoTypedAddress, this, kGoTypedAddress);
  Bind(wxEVT_MENU, &CWebrixView::OnGoListedAddress, this, kGoListedAddress);

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
  if (browser_) {
    browser_->Unbind(wxEVT_WEBVIEW_TITLE_CHANGED, &CWebrixView::OnTitleChange, this);
    browser_->Unbind(wxEVT_WEBVIEW_LOADED, &CWebrixView::OnDocumentComplete, this);
    browser_ = nullptr;
  }
  frame_ = nullptr;
  return true;
}

CWebrixDoc* CWebrixView::document() const { return wxStaticCast(wxView::GetDocument(), CWebrixDoc); }

void CWebrixView::OnChangeFilename() {
  if (frame_ && GetDocument()) frame_->showDocumentTitle(GetDocument()->GetUserReadableName());
}

void CWebrixView::initialUpdate() {
  StartAddress start = chooseStartAddress(document()->arguments(), [] { return readServerFile(kServerFile); });
  startPage_ = start.address;
  navigate(start.address);
  if (!start.problem.empty())
    wxMessageBox(wxString::FromUTF8(start.problem), kProgramName, wxOK | wxICON_INFORMATION, GetFrame());
}

void CWebrixView::navigate(const std::string& typed) {
  // Plain names and paths are read as a browser's address box reads them.
  const std::string address = browserAddress(typed, wxGetCwd().utf8_string());
  requested_ = address;
  browser_->LoadURL(wxString::FromUTF8(address));
  dumpState("navigate");
}

void CWebrixView::OnGoTypedAddress(wxCommandEvent& event) {
  dumpState("entry-added");  // the frame has put the text into the list
  navigate(event.GetString().utf8_string());
}

void CWebrixView::OnGoListedAddress(wxCommandEvent& event) { navigate(event.GetString().utf8_string()); }

void CWebrixView::dumpState(const char* event) {
  if (statePath_.empty() || !frame_) return;
  BrowserState state;
  state.event = event;
  frame_->describeWindow(state);
  state.url = browser_ ? browser_->GetCurrentURL().utf8_string() : "";
  state.requested = requested_;
  writeStateFile(statePath_, state);
}

void CWebrixView::OnTitleChange(wxWebViewEvent& event) {
  // A page without a title is named by its address.
  wxString title = event.GetString().empty() ? browser_->GetCurrentURL() : event.GetString();
  GetDocument()->SetTitle(title);
  frame_->showDocumentTitle(title);
  dumpState("title");
}

void CWebrixView::OnDocumentComplete(wxWebViewEvent& event) {
  frame_->setAddressText(event.GetURL());
  dumpState("complete");
}

void CWebrixView::OnGoBack(wxCommandEvent&) {
  if (browser_->CanGoBack()) browser_->GoBack();
}

void CWebrixView::OnGoForward(wxCommandEvent&) {
  if (browser_->CanGoForward()) browser_->GoForward();
}

void CWebrixView::OnStop(wxCommandEvent&) { browser_->Stop(); }

void CWebrixView::OnRefresh(wxCommandEvent&) { browser_->Reload(); }

void CWebrixView::OnGoStartPage(wxCommandEvent&) { navigate(startPage_); }

void CWebrixView::OnFileOpen(wxCommandEvent&) {
  wxFileDialog dialog(GetFrame(), "Open", "", "", wxString::FromUTF8(fileDialogWildcard(kOpenFilter)),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  navigate(wxFileSystem::FileNameToURL(wxFileName(dialog.GetPath())).utf8_string());
}

void CWebrixView::OnFilePrint(wxCommandEvent&) { browser_->Print(); }
