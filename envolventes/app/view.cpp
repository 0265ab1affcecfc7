#include <wx/dc.h>
#include <wx/msgdlg.h>
#include <wx/print.h>

#include <optional>

#include "envolventes/engine/diagram.h"
#include "envolventes/app/dialogs.h"
#include "envolventes/engine/envelope_run.h"
#include "envolventes/app/ui_text.h"
#include "envolventes/app/viewer.h"

namespace envelope {

using namespace common;

namespace {

// The flow's questions, asked with the viewer's dialogs.
class DialogQuestions : public StartupQuestions {
 public:
  explicit DialogQuestions(wxWindow* parent) : parent_(parent) {}

  bool askScreenSize(int banner, int& height, int& width) override {
    CScreenSizeDlg dialog(parent_);
    dialog.m_nBanner = banner;
    dialog.m_nHeight = height;
    dialog.m_nWidth = width;
    if (dialog.ShowModal() != wxID_OK) return false;
    height = dialog.m_nHeight;
    width = dialog.m_nWidth;
    return true;
  }
  bool askExisting(int banner) override {
    CEnvelopeModeDlg dialog(parent_);
    dialog.m_nBanner = banner;
    dialog.ShowModal();
    return dialog.m_bExisting == 1;
  }
  bool askEnvelopeName(std::string& name) override {
    CEnvelopeNameDlg dialog(parent_);
    dialog.m_strName = fileNameText(name);
    if (dialog.ShowModal() != wxID_OK) return false;
    name = fileNameBytes(dialog.m_strName);
    return true;
  }
  bool askEnvelopeList(int banner, std::string& name) override {
    CEnvelopeListDlg dialog(parent_);
    dialog.m_nBanner = banner;
    dialog.m_strName = fileNameText(name);
    if (dialog.ShowModal() != wxID_OK) return false;
    name = fileNameBytes(dialog.m_strName);
    return true;
  }
  bool askProject(int banner, std::string& name) override {
    CProjectSelectDlg dialog(parent_);
    dialog.m_nBanner = banner;
    dialog.m_strName = fileNameText(name);
    if (dialog.ShowModal() != wxID_OK) return false;
    name = fileNameBytes(dialog.m_strName);
    return true;
  }
  void showName(const std::string& name) override { messageBox(fileNameText(name), wxICON_NONE, parent_); }
  void showMessage(const std::string& text) override { messageBox(fromCp1252(text), wxICON_EXCLAMATION, parent_); }

 private:
  wxWindow* parent_;
};

class MessageBoxSink : public MessageSink {
 public:
  void showMessage(const std::string& text) override {
    messageBox(fromCp1252(text), wxICON_EXCLAMATION, wxGetApp().GetTopWindow());
    last = text;
  }
  std::string last;
};

// The drawing, fitted to the printed page; printing writes the script too.
class CEnvolventesPrintout : public wxPrintout {
 public:
  explicit CEnvolventesPrintout(CEnvolventesView* view) : wxPrintout("envolventes"), view_(view) {}
  bool OnPrintPage(int page) override {
    if (page != 1) return false;
    const auto& state = wxGetApp().viewerState();
    FitThisSizeToPageMargins(wxSize(state.drawingWidth, state.drawingHeight),
                             wxGetApp().docManager()->GetPageSetupDialogData());
    view_->OnDraw(GetDC());
    return true;
  }
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override { *minPage = *maxPage = *from = *to = 1; }

 private:
  CEnvolventesView* view_;
};

}  // namespace

// ---------------------------------------------------------------- window

DiagramWindow::DiagramWindow(wxWindow* parent) : wxScrolledWindow(parent, wxID_ANY) {
  SetBackgroundColour(*wxWHITE);
  SetScrollRate(10, 10);
  SetVirtualSize(kDrawingWidth.preset, kDrawingHeight.preset);
}

void DiagramWindow::OnDraw(wxDC& dc) {
  if (view_) view_->OnDraw(&dc);
}

// ---------------------------------------------------------------- view

wxIMPLEMENT_DYNAMIC_CLASS(CEnvolventesView, wxView);

// One frame and one drawing window serve every document: the view borrows
// the window while it lives.
bool CEnvolventesView::OnCreate(wxDocument*, long) {
  SetFrame(wxGetApp().GetTopWindow());
  if (auto* frame = wxDynamicCast(GetFrame(), CMainFrame)) {
    canvas_ = frame->diagramWindow();
    canvas_->setView(this);
  }
  return true;
}

bool CEnvolventesView::OnClose(bool deleteWindow) {
  if (!wxView::OnClose(deleteWindow)) return false;
  if (canvas_) {
    canvas_->setView(nullptr);
    canvas_->Refresh();
    canvas_ = nullptr;
  }
  return true;
}

void CEnvolventesView::initialUpdate() {
  CEnvolventesApp& app = wxGetApp();
  ViewerState& viewer = app.viewerState();
  wxWindow* frame = app.GetTopWindow();
  DialogQuestions questions(frame && frame->IsShown() ? frame : nullptr);

  int kind = diagramKindFromCommandLine(app.commandLine());
  FlowResult result = runStartupFlow(kind, questions, viewer);

  if (canvas_) {
    canvas_->Scroll(0, 0);
    canvas_->SetVirtualSize(viewer.drawingWidth, viewer.drawingHeight);
  }
  reportedScriptError_.clear();

  // The drawing and its scripts stay those of the last complete envelope.
  if (result == FlowResult::Ready) {
    MessageBoxSink sink;
    RunOutcome outcome = runViewerEnvelope(viewer, app.envelopeState(), sink);
    if (outcome == RunOutcome::SelectionError) {
      if (sink.last.rfind(kSelectionErrorText, 0) != 0) sink.showMessage(kSelectionErrorText);
      viewer.closeListFile();
      app.endWithStatus(exitStatusFor(outcome));
      return;
    }
  }
  if (canvas_) canvas_->Refresh();
}

void CEnvolventesView::OnDraw(wxDC* dc) {
  CEnvolventesApp& app = wxGetApp();
  int kind = diagramKindFromCommandLine(app.commandLine());
  RecordingMessageSink messages;
  WxDcCanvas screen(*dc);
  DrawOutcome outcome = paintDiagram(app.envelopeState(), kind, screen, messages);
  if (outcome == DrawOutcome::Drawn || messages.messages.empty()) return;
  // A message box over the window would bring the next repaint, and with it the
  // same error again: each failing script is reported once, after the paint.
  std::string failing = "#" + app.envelopeState().scriptName(kind);
  if (failing == reportedScriptError_) return;
  reportedScriptError_ = failing;
  std::string text = messages.messages.front();
  app.CallAfter([text] { messageBox(fromCp1252(text), wxICON_EXCLAMATION, wxGetApp().GetTopWindow()); });
}

// The caption names the document, then the program.
void CEnvolventesView::OnChangeFilename() {
  if (GetFrame() && GetDocument())
    GetFrame()->SetLabel(GetDocument()->GetUserReadableName() + " - " + wxGetApp().GetAppDisplayName());
}

wxPrintout* CEnvolventesView::OnCreatePrintout() { return new CEnvolventesPrintout(this); }

// ---------------------------------------------------------------- canvas

void WxDcCanvas::beginGroup(const pictures::Group& pass) {
  const Colour pen = colourOf(pass.cls);
  previousPen_ = dc_.GetPen();
  dc_.SetPen(wxPen(wxColour(pen.r, pen.g, pen.b), 1, wxPENSTYLE_SOLID));
  dc_.SetFont(*wxNORMAL_FONT);
}

void WxDcCanvas::endGroup() {
  if (previousPen_.IsOk()) dc_.SetPen(previousPen_);
}

void WxDcCanvas::line(pictures::Point a, pictures::Point b, const pictures::Style&) {
  dc_.DrawLine(static_cast<int>(a.x.v), static_cast<int>(a.y.v), static_cast<int>(b.x.v), static_cast<int>(b.y.v));
}

void WxDcCanvas::text(pictures::Point at, const std::string& cp1252, const pictures::Style& style, pictures::Anchor,
                      const std::string&) {
  const Colour colour = colourOf(style.cls);
  dc_.SetTextForeground(wxColour(colour.r, colour.g, colour.b));
  dc_.DrawText(fromCp1252(cp1252), static_cast<int>(at.x.v), static_cast<int>(at.y.v));
}

}  // namespace envelope
