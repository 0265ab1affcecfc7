#pragma once
// The suite's texts are Windows-1252 bytes, as in its files; the toolkit wants
// Unicode. This is the one place where such text becomes a display string.
#include <wx/string.h>

#include <string_view>

namespace guicommon {

wxString fromCp1252(std::string_view cp1252);

// Appends a message box's text and a "--" line to the file the environment
// variable names, when it names one: how the GUI tests read what was shown.
void logShownMessage(const char* variable, const wxString& text);

}  // namespace guicommon
