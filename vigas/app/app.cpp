// vigas: the window program that makes, checks and analyses a beam.
#include <wx/app.h>
#include <wx/filename.h>

#include "common/process_start.h"
#include "common/program_help.h"
#include "guicommon/spanish_texts.h"
#include "vigas/app/frame.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

class VigasApp : public wxApp {
 public:
  bool OnInit() override {
    guicommon::useSpanishToolkitTexts();
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

namespace {
constexpr common::ProgramHelp kHelp{
    "vigas",
    "uso: vigas [MODELO.dat]\n"
    "Editor de vigas: hace, comprueba y calcula una viga (modelo y cargas en tablas, con su\n"
    "dibujo), con calcest, calcdin, informe y alternancias. MODELO.dat es el modelo que abre.\n"};
}  // namespace

wxIMPLEMENT_APP_NO_MAIN(vigas::app::VigasApp);

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return wxEntry(argc, argv);
}
