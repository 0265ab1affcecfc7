#include <wx/msgdlg.h>

#include <cstdio>
#include <cstdlib>

#include "envolventes/app/ui_text.h"

namespace envelope {

void messageBox(const wxString& text, long style, wxWindow* parent) {
  if (const char* log = std::getenv("ENVOLVENTES_MESSAGE_LOG")) {
    if (FILE* out = std::fopen(log, "a")) {
      std::fputs(static_cast<const char*>(text.utf8_str()), out);
      std::fputs("\n--\n", out);
      std::fclose(out);
    }
  }
  wxMessageBox(text, appCaption(), wxOK | style, parent);
}

}  // namespace envelope
