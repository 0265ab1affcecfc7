#include "guicommon/spanish_texts.h"

#include <wx/intl.h>
#include <wx/translation.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace guicommon {

bool useSpanishToolkitTexts() {
  // The native widgets (stock buttons, message boxes, the file chooser) take
  // their texts from the desktop's catalogues: Spanish first. The C locale
  // would ignore that preference, its UTF-8 twin (always present) does not.
  setenv("LANGUAGE", "es", 1);
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  if (!messages || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0)
    std::setlocale(LC_MESSAGES, "C.UTF-8");
  auto* translations = new wxTranslations;
  translations->SetLanguage(wxLANGUAGE_SPANISH);
  const bool found = translations->AddStdCatalog();
  wxTranslations::Set(translations);  // takes it
  return found;
}

}  // namespace guicommon
