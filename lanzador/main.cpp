// lanzador: shows its message, starts the connection program and the library
// updater, then hands over to the main program.
#include <gtk/gtk.h>
#include <wx/app.h>

#include "common/process_start.h"
#include "guicommon/project_folder.h"
#include "lanzador/launcher_frame.h"
#include "lanzador/texts.h"

namespace {

class LanzadorApp : public wxApp {
 public:
  bool OnInit() override {
    SetClassName(lanzador::kClassName);
    SetAppName(lanzador::kClassName);
    gdk_set_program_class(lanzador::kClassName);
    // Started from the desktop's menu: the suite's programs run in the
    // project folder asked for first.
    if (argc > 1 && argv[1] == guicommon::kAskFolderFlag && !guicommon::askProjectFolder()) {
      givenUp_ = true;  // nothing to run: the program ends at once, quietly
      return true;
    }
    auto* frame = new lanzador::LauncherFrame;
    SetTopWindow(frame);
    frame->Show();
    return true;
  }
  int OnRun() override { return givenUp_ ? 0 : wxApp::OnRun(); }

 private:
  bool givenUp_ = false;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(LanzadorApp);

int main(int argc, char** argv) {
  common::hardenProcess();
  return wxEntry(argc, argv);
}
