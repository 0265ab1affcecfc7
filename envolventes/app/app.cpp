#include <wx/config.h>
#include <wx/filehistory.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "common/process_start.h"
#include "common/program_help.h"
#include "envolventes/app/dialogs.h"
#include "guicommon/project_folder.h"
#include "guicommon/spanish_texts.h"
#include "envolventes/app/ui_text.h"
#include "envolventes/app/viewer.h"

namespace {
// Started from the desktop's menu: the project folder is asked for first, and
// a start given up there ends the program quietly.
bool askFolderFirst = false, folderGivenUp = false;
}  // namespace

namespace envelope {

using namespace common;

const char kDocumentString[] = "envolventes\n\nEnvolv\n\n\nEnvolventes.Document\nEnvolv Document";
const char kRegistryKey[] = "Local AppWizard-Generated Applications";

namespace {

constexpr int kRecentFiles = 4;

// Field `index` of the document string (fields are separated by '\n').
wxString documentField(int index) {
  wxArrayString fields = wxSplit(kDocumentString, '\n', '\0');
  return index < static_cast<int>(fields.size()) ? fields[index] : wxString();
}

// The framework's message for a document file that does not exist.
void showMissingFile(const wxString& file) {
  wxString text =
      fromCp1252("%1\nImposible encontrar este archivo.\nCompruebe que la ruta y el nombre de archivo son correctos");
  text.Replace("%1", file);
  messageBox(text, wxICON_EXCLAMATION, nullptr);
}

}  // namespace

bool CEnvolventesApp::OnInit() {
  for (int k = 1; k < argc; ++k) {
    if (k > 1) commandLine_ += ' ';
    commandLine_ += fileNameBytes(argv[k]);
  }
  envelopeState_ = std::make_unique<EnvelopeState>();
  guicommon::useSpanishToolkitTexts();  // print preview, progress box
  if (askFolderFirst && !guicommon::askProjectFolder()) {
    folderGivenUp = true;
    return false;
  }
  SetAppName("envolventes");
  SetAppDisplayName(documentField(0));

  // Recent files are kept under the same key on every platform.
  wxConfigBase::Set(new wxFileConfig(kRegistryKey));
  docManager_ = new CEnvolventesDocManager;
  new wxDocTemplate(docManager_, "Todos los archivos", "*.*", "", "", documentField(5), documentField(6),
                    wxCLASSINFO(CEnvolventesDoc), wxCLASSINFO(CEnvolventesView));

  auto* frame = new CMainFrame(docManager_, documentField(0));
  SetTopWindow(frame);
  wxConfigBase* config = wxConfigBase::Get();
  config->SetPath("/Recent File List");
  docManager_->FileHistoryLoad(*config);
  config->SetPath("/");

  if (!processCommandLine()) {
    frame->Destroy();
    return false;
  }
  if (exitStatus_ != 0) return true;  // the start-up flow ended the program: OnRun returns at once
  frame->Maximize();
  frame->Show();
  frame->Update();
  return true;
}

// A file named first is opened as the document (it must exist); without one
// the program starts with a new document. Either way the view's start-up flow
// runs before the window is first shown.
bool CEnvolventesApp::processCommandLine() {
  wxString file;
  if (argc > 1 && !argv[1].StartsWith("-")) file = argv[1];
  if (file.empty()) return docManager_->CreateNewDocument() != nullptr;
  if (!wxFileName::FileExists(file)) {
    showMissingFile(file);
    return false;
  }
  // The recent-file list keeps the full path, so it works from any directory.
  wxFileName path(file);
  path.MakeAbsolute();
  return docManager_->CreateDocument(path.GetFullPath(), wxDOC_SILENT) != nullptr;
}

void CEnvolventesApp::endWithStatus(int status) {
  exitStatus_ = status;
  if (IsMainLoopRunning()) ExitMainLoop();
}

int CEnvolventesApp::OnRun() {
  if (exitStatus_ != 0) return exitStatus_;
  int status = wxApp::OnRun();
  return exitStatus_ != 0 ? exitStatus_ : status;
}

const wxBitmap& CEnvolventesApp::bannerBitmap(int id) {
  auto found = banners_.find(id);
  if (found == banners_.end()) found = banners_.emplace(id, drawBannerBitmap(id)).first;
  return found->second;
}

int CEnvolventesApp::OnExit() {
  banners_.clear();  // bitmaps go before the toolkit does
  if (docManager_) {
    // Documents still open (the program ended from within the start-up flow)
    // close while their window is still there.
    docManager_->CloseDocuments(true);
    wxConfigBase* config = wxConfigBase::Get();
    config->SetPath("/Recent File List");
    docManager_->FileHistorySave(*config);
    config->SetPath("/");
    delete docManager_;
    docManager_ = nullptr;
  }
  delete wxConfigBase::Set(nullptr);
  return wxApp::OnExit();
}

void CEnvolventesApp::OnAbout(wxCommandEvent&) {
  CAboutDlg about(GetTopWindow());
  about.ShowModal();
}

// ---------------------------------------------------------------- manager

CEnvolventesDocManager::CEnvolventesDocManager() : wxDocManager(0, false) {
  Initialize();  // here, not in the base, so that our file history (4 entries) is made
  SetMaxDocsOpen(1);
}

wxString CEnvolventesDocManager::MakeNewDocumentName() { return fromCp1252("Sin t\xEDtulo"); }

wxFileHistory* CEnvolventesDocManager::OnCreateFileHistory() { return new wxFileHistory(kRecentFiles); }

// ---------------------------------------------------------------- document

wxIMPLEMENT_DYNAMIC_CLASS(CEnvolventesDoc, wxDocument);

bool CEnvolventesDoc::OnNewDocument() {
  if (!wxDocument::OnNewDocument()) return false;
  initialUpdate();
  return true;
}

bool CEnvolventesDoc::OnOpenDocument(const wxString& file) {
  if (!wxDocument::OnOpenDocument(file)) return false;
  initialUpdate();
  return true;
}

void CEnvolventesDoc::initialUpdate() {
  if (auto* view = wxDynamicCast(GetFirstView(), CEnvolventesView)) view->initialUpdate();
}

bool CEnvolventesDoc::DoSaveDocument(const wxString& file) {
  FILE* out = std::fopen(fileNameBytes(file).c_str(), "w");
  if (!out) {
    messageBox(fromCp1252("No se puede guardar el archivo ") + file, wxICON_EXCLAMATION, nullptr);
    return false;
  }
  std::fclose(out);
  return true;
}

bool CEnvolventesDoc::DoOpenDocument(const wxString& file) {
  if (wxFileName::FileExists(file)) return true;
  showMissingFile(file);
  return false;
}

}  // namespace envelope

// At global scope, where the toolkit declares what this defines.
wxIMPLEMENT_APP_NO_MAIN(envelope::CEnvolventesApp);

namespace {
constexpr common::ProgramHelp kHelp{
    "envolventes",
    "uso: envolventes [--carpeta] FICHERO TIPO\n"
    "Visor de envolventes de hasta 50 proyectos calculados de una viga. FICHERO es un fichero\n"
    "que existe (el documento, que no se lee); TIPO el diagrama: 1 flechas, 2 momentos\n"
    "flectores, 3 cortantes y reacciones. Unos di\xE1logos piden el \xE1rea del dibujo, la\n"
    "envolvente y sus proyectos. --carpeta pregunta antes la carpeta de los proyectos.\n"};
}  // namespace

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  askFolderFirst = guicommon::takeAskFolderFlag(argc, argv);
  // Any failure to start (a missing document file) ends with status 1.
  const int status = wxEntry(argc, argv);
  return status == 0 || folderGivenUp ? 0 : 1;
}
