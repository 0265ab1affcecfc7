#pragma once
// Ayuda > Guía de Vigas of the window programs: the installed user guide,
// shown as every page of the suite is (common/page_viewer.h).
class wxWindow;

namespace guicommon {

inline constexpr const char* kGuideMenuText =
    "&Gu\xED"
    "a de Vigas\tF1";

// Shows the guide; a message box says why when it cannot.
void showGuide(wxWindow* parent);

}  // namespace guicommon
