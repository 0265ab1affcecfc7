#include "vigas/app/ui_text.h"

#include <wx/msgdlg.h>
#include <wx/strconv.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vigas::app {

std::string toCp1252(const wxString& text) {
  std::string bytes;
  wxCSConv cp1252(wxFONTENCODING_CP1252);
  for (wxUniChar c : text) {
    const wxString one(c);
    const wxCharBuffer converted = one.mb_str(cp1252);
    bytes += converted.length() == 1 ? converted.data()[0] : '?';
  }
  return bytes;
}

bool readReal(const wxString& typed, double& value) {
  std::string text = toCp1252(typed.Strip(wxString::both));
  for (char& c : text)
    if (c == ',') c = '.';
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

int messageBox(const wxString& text, long style, wxWindow* parent) {
  guicommon::logShownMessage("VIGAS_MESSAGE_LOG", text);
  if (!(style & (wxYES_NO | wxCANCEL))) style |= wxOK;
  wxMessageDialog dialog(parent, text, "vigas", style);
  if (style & wxYES_NO) dialog.SetYesNoCancelLabels(fromCp1252("S\xED"), "No", "Cancelar");
  const int answer = dialog.ShowModal();
  return answer;
}

}  // namespace vigas::app
