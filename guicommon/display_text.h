#pragma once
// The suite's texts are Windows-1252 bytes, as in its files; the toolkit wants
// Unicode. This is the one place where such text becomes a display string.
#include <wx/string.h>

#include <string_view>

namespace guicommon {

wxString fromCp1252(std::string_view cp1252);

}  // namespace guicommon
