#include "vigas/app/design.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tokenzr.h>

#include <filesystem>

#include "armado/drawing.h"
#include "armado/schedule.h"
#include "informe/design_curves.h"
#include "vigas/app/ui_text.h"
#include "vigas/app/wx_canvas.h"

namespace vigas::app {

namespace {
const char* const kConcretes[] = {"HA-25", "HA-30", "HA-35", "HA-40", "HA-45", "HA-50"};
const char* const kSteels[] = {"B400S", "B500S"};
const char* const kExposures[] = {"X0", "XC1", "XC2", "XC3", "XC4", "XD1", "XD2", "XD3", "XS1", "XS2", "XS3"};
const char* const kCements[] = {"S", "N", "R"};

template <size_t N>
wxChoice* choiceOf(wxWindow* parent, const char* const (&names)[N], const std::string& chosen) {
  wxArrayString list;
  int selected = 0;
  for (size_t k = 0; k < N; ++k) {
    list.Add(names[k]);
    if (chosen == names[k]) selected = static_cast<int>(k);
  }
  auto* choice = new wxChoice(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, list);
  choice->SetSelection(selected);
  return choice;
}

// An optional value as the dialog shows it: empty when not given.
std::string optionalText(const std::optional<double>& value, double scale = 1) {
  return value ? wxString::Format("%g", *value * scale).ToStdString() : std::string();
}

std::string diameterList(const std::vector<double>& diameters) {
  std::string text;
  for (double d : diameters) text += (text.empty() ? "" : ",") + wxString::Format("%g", d).ToStdString();
  return text;
}
}  // namespace

DesignDialog::DesignDialog(wxWindow* parent, const armado::DesignData& data)
    : wxDialog(parent, wxID_ANY, "Armado de la viga"), data_(data) {
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(new wxStaticText(this, wxID_ANY,
                            fromCp1252("armado calcula las barras y los estribos con la envolvente de los casos\n"
                                       "(permanentes y variables como en An\xE1lisis > Envolvente).")),
           0, wxALL, 8);
  auto* grid = new wxFlexGridSizer(2, 4, 8);
  auto row = [&](const char* label, wxWindow* control) {
    grid->Add(new wxStaticText(this, wxID_ANY, fromCp1252(label)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control);
  };
  auto text = [&](const std::string& value) { return new wxTextCtrl(this, wxID_ANY, fromCp1252(value)); };
  auto number = [&](double value) { return text(wxString::Format("%g", value).ToStdString()); };
  row("Hormig\xF3n", concrete_ = choiceOf(this, kConcretes, data.concrete.name));
  row("Acero", steel_ = choiceOf(this, kSteels, data.steel.name));
  row("Recubrimiento (mm)", cover_ = number(data.cover));
  row("Di\xE1metros de las barras (mm)", bars_ = text(diameterList(data.diameters)));
  row("Di\xE1metro de los estribos (mm)", stirrup_ = number(data.stirrupDiameter));
  row("Ramas de los estribos", legs_ = number(data.legs));
  row("Clase de exposici\xF3n", exposure_ = choiceOf(this, kExposures, data.exposure));
  row("Tama\xF1o m\xE1ximo del \xE1rido (mm)", aggregate_ = number(data.aggregate));
  row("Ancho de los apoyos (mm)", support_ = number(data.supportWidth));
  row("psi2 de la variable", psi2_ = number(data.psi2));
  row("gamma_c del hormig\xF3n", gammaC_ = number(data.safety.gammaC));
  row("gamma_s del acero", gammaS_ = number(data.safety.gammaS));
  row("alfa_cc del hormig\xF3n", alphaCC_ = number(data.safety.alphaCC));
  auto* service = new wxFlexGridSizer(2, 4, 8);
  auto serviceRow = [&](const char* label, wxWindow* control) {
    service->Add(new wxStaticText(this, wxID_ANY, fromCp1252(label)), 0, wxALIGN_CENTER_VERTICAL);
    service->Add(control);
  };
  serviceRow("psi1 de la variable (frecuente)", psi1_ = number(data.psi1));
  serviceRow("Humedad relativa (%)", humidity_ = number(data.humidity));
  serviceRow(
      "Edad al cargar (d\xED"
      "as)",
      loadingAge_ = number(data.loadingAge));
  serviceRow("Clase de cemento", cement_ = choiceOf(this, kCements, std::string(1, data.cement)));
  serviceRow("Fluencia phi (vac\xEDo: anejo B)", creep_ = text(optionalText(data.creep)));
  serviceRow("Retracci\xF3n por mil (vac\xEDo: calculada)", shrinkage_ = text(optionalText(data.shrinkage, 1000)));
  serviceRow(
      "Edad de los acabados (d\xED"
      "as; vac\xEDo: sin ellos)",
      finishes_ = text(optionalText(data.finishesAge)));
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  columns->Add(grid, 0, wxRIGHT, 16);
  columns->Add(service);
  all->Add(columns, 0, wxALL, 8);
  auto* buttons = new wxStdDialogButtonSizer;
  auto* ok = new wxButton(this, wxID_OK, "&Armar");
  buttons->AddButton(ok);
  buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancelar"));
  buttons->Realize();
  all->Add(buttons, 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(all);
  ok->SetDefault();
  ok->SetFocus();
}

// The numbers read here; their ranges are armado's, and its message says
// which one is out of its range.
bool DesignDialog::TransferDataFromWindow() {
  armado::DesignData d = data_;
  d.concrete = *armado::concreteNamed(kConcretes[std::max(0, concrete_->GetSelection())]);
  d.steel = *armado::steelNamed(kSteels[std::max(0, steel_->GetSelection())]);
  d.exposure = kExposures[std::max(0, exposure_->GetSelection())];
  double legs = 0;
  const std::pair<wxTextCtrl*, double*> numbers[] = {
      {cover_, &d.cover},          {stirrup_, &d.stirrupDiameter}, {legs_, &legs},
      {aggregate_, &d.aggregate},  {support_, &d.supportWidth},    {psi2_, &d.psi2},
      {gammaC_, &d.safety.gammaC}, {gammaS_, &d.safety.gammaS},    {alphaCC_, &d.safety.alphaCC}};
  for (const auto& [field, value] : numbers)
    if (!readReal(field->GetValue(), *value)) {
      messageBox(fromCp1252("Escriba un n\xFAmero en cada dato."), wxICON_EXCLAMATION, this);
      field->SetFocus();
      return false;
    }
  d.legs = static_cast<int>(legs);
  if (!readService(d)) return false;
  d.diameters.clear();
  wxStringTokenizer words(bars_->GetValue(), ", ");
  for (double v = 0; words.HasMoreTokens();)
    if (readReal(words.GetNextToken(), v)) d.diameters.push_back(v);
  if (d.diameters.empty()) {
    messageBox(fromCp1252("Escriba los di\xE1metros de las barras separados por comas."), wxICON_EXCLAMATION, this);
    bars_->SetFocus();
    return false;
  }
  data_ = d;
  return true;
}

// The serviceability's data: numbers, and the optional ones empty or numbers.
bool DesignDialog::readService(armado::DesignData& d) {
  d.cement = kCements[std::max(0, cement_->GetSelection())][0];
  for (const auto& [field, value] :
       {std::pair<wxTextCtrl*, double*>{psi1_, &d.psi1}, {humidity_, &d.humidity}, {loadingAge_, &d.loadingAge}})
    if (!readReal(field->GetValue(), *value)) {
      messageBox(fromCp1252("Escriba un n\xFAmero en cada dato."), wxICON_EXCLAMATION, this);
      field->SetFocus();
      return false;
    }
  const struct {
    wxTextCtrl* field;
    std::optional<double>* value;
    double scale;
  } optional[] = {{creep_, &d.creep, 1}, {shrinkage_, &d.shrinkage, 1e-3}, {finishes_, &d.finishesAge, 1}};
  for (const auto& o : optional) {
    double v = 0;
    if (o.field->GetValue().Strip(wxString::both).empty()) {
      o.value->reset();
    } else if (readReal(o.field->GetValue(), v)) {
      *o.value = v * o.scale;
    } else {
      messageBox(fromCp1252("Escriba un n\xFAmero, o deje el dato vac\xEDo."), wxICON_EXCLAMATION, this);
      o.field->SetFocus();
      return false;
    }
  }
  return true;
}

DesignPanel::DesignPanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  note_ = new wxStaticText(this, wxID_ANY, "");
  summary_ = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(560, -1),
                            wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
  summary_->SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
  picture_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE);
  picture_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  picture_->Bind(wxEVT_PAINT, &DesignPanel::onPaint, this);
  curves_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE);
  curves_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  curves_->Bind(wxEVT_PAINT, &DesignPanel::onPaintCurves, this);
  auto* pictures = new wxBoxSizer(wxVERTICAL);
  pictures->Add(picture_, 3, wxEXPAND | wxBOTTOM, 4);
  pictures->Add(curves_, 2, wxEXPAND);
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(summary_, 0, wxEXPAND | wxALL, 4);
  body->Add(pictures, 1, wxEXPAND | wxALL, 4);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(note_, 0, wxALL, 4);
  all->Add(body, 1, wxEXPAND);
  SetSizer(all);
  clear();
}

// The design as armado draws it, onto the window's canvas, fitted to the page.
void DesignPanel::onPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(picture_);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  if (!design_) return;
  const armado::Schedule schedule = armado::scheduleOf(*design_);
  const armado::DesignFrame frame = armado::designFrame(*design_, schedule);
  const wxSize size = picture_->GetClientSize();
  WxDcCanvas canvas(dc, wxRect(0, 0, size.x, size.y), frame.width, frame.height);
  armado::drawDesign(canvas, name_, *design_, schedule, frame);
  canvas.paintTexts();
}

// The curvature and the deflections, elastic and long-term, as the report
// draws them, from the same design.
void DesignPanel::onPaintCurves(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(curves_);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  if (!design_) return;
  informe::ServiceCurves curves;
  for (const armado::StationDesign& s : design_->stations) {
    curves.x.push_back(s.x / 1000);
    curves.curvature.push_back(s.curvature * 1e6);
    curves.elastic.push_back(s.elastic);
    curves.longTerm.push_back(s.longTerm);
  }
  for (double x : design_->demand.supports) curves.supports.push_back(x / 1000);
  const wxSize size = curves_->GetClientSize();
  WxDcCanvas canvas(dc, wxRect(0, 0, size.x, size.y), informe::kServiceCurvesWidth, informe::kServiceCurvesHeight);
  informe::drawServiceCurves(canvas, curves);
  canvas.paintTexts();
}

void DesignPanel::clear() {
  note_->SetLabel(fromCp1252("An\xE1lisis > Armado (F8) calcula las barras y los estribos con armado."));
  summary_->Clear();
  design_.reset();
  picture_->Refresh();
  curves_->Refresh();
  Layout();
}

void DesignPanel::show(const DesignRun& run) {
  note_->SetLabel(
      fileNameText("Armado " + run.name + " (armado): resumen y dibujo; despiece en " + run.name + ".des."));
  summary_->SetValue(fromCp1252(run.summary));
  design_ = run.design;
  name_ = std::filesystem::path(run.name).filename().string();
  picture_->Refresh();
  curves_->Refresh();
  Layout();
}

std::string DesignPanel::summaryText() const { return toCp1252(summary_->GetValue()); }

void DesignPanel::markOutdated() {
  if (!summary_->IsEmpty())
    note_->SetLabel(
        fromCp1252("La viga ha cambiado: el armado es de antes (An\xE1lisis > Armado lo calcula de nuevo)."));
}

}  // namespace vigas::app
