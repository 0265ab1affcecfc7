#include "guicommon/project_folder.h"

#include <wx/dirdlg.h>
#include <wx/fileconf.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <cstring>

#include "guicommon/display_text.h"

namespace guicommon {

namespace {
// The suite's window programs share the remembered folder.
const char* const kConfigName = "vigas";
const char* const kLastFolderKey = "/Carpetas/Ultima";
}  // namespace

bool takeAskFolderFlag(int& argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], kAskFolderFlag) != 0) return false;
  for (int k = 1; k < argc; ++k) argv[k] = argv[k + 1];  // argv[argc] is the null pointer
  --argc;
  return true;
}

bool askProjectFolder() {
  wxFileConfig config(kConfigName);
  wxString last = config.Read(kLastFolderKey, wxString());
  if (last.empty() || !wxDirExists(last)) last = wxGetHomeDir();
  for (;;) {
    wxDirDialog dialog(nullptr, fromCp1252("Elija la carpeta del proyecto"), last,
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return false;
    const wxString folder = dialog.GetPath();
    if (wxSetWorkingDirectory(folder)) {
      config.Write(kLastFolderKey, folder);
      config.Flush();
      return true;
    }
    wxMessageBox(fromCp1252("No se puede entrar en la carpeta ") + folder, fromCp1252("Carpeta del proyecto"),
                 wxOK | wxICON_EXCLAMATION);
    last = folder;
  }
}

}  // namespace guicommon
