#include "guicommon/about_box.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace guicommon {

void showAboutBox(wxWindow* parent, const wxString& caption, const wxBitmap& icon, const wxString& versionLine,
                  const wxString& secondLine, const wxString& button) {
  wxDialog box(parent, wxID_ANY, caption);
  auto* text = new wxBoxSizer(wxVERTICAL);
  text->Add(new wxStaticText(&box, wxID_ANY, versionLine));
  text->Add(new wxStaticText(&box, wxID_ANY, secondLine), 0, wxTOP, 4);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticBitmap(&box, wxID_ANY, icon), 0, wxALL, 10);
  row->Add(text, 1, wxTOP | wxBOTTOM, 12);
  auto* ok = new wxButton(&box, wxID_OK, button);
  ok->SetDefault();
  row->Add(ok, 0, wxALL, 10);
  box.SetSizerAndFit(row);
  box.CentreOnParent();
  box.ShowModal();
}

}  // namespace guicommon
