#include "vigas/app/beam_dialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "vigas/app/ui_text.h"
#include "vigas/words.h"

namespace vigas::app {

namespace {

wxString realText(double value) { return wxString::Format("%.6g", value); }

}  // namespace

std::string readSupports(const std::string& text, size_t count, std::vector<SupportChoice>& supports) {
  supports.clear();
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    SupportChoice choice;
    if (std::string fault = readSupportWord(word, choice); !fault.empty()) return fault;
    supports.push_back(choice);
  }
  if (supports.empty()) {
    supports.assign(count, SupportChoice{SupportKind::roller, 0});
    if (count > 0) supports[0].kind = SupportKind::pinned;
  }
  if (supports.size() != count)
    return "hay " + std::to_string(count) + " apoyos (uno en cada extremo de vano) y se han escrito " +
           std::to_string(supports.size());
  return "";
}

BeamDialog::BeamDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Nueva viga continua", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
  auto* grid = new wxFlexGridSizer(2, wxSize(10, 4));
  grid->AddGrowableCol(1);
  auto row = [&](const char* label, wxWindow* field) {
    grid->Add(new wxStaticText(this, wxID_ANY, fromCp1252(label)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(field, 1, wxEXPAND);
  };
  auto text = [&](const char* label, const wxString& initial) {
    auto* field = new wxTextCtrl(this, wxID_ANY, initial, wxDefaultPosition, wxSize(320, -1));
    row(label, field);
    return field;
  };
  // The order of the fields is the order of Tab: what every beam needs first.
  spans_ = text("Luces de los vanos (separadas por espacios):", "");
  left_ = text("Voladizo izquierdo (0 = ninguno):", "0");
  right_ = text("Voladizo derecho (0 = ninguno):", "0");
  supports_ = text("Apoyos, de izquierda a derecha:", "");
  supports_->SetHint(fromCp1252("en blanco: articulado y los dem\xE1s deslizantes"));
  supports_->SetToolTip(
      fromCp1252("Una palabra por apoyo: articulado, deslizante, empotrado o muelle:RIGIDEZ "
                 "(basta la inicial: a d e m:50000)."));
  permanent_ = text("Carga permanente uniforme (hacia abajo):", "10");
  variable_ = text("Carga variable uniforme (hacia abajo):", "5");
  selfWeight_ = new wxCheckBox(this, wxID_ANY, "incluido en el caso permanente");
  selfWeight_->SetValue(true);
  row("Peso propio:", selfWeight_);
  bars_ = text("Barras por vano:", "4");
  units_ = new wxChoice(this, wxID_ANY);
  for (int code = 0; code <= 2; ++code) units_->Append(fromCp1252(unitSystemWords(code)));
  units_->SetSelection(1);
  row("Unidades:", units_);
  sectionKind_ = new wxChoice(this, wxID_ANY);
  sectionKind_->Append(fromCp1252("rect\xE1ngulo b \xD7 h"));
  sectionKind_->Append(fromCp1252("\xE1rea, inercia y \xE1rea a cortante"));
  sectionKind_->SetSelection(0);
  row("Secci\xF3n:", sectionKind_);
  b_ = text("  ancho b:", "0.3");
  h_ = text("  canto h:", "0.5");
  area_ = text("  \xE1rea A:", "");
  inertia_ = text("  inercia I:", "");
  shearArea_ = text("  \xE1rea a cortante (0 = sin deformaci\xF3n por cortante):", "0");
  preset_ = new wxChoice(this, wxID_ANY);
  row("Material:", preset_);
  E_ = text(
      "  m\xF3"
      "dulo de elasticidad E:",
      "");
  G_ = text(
      "  m\xF3"
      "dulo de cortante G:",
      "");
  gamma_ = text(
      "  peso espec\xED"
      "fico:",
      "");
  alpha_ = text("  dilataci\xF3n t\xE9rmica:", "");

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(grid, 1, wxEXPAND | wxALL, 10);
  auto* buttons = new wxStdDialogButtonSizer;
  auto* ok = new wxButton(this, wxID_OK, "Crear");
  ok->SetDefault();
  buttons->AddButton(ok);
  buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancelar"));
  buttons->Realize();
  all->Add(buttons, 0, wxEXPAND | wxALL, 10);
  SetSizerAndFit(all);

  units_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onUnits(); });
  preset_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onPreset(); });
  sectionKind_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { onSectionKind(); });
  Bind(wxEVT_BUTTON, &BeamDialog::onOk, this, wxID_OK);
  onUnits();
  onSectionKind();
  spans_->SetFocus();
}

void BeamDialog::onUnits() {
  preset_->Clear();
  for (const MaterialPreset& preset : materialPresets(units_->GetSelection())) preset_->Append(fromCp1252(preset.name));
  preset_->Append("otro (escriba sus valores)");
  preset_->SetSelection(0);
  onPreset();
}

void BeamDialog::onPreset() {
  const std::vector<MaterialPreset> presets = materialPresets(units_->GetSelection());
  const int chosen = preset_->GetSelection();
  if (chosen < 0 || chosen >= static_cast<int>(presets.size())) return;  // "otro": the values stay to be typed
  const MaterialChoice& m = presets[static_cast<size_t>(chosen)].values;
  E_->ChangeValue(realText(m.E));
  G_->ChangeValue(realText(m.G));
  gamma_->ChangeValue(realText(m.gamma));
  alpha_->ChangeValue(realText(m.alpha));
}

void BeamDialog::onSectionKind() {
  const bool rectangle = sectionKind_->GetSelection() == 0;
  b_->Enable(rectangle);
  h_->Enable(rectangle);
  area_->Enable(!rectangle);
  inertia_->Enable(!rectangle);
  shearArea_->Enable(!rectangle);
}

std::string BeamDialog::readChoices(BeamChoices& c) const {
  c.spans.clear();
  std::string spans = toCp1252(spans_->GetValue());
  for (char& ch : spans)
    if (ch == ';') ch = ' ';
  std::istringstream in(spans);
  std::string word;
  while (in >> word) {
    double span = 0;
    if (!readReal(wxString(word), span)) return "luz de vano que no es un n\xFAmero: \"" + word + "\"";
    c.spans.push_back(span);
  }
  struct Field {
    wxTextCtrl* control;
    double* value;
    const char* name;
  };
  const bool rectangle = sectionKind_->GetSelection() == 0;
  c.section.rectangle = rectangle;
  std::vector<Field> fields = {{left_, &c.leftOverhang, "voladizo izquierdo"},
                               {right_, &c.rightOverhang, "voladizo derecho"},
                               {permanent_, &c.permanentLoad, "carga permanente"},
                               {variable_, &c.variableLoad, "carga variable"},
                               {E_, &c.material.E, "E"},
                               {G_, &c.material.G, "G"},
                               {gamma_, &c.material.gamma,
                                "peso espec\xED"
                                "fico"},
                               {alpha_, &c.material.alpha, "dilataci\xF3n t\xE9rmica"}};
  if (rectangle) {
    fields.push_back({b_, &c.section.b, "ancho b"});
    fields.push_back({h_, &c.section.h, "canto h"});
  } else {
    fields.push_back({area_, &c.section.A, "\xE1rea"});
    fields.push_back({inertia_, &c.section.I, "inercia"});
    fields.push_back({shearArea_, &c.section.shearArea, "\xE1rea a cortante"});
  }
  for (const Field& field : fields)
    if (!readReal(field.control->GetValue(), *field.value)) return std::string("escriba un n\xFAmero en ") + field.name;
  long bars = 0;
  if (!bars_->GetValue().Strip(wxString::both).ToLong(&bars) || bars < 1 || bars > 1000)
    return "el n\xFAmero de barras por vano es un entero desde 1";
  c.barsPerSpan = static_cast<int>(bars);
  c.unitCode = units_->GetSelection();
  c.selfWeight = selfWeight_->GetValue();
  return readSupports(toCp1252(supports_->GetValue()), c.spans.size() + 1, c.supports);
}

void BeamDialog::onOk(wxCommandEvent&) {
  BeamChoices choices;
  std::string fault = readChoices(choices);
  if (fault.empty()) {
    beam_ = buildContinuousBeam(choices);
    fault = beam_.reason;
  }
  if (!fault.empty()) {
    messageBox(fromCp1252("No se puede crear la viga: " + fault), wxICON_EXCLAMATION, this);
    return;
  }
  EndModal(wxID_OK);
}

}  // namespace vigas::app
