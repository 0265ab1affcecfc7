#include "guicommon/guide.h"

#include <wx/msgdlg.h>

#include <string>

#include "common/page_viewer.h"
#include "guicommon/display_text.h"

namespace guicommon {

void showGuide(wxWindow* parent) {
  const std::string guide = common::installedGuide();
  const std::string failed = guide.empty() ? "la gu\xED"
                                             "a no est\xE1 instalada (share/vigas/guide.html junto a bin/)"
                                           : common::showPage(guide);
  if (!failed.empty())
    wxMessageBox(fromCp1252("No se puede mostrar la Gu\xED"
                            "a de Vigas: " +
                            failed),
                 fromCp1252("Gu\xED"
                            "a de Vigas"),
                 wxOK | wxICON_ERROR, parent);
}

}  // namespace guicommon
