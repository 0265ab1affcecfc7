#pragma once
// The envelope viewer on the wx document/view classes: the application, an
// empty document, the main frame with its scrolled drawing window, and the
// view that runs the start-up flow and paints the diagram.
#include <wx/app.h>
#include <wx/cmndata.h>
#include <wx/docview.h>
#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <map>
#include <memory>
#include <string>

#include "envolventes/engine/envelope_state.h"
#include "envolventes/app/startup_flow.h"
#include "pictures/canvas.h"

namespace envelope {

class CEnvolventesView;

// The document template's string: title, document name, filter name, filter
// extension, file type id, file type name (the filter fields are empty).
extern const char kDocumentString[];
extern const char kRegistryKey[];  // "Local AppWizard-Generated Applications"

class CEnvolventesApp : public wxApp {
 public:
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // The part of the command line after the program name, words joined by blanks.
  const std::string& commandLine() const { return commandLine_; }
  ViewerState& viewerState() { return viewerState_; }
  EnvelopeState& envelopeState() { return *envelopeState_; }
  wxDocManager* docManager() const { return docManager_; }

  void OnAbout(wxCommandEvent& event);

  // Ends the program with `status` through the normal way out (OnExit saves
  // the recent files): the main loop is left, or never entered when start-up
  // is still under way.
  void endWithStatus(int status);

  // The dialogs' banner pictures, drawn once for the whole run.
  const wxBitmap& bannerBitmap(int id);

 private:
  bool processCommandLine();

  std::string commandLine_;
  ViewerState viewerState_;
  std::unique_ptr<EnvelopeState> envelopeState_;
  wxDocManager* docManager_ = nullptr;
  std::map<int, wxBitmap> banners_;
  int exitStatus_ = 0;
};

// Single-document manager: Spanish untitled name, 4 recent files.
class CEnvolventesDocManager : public wxDocManager {
 public:
  CEnvolventesDocManager();
  wxString MakeNewDocumentName() override;
  wxFileHistory* OnCreateFileHistory() override;
};

// Holds no data: saving writes an empty file, opening reads nothing.
class CEnvolventesDoc : public wxDocument {
 public:
  bool OnNewDocument() override;
  bool OnOpenDocument(const wxString& file) override;

 protected:
  bool DoSaveDocument(const wxString& file) override;
  bool DoOpenDocument(const wxString& file) override;

 private:
  void initialUpdate();
  wxDECLARE_DYNAMIC_CLASS(CEnvolventesDoc);
};

// The scrolled window the view draws in; it lives as long as the frame.
class DiagramWindow : public wxScrolledWindow {
 public:
  explicit DiagramWindow(wxWindow* parent);
  void setView(CEnvolventesView* view) { view_ = view; }
  void OnDraw(wxDC& dc) override;

 private:
  CEnvolventesView* view_ = nullptr;
};

class CMainFrame : public wxDocParentFrame {
 public:
  CMainFrame(wxDocManager* manager, const wxString& title);
  DiagramWindow* diagramWindow() const { return diagram_; }

 private:
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void OnUpdateIndicators(wxTimerEvent& event);
  void OnViewToolbar(wxCommandEvent& event);
  void OnViewStatusBar(wxCommandEvent& event);

  DiagramWindow* diagram_;
  wxTimer indicatorTimer_;
};

class CEnvolventesView : public wxView {
 public:
  bool OnCreate(wxDocument* doc, long flags) override;
  bool OnClose(bool deleteWindow) override;
  void OnDraw(wxDC* dc) override;
  wxPrintout* OnCreatePrintout() override;
  void OnChangeFilename() override;

  // The start-up flow, then the envelope engine.
  void initialUpdate();

 private:
  DiagramWindow* canvas_ = nullptr;  // the frame's, borrowed from OnCreate to OnClose
  std::string reportedScriptError_;  // the script whose error was last shown
  wxDECLARE_DYNAMIC_CLASS(CEnvolventesView);
};

// Screen canvas of the envelope drawing.
class WxDcCanvas : public pictures::Canvas {
 public:
  explicit WxDcCanvas(wxDC& dc) : dc_(dc) {}
  // A diagram's pass: a group whose class names its pen.
  void beginGroup(const pictures::Group& pass) override;
  void endGroup() override;
  void line(pictures::Point a, pictures::Point b, const pictures::Style&) override;
  void text(pictures::Point at, const std::string& cp1252, const pictures::Style& style, pictures::Anchor,
            const std::string&) override;

 private:
  wxDC& dc_;
  wxPen previousPen_;
};

}  // namespace envelope

// The toolkit declares the application factory at global scope; wxGetApp() lives beside it.
wxDECLARE_APP(envelope::CEnvolventesApp);
