#include "vigas/app/envelope.h"

#include <wx/bmpbndl.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/dcmemory.h>
#include <wx/textctrl.h>

#include <cstring>
#include <regex>

#include "common/run_error.h"
#include "common/whole_file.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

namespace {

const CaseRole kRoles[] = {CaseRole::permanent, CaseRole::variable, CaseRole::unused};
const char* const kRoleNames[] = {"permanente", "variable", "no se usa"};

const char* const kPictureTitles[] = {"Flechas (combinaci\xF3n caracter\xEDstica)", "Momentos flectores",
                                      "Esfuerzos cortantes"};

std::string unescapeXml(std::string text) {
  const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::strlen(entity), character);
  return text;
}

// A picture as alternancias drew it, at its own size: its lines through the
// toolkit's SVG rasteriser, which leaves text out, then its labels written
// where the file places them (top-left corner, 11-pixel monospace).
wxBitmap svgPicture(const std::string& path) {
  std::string svg;
  try {
    svg = common::readWholeFile(path);
  } catch (const common::RunError&) {
    return wxBitmap();
  }
  std::smatch size;
  if (!std::regex_search(svg, size, std::regex("<svg[^>]* width=\"(\\d+)\" height=\"(\\d+)\""))) return wxBitmap();
  const wxSize natural(std::min(20000, std::stoi(size[1])), std::min(2000, std::stoi(size[2])));
  const wxBitmapBundle lines = wxBitmapBundle::FromSVG(svg.c_str(), natural);
  if (!lines.IsOk()) return wxBitmap();
  wxBitmap picture = lines.GetBitmap(natural);
  wxMemoryDC dc(picture);
  wxFont font(wxFontInfo(wxSize(0, 11)).Family(wxFONTFAMILY_TELETYPE));
  dc.SetFont(font);
  const std::regex label("<text x=\"(-?\\d+)\" y=\"(-?\\d+)\"[^>]* fill=\"rgb\\((\\d+),(\\d+),(\\d+)\\)\"[^>]*>([^<]*)</text>");
  for (std::sregex_iterator it(svg.begin(), svg.end(), label), end; it != end; ++it) {
    const std::smatch& m = *it;
    dc.SetTextForeground(wxColour(std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])));
    dc.DrawText(wxString::FromUTF8(unescapeXml(m[6])), std::stoi(m[1]), std::stoi(m[2]));
  }
  dc.SelectObject(wxNullBitmap);
  return picture;
}

}  // namespace

EnvelopeDialog::EnvelopeDialog(wxWindow* parent, const Content& content)
    : wxDialog(parent, wxID_ANY, "Envolvente de los casos de carga"),
      content_(content),
      choice_(presetEnvelopeChoice(content)) {
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(new wxStaticText(this, wxID_ANY,
                            fromCp1252("Cada caso es carga permanente o variable; la variable de cada tramo\n"
                                       "se pone o se quita para dar el caso m\xE1s desfavorable (alternancias).")),
           0, wxALL, 8);
  auto* grid = new wxFlexGridSizer(2, 4, 8);
  wxArrayString names;
  for (const char* name : kRoleNames) names.Add(name);
  for (size_t k = 0; k < content.cases.size(); ++k) {
    grid->Add(new wxStaticText(this, wxID_ANY, fromCp1252(content.cases[k].name)), 0, wxALIGN_CENTER_VERTICAL);
    auto* role = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, names);
    role->SetSelection(choice_.roles[k] == CaseRole::permanent ? 0 : 1);
    grid->Add(role);
    roles_.push_back(role);
  }
  auto factor = [&](const char* label, double value) {
    grid->Add(new wxStaticText(this, wxID_ANY, fromCp1252(label)), 0, wxALIGN_CENTER_VERTICAL);
    auto* text = new wxTextCtrl(this, wxID_ANY, wxString::Format("%g", value));
    grid->Add(text);
    return text;
  };
  gG_ = factor("Coeficiente de la permanente desfavorable (gG)", choice_.gG);
  gGinf_ = factor("Coeficiente de la permanente favorable (gGinf)", choice_.gGinf);
  gQ_ = factor("Coeficiente de la variable (gQ)", choice_.gQ);
  all->Add(grid, 0, wxALL, 8);
  auto* buttons = new wxStdDialogButtonSizer;
  auto* ok = new wxButton(this, wxID_OK, "&Calcular");
  buttons->AddButton(ok);
  buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancelar"));
  buttons->Realize();
  all->Add(buttons, 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(all);
  // The preset is the common choice: Return takes it.
  ok->SetDefault();
  ok->SetFocus();
}

bool EnvelopeDialog::TransferDataFromWindow() {
  EnvelopeChoice chosen = choice_;
  for (size_t k = 0; k < roles_.size(); ++k) chosen.roles[k] = kRoles[std::max(0, roles_[k]->GetSelection())];
  const std::pair<wxTextCtrl*, double*> factors[] = {{gG_, &chosen.gG}, {gGinf_, &chosen.gGinf}, {gQ_, &chosen.gQ}};
  for (const auto& [text, value] : factors)
    if (!readReal(text->GetValue(), *value)) {
      messageBox(fromCp1252("Escriba un n\xFAmero en cada coeficiente."), wxICON_EXCLAMATION, this);
      text->SetFocus();
      return false;
    }
  if (const std::string fault = envelopeChoiceFault(chosen, content_); !fault.empty()) {
    messageBox(fromCp1252("No se calcula la envolvente: " + fault + "."), wxICON_EXCLAMATION, this);
    return false;
  }
  choice_ = chosen;
  return true;
}

EnvelopePanel::EnvelopePanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  note_ = new wxStaticText(this, wxID_ANY, "");
  summary_ = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(700, -1),
                            wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
  summary_->SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
  pictures_ = new wxScrolledWindow(this, wxID_ANY);
  static_cast<wxScrolledWindow*>(pictures_)->SetScrollRate(10, 10);
  pictures_->SetBackgroundColour(*wxWHITE);
  pictureSizer_ = new wxBoxSizer(wxVERTICAL);
  pictures_->SetSizer(pictureSizer_);
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(summary_, 0, wxEXPAND | wxALL, 4);
  body->Add(pictures_, 1, wxEXPAND | wxALL, 4);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(note_, 0, wxALL, 4);
  all->Add(body, 1, wxEXPAND);
  SetSizer(all);
  clear();
}

void EnvelopePanel::clear() {
  note_->SetLabel(fromCp1252("An\xE1lisis > Envolvente (F6) calcula la envolvente de los casos con alternancias."));
  summary_->Clear();
  pictureSizer_->Clear(true);
  Layout();
}

void EnvelopePanel::show(const EnvelopeRun& run) {
  note_->SetLabel(fileNameText("Envolvente " + run.name + " (alternancias): resumen y diagramas."));
  summary_->SetValue(fromCp1252(run.summary));
  pictureSizer_->Clear(true);
  for (size_t k = 0; k < run.pictures.size(); ++k) {
    pictureSizer_->Add(new wxStaticText(pictures_, wxID_ANY, fromCp1252(kPictureTitles[k % 3])), 0, wxTOP | wxLEFT, 6);
    const wxBitmap picture = svgPicture(run.pictures[k]);
    if (picture.IsOk())
      pictureSizer_->Add(new wxStaticBitmap(pictures_, wxID_ANY, picture), 0, wxALL, 4);
    else
      pictureSizer_->Add(new wxStaticText(pictures_, wxID_ANY, fileNameText("No se puede leer " + run.pictures[k])));
  }
  pictures_->FitInside();
  Layout();
}

std::string EnvelopePanel::summaryText() const { return toCp1252(summary_->GetValue()); }

void EnvelopePanel::markOutdated() {
  if (!summary_->IsEmpty())
    note_->SetLabel(fromCp1252("La viga ha cambiado: la envolvente es de antes (An\xE1lisis > Envolvente la calcula de nuevo)."));
}

}  // namespace vigas::app
