#pragma once
// The program's texts are Windows-1252 bytes (as in its files); wx wants
// Unicode. These turn one into the other where text reaches the screen.
#include <wx/string.h>

#include <string>

#include "cp1252.h"

inline wxString ui(const std::string& cp1252) { return wxString::FromUTF8(cp1252ToUtf8(cp1252)); }

// File names as the file system holds them (UTF-8), shown or typed in dialogs.
inline wxString fileNameText(const std::string& bytes) {
  wxString text = wxString::FromUTF8(bytes);
  return text.empty() && !bytes.empty() ? ui(bytes) : text;
}
inline std::string fileNameBytes(const wxString& text) { return std::string(text.utf8_str()); }

// Caption of the program's message boxes.
inline wxString appCaption() { return "envolventes"; }
