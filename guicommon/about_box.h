#pragma once
// A small modal About box: the program's icon, a version line and a second
// line of text, and its button ("OK" as the launcher's and the browser's
// boxes have it; a Spanish program's says "Aceptar").
#include <wx/bitmap.h>
#include <wx/string.h>

class wxWindow;

namespace guicommon {

void showAboutBox(wxWindow* parent, const wxString& caption, const wxBitmap& icon, const wxString& versionLine,
                  const wxString& secondLine, const wxString& button = "OK");

}  // namespace guicommon
