#include "texts.h"

#include "cp1252.h"

namespace lanzador {

wxString fromCp1252(const char* text) { return wxString::FromUTF8(cp1252ToUtf8(text)); }

}  // namespace lanzador
