#include "guicommon/display_text.h"

#include <cstdio>
#include <cstdlib>

#include "common/cp1252.h"

namespace guicommon {

using namespace common;

wxString fromCp1252(std::string_view cp1252) { return wxString::FromUTF8(cp1252ToUtf8(cp1252)); }

void logShownMessage(const char* variable, const wxString& text) {
  const char* log = std::getenv(variable);
  if (!log) return;
  if (FILE* out = std::fopen(log, "a")) {
    std::fputs(static_cast<const char*>(text.utf8_str()), out);
    std::fputs("\n--\n", out);
    std::fclose(out);
  }
}

}  // namespace guicommon
