// lanzador: shows its message, starts the connection program and the library
// updater, then hands over to the main program.
#include <gtk/gtk.h>
#include <wx/app.h>

#include <string>
#include <vector>

#include "common/process_start.h"
#include "common/program_help.h"
#include "guicommon/project_folder.h"
#include "guicommon/spanish_texts.h"
#include "lanzador/launch_sequence.h"
#include "lanzador/launcher_frame.h"
#include "lanzador/texts.h"

namespace {

class LanzadorApp : public wxApp {
 public:
  bool OnInit() override {
    SetClassName(lanzador::kClassName);
    SetAppName(lanzador::kClassName);
    gdk_set_program_class(lanzador::kClassName);
    guicommon::useSpanishToolkitTexts();
    // Started from the desktop's menu: the suite's programs run in the
    // project folder asked for first.
    if (argc > 1 && argv[1] == guicommon::kAskFolderFlag && !guicommon::askProjectFolder()) {
      givenUp_ = true;  // nothing to run: the program ends at once, quietly
      return true;
    }
    std::vector<std::string> args;
    for (int k = 1; k < argc; ++k) args.push_back(argv[k].utf8_string());
    auto* frame = new lanzador::LauncherFrame(lanzador::parseOptions(args));
    SetTopWindow(frame);
    frame->Show();
    return true;
  }
  int OnRun() override { return givenUp_ ? 0 : wxApp::OnRun(); }

 private:
  bool givenUp_ = false;
};

constexpr common::ProgramHelp kHelp{
    "lanzador",
    "uso: lanzador [--carpeta] [--principal PROGRAMA]\n"
    "Avisa \"Actualiza LIBRERIAS y ejecuta PROGRAMA PRINCIPAL\" y ejecuta desde la carpeta\n"
    "actual conexion.exe y kaltrozip.exe, esperando a cada uno, y arranca kaltro.exe sin\n"
    "esperarlo. --carpeta pregunta antes la carpeta del proyecto. --principal PROGRAMA\n"
    "arranca, en lugar de kaltro.exe, el programa de la suite PROGRAMA (tomado como los\n"
    "programas de la suite toman los dem\xE1s) y avisa de los que no est\xE1n.\n"};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(LanzadorApp);

int main(int argc, char** argv) {
  common::hardenProcess();
  if (common::answeredHelpOrVersion(argc, argv, kHelp)) return 0;
  return wxEntry(argc, argv);
}
