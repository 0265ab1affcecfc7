#pragma once
// The program's texts are Windows-1252 bytes (as in its files); wx wants
// Unicode. These turn one into the other where text reaches the screen.
#include <wx/string.h>

#include <string>

#include "guicommon/display_text.h"

class wxWindow;

namespace envelope {

using guicommon::fromCp1252;

// File names as the file system holds them (UTF-8), shown or typed in dialogs.
inline wxString fileNameText(const std::string& bytes) {
  wxString text = wxString::FromUTF8(bytes);
  return text.empty() && !bytes.empty() ? fromCp1252(bytes) : text;
}
inline std::string fileNameBytes(const wxString& text) { return std::string(text.utf8_str()); }

// Caption of the program's message boxes.
inline wxString appCaption() { return "envolventes"; }

// Shows a message box with an OK button. When ENVOLVENTES_MESSAGE_LOG names a
// file, the text is also appended to it (UTF-8, one message per record,
// ended by a line "--"), so that tests driving the real program can read what
// the person was told.
void messageBox(const wxString& text, long style, wxWindow* parent);

}  // namespace envelope
