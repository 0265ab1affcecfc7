#pragma once
// Texts between the core (Windows-1252 bytes, as in the suite's files) and the
// toolkit (Unicode), file names (UTF-8 as the file system holds them), and the
// program's message boxes.
#include <wx/string.h>

#include <string>

#include "guicommon/display_text.h"

class wxWindow;

namespace vigas::app {

using guicommon::fromCp1252;

// What a person typed, as the core's Windows-1252 bytes ('?' for a character
// that code page has not).
std::string toCp1252(const wxString& text);

// A real as typed (a decimal comma is taken as a point); false when it is none.
bool readReal(const wxString& typed, double& value);

inline wxString fileNameText(const std::string& bytes) {
  wxString text = wxString::FromUTF8(bytes);
  return text.empty() && !bytes.empty() ? fromCp1252(bytes) : text;
}
inline std::string fileNameBytes(const wxString& text) { return std::string(text.utf8_str()); }

// Shows a message box; `style` adds the icon and the buttons (wxOK when none
// is named). Returns the button pressed (wxID_YES, wxID_NO, wxID_CANCEL,
// wxID_OK). When VIGAS_MESSAGE_LOG names a file, the text is also appended to
// it (UTF-8, each message ended by a line "--"), so that tests driving the
// real program can read what the person was told.
int messageBox(const wxString& text, long style, wxWindow* parent);

}  // namespace vigas::app
