// vigas: the window program that makes, checks and analyses a beam.
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/translation.h>

#include "common/process_start.h"
#include "vigas/app/frame.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

class VigasApp : public wxApp {
 public:
  bool OnInit() override {
    // The framework's own texts (file dialogs, standard buttons) in Spanish.
    auto* translations = new wxTranslations;
    translations->SetLanguage(wxLANGUAGE_SPANISH);
    translations->AddStdCatalog();
    wxTranslations::Set(translations);
    SetAppName("vigas");
    auto* frame = new MainFrame;
    SetTopWindow(frame);
    frame->Maximize();
    frame->Show();
    if (argc > 1) {
      wxFileName path(argv[1]);
      path.MakeAbsolute();
      frame->openFile(fileNameBytes(path.GetFullPath()));
    }
    return true;
  }
};

}  // namespace vigas::app

wxIMPLEMENT_APP_NO_MAIN(vigas::app::VigasApp);

int main(int argc, char** argv) {
  common::hardenProcess();
  return wxEntry(argc, argv);
}
