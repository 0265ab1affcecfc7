#include "vigas/app/envelope.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/dcmemory.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <vector>

#include "envolventes/engine/diagram.h"
#include "vigas/envelope_picture.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

namespace {

const CaseRole kRoles[] = {CaseRole::permanent, CaseRole::variable, CaseRole::unused};
const char* const kRoleNames[] = {"permanente", "variable", "no se usa"};

const char* const kPictureTitles[] = {"Flechas (combinaci\xF3n caracter\xEDstica)", "Momentos flectores",
                                      "Esfuerzos cortantes"};

constexpr int kLegendX = 2;      // where alternancias writes the rows' legends
constexpr int kLegendRoom = 56;  // room added at the left for the rows' names

// Draws a diagram on a bitmap as it comes; texts after the lines, each on a
// white box, so that no line runs through the digits of a value.
class BitmapCanvas : public pictures::Canvas {
 public:
  BitmapCanvas(wxDC& dc, int selector, int labelY) : dc_(dc), selector_(selector), labelY_(labelY) {
    dc_.SetFont(wxFont(wxFontInfo(wxSize(0, 11)).Family(wxFONTFAMILY_TELETYPE)));
    dc_.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    dc_.SetTextBackground(*wxWHITE);
  }
  void beginGroup(const pictures::Group& pass) override {
    const envelope::Colour pen = envelope::colourOf(pass.cls);
    dc_.SetPen(wxPen(wxColour(pen.r, pen.g, pen.b), 1));
  }
  void line(pictures::Point a, pictures::Point b, const pictures::Style&) override {
    const int x1 = static_cast<int>(a.x.v), y1 = static_cast<int>(a.y.v);
    const int x2 = static_cast<int>(b.x.v), y2 = static_cast<int>(b.y.v);
    dc_.DrawLine(x1 + kLegendRoom, y1, x2 + kLegendRoom, y2);
    dc_.DrawPoint(x2 + kLegendRoom, y2);  // the toolkit leaves a line's last pixel out
  }
  void text(pictures::Point at, const std::string& cp1252, const pictures::Style& style, pictures::Anchor,
            const std::string&) override {
    texts_.push_back({static_cast<int>(at.x.v), static_cast<int>(at.y.v), cp1252, envelope::colourOf(style.cls)});
  }
  void add(const std::vector<PictureLabel>& labels) { texts_.insert(texts_.end(), labels.begin(), labels.end()); }
  // The rows of values named ("Mi m\xE1x", not " Mi") at the left edge.
  void paintTexts() {
    for (const PictureLabel& t : texts_) {
      const char* name = t.x == kLegendX ? envelopeRowName(selector_, t.y - labelY_) : nullptr;
      dc_.SetTextForeground(wxColour(t.colour.r, t.colour.g, t.colour.b));
      dc_.DrawText(fromCp1252(name ? name : t.text), name ? kLegendX : t.x + kLegendRoom, t.y);
    }
  }

 private:
  wxDC& dc_;
  int selector_, labelY_;
  std::vector<PictureLabel> texts_;
};

// One of the envelope's diagrams (selector 1 to 3) fitted to its band and
// to `width` pixels, the rows' names included.
wxBitmap diagramPicture(const envelope::EnvelopeState& state, int selector, int width) {
  const FittedDiagram fitted = fitDiagram(state, selector, width - kLegendRoom);
  const envelope::DiagramLayout& layout = fitted.state.layout;
  wxBitmap picture(std::min(20000, layout.rightEnd + kEnvelopeRight) + kLegendRoom, layout.areaHeight);
  wxMemoryDC dc(picture);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  BitmapCanvas canvas(dc, selector, layout.labelY);
  envelope::drawDiagram(fitted.state, fitted.ordinates, selector, canvas);
  canvas.add(fitted.peaks);
  canvas.paintTexts();
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
  // The pictures follow the page's width, drawn again once the size settles.
  pictures_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    event.Skip();
    if (state_ && pictures_->GetClientSize().x != drawnWidth_) CallAfter([this] { drawPictures(); });
  });
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
  state_.reset();
  Layout();
}

void EnvelopePanel::drawPictures() {
  pictureSizer_->Clear(true);
  drawnWidth_ = pictures_->GetClientSize().x;
  if (state_)
    for (int selector = 1; selector <= 3; ++selector) {
      pictureSizer_->Add(new wxStaticText(pictures_, wxID_ANY, fromCp1252(kPictureTitles[selector - 1])), 0,
                         wxTOP | wxLEFT, 6);
      pictureSizer_->Add(new wxStaticBitmap(pictures_, wxID_ANY, diagramPicture(*state_, selector, drawnWidth_ - 8)), 0,
                         wxALL, 4);
    }
  pictures_->FitInside();
  pictures_->Layout();
}

void EnvelopePanel::show(const EnvelopeRun& run) {
  note_->SetLabel(fileNameText("Envolvente " + run.name + " (alternancias): resumen y diagramas."));
  summary_->SetValue(fromCp1252(run.summary));
  state_ = run.state;
  Layout();
  drawPictures();
}

std::string EnvelopePanel::summaryText() const { return toCp1252(summary_->GetValue()); }

void EnvelopePanel::markOutdated() {
  if (!summary_->IsEmpty())
    note_->SetLabel(
        fromCp1252("La viga ha cambiado: la envolvente es de antes (An\xE1lisis > Envolvente la calcula de nuevo)."));
}

}  // namespace vigas::app
