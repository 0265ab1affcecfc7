#include <wx/msgdlg.h>

#include <cstdio>
#include <cstdlib>

#include "envolventes/app/ui_text.h"
#include "guicommon/display_text.h"

namespace envelope {

void messageBox(const wxString& text, long style, wxWindow* parent) {
  guicommon::logShownMessage("ENVOLVENTES_MESSAGE_LOG", text);
  wxMessageBox(text, appCaption(), wxOK | style, parent);
}

}  // namespace envelope
