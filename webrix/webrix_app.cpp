#include "webrix/webrix_app.h"

#include <wx/config.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "common/process_start.h"
#include "common/program_help.h"
#include "guicommon/about_box.h"
#include "guicommon/spanish_texts.h"
#include "webrix/commands.h"
#include "webrix/main_frame.h"
#include "webrix/res/webrix.xpm"
#include "webrix/start_address.h"
#include "webrix/webrix_doc.h"
#include "webrix/webrix_view.h"

wxIMPLEMENT_APP_NO_MAIN(CWebrixApp);

namespace {

constexpr common::ProgramHelp kHelp{
    "Webrix",
    "uso: Webrix FICHERO DIRECCION NUMERO\n"
    "Navegador de la suite. FICHERO debe existir (no se lee); DIRECCION es la p\xE1gina de\n"
    "inicio (una ruta local o una direcci\xF3n), o NULO para tomar la tercera palabra de\n"
    "servidor.txt en la carpeta actual; NUMERO no se usa.\n"};

// The recent-file list keeps four entries.
class WebrixDocManager : public wxDocManager {
 public:
  wxFileHistory* OnCreateFileHistory() override { return new wxFileHistory(4); }
};

}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return wxEntry(argc, argv);
}

bool CWebrixApp::OnInit() {
  // No wxApp::OnInit(): the command line is the program's own ("%s %s %d"),
  // not options for the toolkit's parser.
  SetAppName(webrix::kProgramName);
  SetVendorName("Local AppWizard-Generated Applications");
  wxInitAllImageHandlers();
  guicommon::useSpanishToolkitTexts();

  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(argv[i].utf8_string());
  std::vector<const char*> raw;
  for (const auto& a : args) raw.push_back(a.c_str());
  commandLine_ = webrix::joinArguments(static_cast<int>(raw.size()), raw.data());
  // Each argument is a field as given: a name with a blank stays one name.
  const webrix::CommandLine line = webrix::commandLineOf(
      args.empty() ? std::vector<std::string>{} : std::vector<std::string>(args.begin() + 1, args.end()));

  docManager_ = new WebrixDocManager;
  docManager_->SetMaxDocsOpen(1);
  new wxDocTemplate(docManager_, "Webrix", "*.*", "", "", "Webrix.Document", "Webrix Document", CLASSINFO(CWebrixDoc),
                    CLASSINFO(CWebrixView));
  docManager_->FileHistoryLoad(*wxConfig::Get());

  // The document named by token 1 must exist.
  if (line.words >= 1 && !wxFileName::FileExists(wxString::FromUTF8(line.document))) {
    wxMessageBox(wxString::FromUTF8(webrix::missingFileMessage(line.document)), webrix::kProgramName,
                 wxOK | wxICON_EXCLAMATION);
    failureStatus_ = 1;
    return true;
  }

  auto* frame = new CMainFrame(docManager_);
  SetTopWindow(frame);
  wxDocument* doc = nullptr;
  if (line.words >= 1) {
    wxString path = wxFileName(wxString::FromUTF8(line.document)).GetAbsolutePath();
    doc = docManager_->CreateDocument(path, wxDOC_SILENT);
  } else {
    doc = docManager_->CreateDocument(wxString(), wxDOC_NEW);
  }
  if (!doc || !doc->GetFirstView()) {
    frame->Destroy();
    failureStatus_ = 1;
    return true;
  }
  Bind(wxEVT_MENU, &CWebrixApp::OnAbout, this, wxID_ABOUT);
  frame->Show();
  static_cast<CWebrixDoc*>(doc)->setCommandLineText(commandLine_);
  static_cast<CWebrixDoc*>(doc)->setArguments(line);
  static_cast<CWebrixView*>(doc->GetFirstView())->initialUpdate();
  return true;
}

int CWebrixApp::OnRun() {
  if (failureStatus_ != 0) return failureStatus_;
  return wxApp::OnRun();
}

int CWebrixApp::OnExit() {
  if (docManager_) {
    if (failureStatus_ == 0) docManager_->FileHistorySave(*wxConfig::Get());
    delete docManager_;
    docManager_ = nullptr;
  }
  delete wxConfig::Set(nullptr);
  return wxApp::OnExit();
}

void CWebrixApp::OnAbout(wxCommandEvent&) {
  guicommon::showAboutBox(GetTopWindow(), "About Webrix", wxBitmap(webrix_xpm), "Webrix Version 1.0",
                          "Web browser of the continuous beam suite");
}
