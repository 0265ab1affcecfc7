// lanzador: shows its message, starts the connection program and the library
// updater, then hands over to the main program.
#include <gtk/gtk.h>
#include <wx/app.h>

#include "lanzador/launcher_frame.h"
#include "lanzador/texts.h"

namespace {

class LanzadorApp : public wxApp {
 public:
  bool OnInit() override {
    SetClassName(lanzador::kClassName);
    SetAppName(lanzador::kClassName);
    gdk_set_program_class(lanzador::kClassName);
    auto* frame = new lanzador::LauncherFrame;
    SetTopWindow(frame);
    frame->Show();
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP(LanzadorApp);
