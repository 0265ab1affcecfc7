#include "vigas/app/results.h"

#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/grid.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "pictures/diagrams.h"
#include "vigas/app/ui_text.h"
#include "vigas/app/wx_canvas.h"
#include "vigas/result_bands.h"
#include "vigas/span_results.h"

namespace vigas::app {

namespace {

wxString value(double v) { return wxString::Format("%.3f", std::fabs(v) < 5e-4 ? 0.0 : v); }

// A grid's cells as text: a line per row, cells separated by tabs (none when hidden).
std::string gridText(const wxGrid* grid) {
  std::string text;
  for (int r = 0; grid->IsShown() && r < grid->GetNumberRows(); ++r) {
    for (int c = 0; c < grid->GetNumberCols(); ++c)
      text += (c ? "\t" : "") + std::string(grid->GetCellValue(r, c).utf8_str());
    text += "\n";
  }
  return text;
}

}  // namespace

// The three diagrams one below the other. A continuous beam's are laid out
// for the window (vigas/result_bands.h): all three in its height, labelled in
// its font. Any other model's are the report's own pictures, each as wide as
// the window (never larger than drawn), scrolled when they do not fit.
class DiagramPicture : public wxScrolledWindow {
 public:
  explicit DiagramPicture(wxWindow* parent)
      : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 300), wxVSCROLL | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetScrollRate(0, 10);
    Bind(wxEVT_PAINT, &DiagramPicture::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
      fit();
      event.Skip();
    });
  }
  void show(const CaseResults* results) {
    results_ = results;
    fit();
    Refresh();
  }

 private:
  bool drawable() const {
    return results_ && results_->error.empty() && results_->model.bars.size() >= 2 &&
           results_->curves.size() + 1 >= results_->model.bars.size();
  }
  int bandHeight() const {
    const pictures::ModelFrame frame = pictures::diagramFrame(results_->model);
    const double scale = std::min(1.0, GetClientSize().x / frame.width);
    return static_cast<int>(std::ceil(frame.height * scale));
  }
  TextMetrics metrics() const {
    wxClientDC dc(const_cast<DiagramPicture*>(this));
    dc.SetFont(GetFont());
    wxCoord w = 0, h = 0;
    dc.GetTextExtent("0", &w, &h);
    return {std::max(1, static_cast<int>(w)), std::max(1, static_cast<int>(h))};
  }
  void fit() {
    bands_ = drawable() ? resultBands(*results_, GetClientSize().x, GetClientSize().y, metrics())
                        : std::vector<ResultBand>{};
    int height = drawable() ? 3 * bandHeight() : 0;
    if (!bands_.empty()) height = bands_.back().top + bands_.back().height;
    SetVirtualSize(GetClientSize().x, height);
  }

  void onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    DoPrepareDC(dc);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (!bands_.empty()) {
      for (const ResultBand& band : bands_) paintBand(dc, band);
      return;
    }
    if (!drawable()) return;
    const int width = GetClientSize().x, band = bandHeight();
    const pictures::ModelFrame frame = pictures::diagramFrame(results_->model);
    const pictures::DiagramSources none;  // the analysis in memory has no files to name
    int top = 0;
    for (pictures::DiagramKind kind :
         {pictures::DiagramKind::Deflection, pictures::DiagramKind::Moment, pictures::DiagramKind::Shear}) {
      WxDcCanvas canvas(dc, wxRect(0, top, width, band), frame.width, frame.height);
      pictures::drawDiagram(canvas, results_->model, results_->curves, kind, none);
      canvas.paintTexts();
      top += band;
    }
  }

  // The curve filled light over its axis, the supports as ticks, the values
  // in the curve's colour.
  void paintBand(wxDC& dc, const ResultBand& band) {
    static const wxColour line[] = {{198, 40, 40}, {21, 101, 192}, {46, 125, 50}};
    static const wxColour fill[] = {{246, 223, 223}, {220, 232, 246}, {217, 232, 218}};
    const int k = static_cast<int>(band.kind);
    dc.SetFont(GetFont().Bold());
    dc.SetTextForeground(wxColour(34, 34, 34));
    dc.DrawText(fromCp1252(band.title), 4, band.top);
    std::vector<wxPoint> points;
    for (const BandPoint& p : band.curve) points.emplace_back(p.x, p.y);
    dc.SetPen(wxPen(line[k], 2));
    dc.SetBrush(wxBrush(fill[k]));
    if (points.size() >= 3) dc.DrawPolygon(static_cast<int>(points.size()), points.data());
    dc.SetPen(wxPen(wxColour(34, 34, 34), 1));
    if (!points.empty()) dc.DrawLine(points.front().x, band.axisY, points.back().x + 1, band.axisY);
    dc.SetPen(wxPen(wxColour(8, 127, 35), 2));
    for (int x : band.supports) dc.DrawLine(x, band.axisY - 5, x, band.axisY + 6);
    dc.SetFont(GetFont());
    dc.SetTextForeground(line[k]);
    for (const BandLabel& l : band.labels) dc.DrawText(fromCp1252(l.text), l.left, l.top);
  }

  const CaseResults* results_ = nullptr;
  std::vector<ResultBand> bands_;
};

ResultsPanel::ResultsPanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(new wxStaticText(this, wxID_ANY, "Caso de carga:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
  cases_ = new wxChoice(this, wxID_ANY);
  top->Add(cases_, 0, wxALL, 4);
  note_ = new wxStaticText(this, wxID_ANY, fromCp1252("Pulse F5 para analizar la viga."));
  top->Add(note_, 1, wxALIGN_CENTER_VERTICAL | wxALL, 4);

  reactions_ = new wxGrid(this, wxID_ANY);
  reactions_->CreateGrid(0, 6);
  reactions_->EnableEditing(false);
  reactions_->SetRowLabelSize(0);
  const char* titles[] = {"apoyo",
                          "nudo",
                          "c\xF3"
                          "digo",
                          "Rx",
                          "Ry",
                          "M"};
  for (int c = 0; c < 6; ++c) {
    reactions_->SetColLabelValue(c, fromCp1252(titles[c]));
    reactions_->SetColSize(c, c < 3 ? 55 : 95);
  }
  diagrams_ = new DiagramPicture(this);

  // Span by span, for a continuous beam; the signs said above the table.
  spansTitle_ = new wxStaticText(this, wxID_ANY, "");
  spans_ = new wxGrid(this, wxID_ANY);
  spans_->CreateGrid(0, 11);
  spans_->EnableEditing(false);
  spans_->SetRowLabelSize(0);

  // The beam's modes, the same for every case: the beam's own frequencies
  // (its model refined) beside those of the model as it stands.
  modesTitle_ = new wxStaticText(this, wxID_ANY, "Vibraciones (calcdin)");
  modes_ = new wxGrid(this, wxID_ANY);
  modes_->CreateGrid(0, 5);
  modes_->EnableEditing(false);
  modes_->SetRowLabelSize(0);
  const char* modeTitles[] = {"modo", "frecuencia de la viga (ciclos/s)", "periodo (s)", "convergida",
                              "del modelo sin dividir (ciclos/s)"};
  for (int c = 0; c < 5; ++c) {
    modes_->SetColLabelValue(c, fromCp1252(modeTitles[c]));
    modes_->SetColSize(c, c == 0 ? 45 : c == 3 ? 80 : 150);
  }

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  // The moment's sign is calcest's (its results file), the opposite of a
  // node's: said, not changed, so that both read the same.
  auto* reactionsTitle = new wxStaticText(
      this, wxID_ANY,
      fromCp1252("Reacciones (fuerzas del apoyo sobre la viga):\nRx > 0 hacia la derecha, Ry > 0 hacia arriba,\n"
                 "M > 0 horario (como en los resultados de calcest)"));
  left->Add(reactionsTitle, 0, wxALL, 2);
  left->Add(reactions_, 1, wxEXPAND);
  left->Add(modesTitle_, 0, wxALL, 2);
  left->Add(modes_, 1, wxEXPAND);
  body->Add(left, 0, wxEXPAND | wxALL, 4);
  body->Add(diagrams_, 1, wxEXPAND | wxALL, 4);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top, 0, wxEXPAND);
  all->Add(body, 1, wxEXPAND);
  // Under the pictures, at the panel's whole width: they keep theirs.
  all->Add(spansTitle_, 0, wxLEFT | wxRIGHT, 6);
  all->Add(spans_, 0, wxEXPAND | wxALL, 4);
  SetSizer(all);
  modesTitle_->Hide();
  modes_->Hide();
  cases_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { showCase(cases_->GetSelection()); });
}

void ResultsPanel::show(const AnalysisRun& run) {
  run_ = run;
  cases_->Clear();
  for (const CaseResults& c : run_.cases) cases_->Append(fromCp1252(c.name));
  note_->SetLabel(run_.cases.empty() ? fromCp1252(run_.error) : wxString());
  if (!run_.cases.empty()) cases_->SetSelection(0);
  showCase(run_.cases.empty() ? -1 : 0);
  if (modes_->GetNumberRows() > 0) modes_->DeleteRows(0, modes_->GetNumberRows());
  const bool modes = run_.modes && run_.modes->error.empty();
  modesTitle_->Show(modes);
  modes_->Show(modes);
  if (modes) showModes(*run_.modes, run_.beamModes);
  Layout();
}

// One row per frequency of the beam (or, where the refined copies could not be
// analysed, per mode of the model), the model's own beside it.
void ResultsPanel::showModes(const ModesRun& model, const std::optional<BeamModes>& beam) {
  const bool refined = beam && beam->error.empty();
  std::string title = common::formatText("Vibraciones de la viga (calcdin, opci\xF3n %d): ", model.option);
  title += refined ? beamModesNote(*beam) : "las del modelo sin dividir; " + (beam ? beam->error : std::string());
  modesTitle_->SetLabel(fromCp1252(title));
  modesTitle_->Wrap(std::max(300, GetClientSize().x / 3));
  const size_t rows = refined ? beam->frequencies.size() : model.modes.size();
  modes_->AppendRows(static_cast<int>(rows));
  for (size_t k = 0; k < rows; ++k) {
    const int row = static_cast<int>(k);
    const double frequency = refined ? beam->frequencies[k] : model.modes[k].frequency;
    modes_->SetCellValue(row, 0, wxString::Format("%zu", k + 1));
    modes_->SetCellValue(row, 1, wxString::Format("%.4f", frequency));
    modes_->SetCellValue(row, 2, frequency > 0 ? wxString::Format("%.6g", 1 / frequency) : wxString("-"));
    modes_->SetCellValue(row, 3, refined ? fromCp1252(beam->converged[k] ? "s\xED" : "no") : wxString("-"));
    modes_->SetCellValue(row, 4, k < model.modes.size() ? wxString(model.modes[k].frequencyText) : wxString("-"));
  }
  modes_->AutoSizeColumns(false);
}

std::string ResultsPanel::modesText() const {
  std::string text = gridText(modes_);
  if (modes_->IsShown()) {
    std::string title(modesTitle_->GetLabel().utf8_str());
    std::replace(title.begin(), title.end(), '\n', ' ');  // the label wraps to the panel
    text += title + "\n";
  }
  return text;
}

void ResultsPanel::markOutdated() {
  if (!run_.cases.empty())
    note_->SetLabel(fromCp1252("La viga ha cambiado: los resultados son de antes (F5 analiza de nuevo)."));
}

void ResultsPanel::showCase(int index) {
  if (reactions_->GetNumberRows() > 0) reactions_->DeleteRows(0, reactions_->GetNumberRows());
  const CaseResults* shown = index >= 0 && index < static_cast<int>(run_.cases.size()) ? &run_.cases[index] : nullptr;
  if (shown && shown->error.empty()) {
    const projectfiles::UnitLabels u = projectfiles::unitLabels(shown->model.header.unitCode);
    const std::string units[] = {u.force, u.force, u.moment};
    for (int c = 3; c < 6; ++c)
      reactions_->SetColLabelValue(c, fromCp1252(std::string(c == 3   ? "Rx"
                                                             : c == 4 ? "Ry"
                                                                      : "M") +
                                                 " (" + units[c - 3] + ")"));
    reactions_->AppendRows(static_cast<int>(shown->reactions.size()));
    for (size_t k = 0; k < shown->reactions.size(); ++k) {
      const SupportReaction& r = shown->reactions[k];
      const int row = static_cast<int>(k);
      reactions_->SetCellValue(row, 0, wxString::Format("%zu", k + 1));
      reactions_->SetCellValue(row, 1, wxString::Format("%d", r.nodeLabel));
      reactions_->SetCellValue(row, 2, wxString::Format("%d", r.code));
      reactions_->SetCellValue(row, 3, value(r.Rx));
      reactions_->SetCellValue(row, 4, value(r.Ry));
      reactions_->SetCellValue(row, 5, value(r.M));
    }
  } else if (shown) {
    note_->SetLabel(fromCp1252("calcest no ha analizado este caso: " + shown->error));
  }
  showSpans(shown);
  diagrams_->show(shown);
  Layout();
}

void ResultsPanel::showSpans(const CaseResults* shown) {
  if (spans_->GetNumberRows() > 0) spans_->DeleteRows(0, spans_->GetNumberRows());
  const std::vector<SpanSummary> spans = shown ? spanSummaries(*shown) : std::vector<SpanSummary>{};
  spansTitle_->Show(!spans.empty());
  spans_->Show(!spans.empty());
  if (spans.empty()) return;
  const int unitCode = shown->model.header.unitCode;
  const projectfiles::UnitLabels u = projectfiles::unitLabels(unitCode);
  const std::string L = " (" + u.length + ")";
  const std::string titles[] = {"tramo",
                                "L" + L,
                                "M m\xE1x (" + u.moment + ")",
                                "x" + L,
                                "M m\xEDn (" + u.moment + ")",
                                "x" + L,
                                "V m\xE1x (" + u.force + ")",
                                "x" + L,
                                "flecha (" + u.deflection + ")",
                                "x" + L,
                                "L/flecha"};
  for (int c = 0; c < 11; ++c) spans_->SetColLabelValue(c, fromCp1252(titles[c]));
  spansTitle_->SetLabel(fromCp1252(
      "Por vanos (x desde el extremo izquierdo del tramo): M > 0 tracciona la cara inferior; V > 0 empuja hacia "
      "arriba la parte izquierda; flecha > 0 hacia arriba, desde la recta de los apoyos del vano (en un voladizo, "
      "desde la altura de su apoyo)"));
  spansTitle_->Wrap(std::max(300, GetClientSize().x - 12));
  spans_->AppendRows(static_cast<int>(spans.size()));
  const double factor = deflectionFactor(unitCode);
  for (size_t k = 0; k < spans.size(); ++k) {
    const SpanSummary& s = spans[k];
    const int row = static_cast<int>(k);
    const double values[] = {s.length, s.maxMoment, s.maxMomentAt,         s.minMoment,   s.minMomentAt,
                             s.shear,  s.shearAt,   s.deflection * factor, s.deflectionAt};
    spans_->SetCellValue(row, 0, fromCp1252(s.name));
    for (int c = 0; c < 9; ++c) spans_->SetCellValue(row, c + 1, value(values[c]));
    spans_->SetCellValue(row, 10, s.ratio > 0 ? wxString::Format("%.0f", s.ratio) : wxString("-"));
  }
  spans_->AutoSizeColumns(false);
}

std::string ResultsPanel::spansText() const { return gridText(spans_); }

std::string ResultsPanel::reactionsText() const {
  std::string text;
  for (size_t k = 0; k < run_.cases.size(); ++k) {
    text += "caso " + run_.cases[k].name + "\n";
    if (static_cast<int>(k) == cases_->GetSelection()) text += gridText(reactions_);  // the grid shows one case
  }
  return text;
}

}  // namespace vigas::app
