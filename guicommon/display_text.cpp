#include "guicommon/display_text.h"

#include "common/cp1252.h"

namespace guicommon {

using namespace common;

wxString fromCp1252(std::string_view cp1252) { return wxString::FromUTF8(cp1252ToUtf8(cp1252)); }

}  // namespace guicommon
