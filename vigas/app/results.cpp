#include "vigas/app/results.h"

#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/grid.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "vigas/app/ui_text.h"

namespace vigas::app {

namespace {

wxString value(double v) { return wxString::Format("%.3f", std::fabs(v) < 5e-4 ? 0.0 : v); }

}  // namespace

// Three bands, one diagram each, along the beam as the analysis placed it.
class DiagramPicture : public wxPanel {
 public:
  explicit DiagramPicture(wxWindow* parent)
      : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 300), wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &DiagramPicture::onPaint, this);
  }
  void show(const CaseResults* results) {
    results_ = results;
    Refresh();
  }

 private:
  enum class Kind { deflection, moment, shear };

  void onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (!results_ || !results_->error.empty() || results_->bars.empty()) return;
    const wxSize size = GetClientSize();
    const int band = size.y / 3;
    draw(dc, Kind::deflection, fromCp1252("Deformada (flechas)"), 0, band, size.x);
    draw(dc, Kind::moment, "Momentos flectores", band, band, size.x);
    draw(dc, Kind::shear, "Esfuerzos cortantes", 2 * band, band, size.x);
  }

  double sample(Kind kind, size_t bar, double x) const {
    const calcest::ElasticCurve& curve = results_->curves[bar];
    switch (kind) {
      case Kind::deflection: return curve.deflection(x);
      case Kind::moment: return curve.moment(x);
      case Kind::shear: break;
    }
    return curve.shear(x);
  }

  void draw(wxDC& dc, Kind kind, const wxString& title, int top, int height, int width) {
    const CaseResults& r = *results_;
    const int samples = 40;
    double x0 = 1e300, x1 = -1e300, largest = 0;
    for (const NodeDisplacement& n : r.nodes) x0 = std::min(x0, n.x), x1 = std::max(x1, n.x);
    for (size_t b = 0; b < r.bars.size() && b < r.curves.size(); ++b)
      for (int k = 0; k <= samples; ++k)
        largest = std::max(largest, std::fabs(sample(kind, b, r.curves[b].length() * k / samples)));
    const double margin = 60, scale = x1 > x0 ? (width - 2 * margin) / (x1 - x0) : 1.0;
    const double axis = top + 18 + (height - 18) / 2.0, amplitude = largest > 0 ? ((height - 18) * 0.36) / largest : 0;
    std::vector<int> labelled;  // where values are written already
    // Moments are drawn on the side of the fibre they stretch (positive
    // below), the line and the shear as they point (positive up).
    const double sign = kind == Kind::moment ? 1.0 : -1.0;
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(title + fromCp1252("   (m\xE1x. |valor| ") + wxString::Format("%.4g)", largest), 8, top + 2);
    dc.SetPen(wxPen(wxColour(160, 160, 160), 1));
    dc.DrawLine(static_cast<int>(margin), static_cast<int>(axis), static_cast<int>(margin + (x1 - x0) * scale),
                static_cast<int>(axis));
    const wxColour colour = kind == Kind::deflection ? wxColour(0, 90, 200)
                            : kind == Kind::moment   ? wxColour(200, 0, 0)
                                                     : wxColour(0, 140, 0);
    dc.SetPen(wxPen(colour, 2));
    dc.SetTextForeground(colour);
    for (size_t b = 0; b < r.bars.size() && b < r.curves.size(); ++b) {
      const common::BarInput& bar = r.bars[b];
      const size_t i = static_cast<size_t>(bar.nodeI - 1), j = static_cast<size_t>(bar.nodeJ - 1);
      if (i >= r.nodes.size() || j >= r.nodes.size()) continue;
      const double xa = r.nodes[i].x, xb = r.nodes[j].x, len = r.curves[b].length();
      wxPoint last;
      double peak = 0, peakAt = 0;
      for (int k = 0; k <= samples; ++k) {
        const double x = len * k / samples, v = sample(kind, b, x);
        const wxPoint p(static_cast<int>(margin + (xa + (xb - xa) * k / samples - x0) * scale),
                        static_cast<int>(axis + sign * v * amplitude));
        if (kind != Kind::deflection && (k == 0 || k == samples))
          dc.DrawLine(wxPoint(p.x, static_cast<int>(axis)), p);
        if (k > 0) dc.DrawLine(last, p);
        last = p;
        if (std::fabs(v) > std::fabs(peak)) peak = v, peakAt = xa + (xb - xa) * k / samples;
      }
      // The largest value of each bar, where it is large enough to matter and
      // not written already beside it.
      const int at = static_cast<int>(margin + (peakAt - x0) * scale);
      const bool crowded =
          std::any_of(labelled.begin(), labelled.end(), [at](int other) { return std::abs(other - at) < 60; });
      if (largest > 0 && std::fabs(peak) > 0.3 * largest && !crowded) {
        dc.DrawText(wxString::Format("%.4g", peak), at - 10,
                    static_cast<int>(axis + sign * peak * amplitude) + (sign * peak > 0 ? 2 : -16));
        labelled.push_back(at);
      }
    }
  }

  const CaseResults* results_ = nullptr;
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
  const char* titles[] = {"apoyo", "nudo", "c\xF3" "digo", "Rx", "Ry", "M"};
  for (int c = 0; c < 6; ++c) {
    reactions_->SetColLabelValue(c, fromCp1252(titles[c]));
    reactions_->SetColSize(c, c < 3 ? 55 : 95);
  }
  diagrams_ = new DiagramPicture(this);

  // The beam's modes, the same for every case.
  modesTitle_ = new wxStaticText(this, wxID_ANY, "Vibraciones (calcdin)");
  modes_ = new wxGrid(this, wxID_ANY);
  modes_->CreateGrid(0, 4);
  modes_->EnableEditing(false);
  modes_->SetRowLabelSize(0);
  const char* modeTitles[] = {"modo", "autovalor", "frecuencia (ciclos/s)", "periodo (s)"};
  for (int c = 0; c < 4; ++c) {
    modes_->SetColLabelValue(c, fromCp1252(modeTitles[c]));
    modes_->SetColSize(c, c == 0 ? 45 : c == 2 ? 140 : 105);
  }

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  left->Add(new wxStaticText(this, wxID_ANY, "Reacciones"), 0, wxALL, 2);
  left->Add(reactions_, 1, wxEXPAND);
  left->Add(modesTitle_, 0, wxALL, 2);
  left->Add(modes_, 1, wxEXPAND);
  body->Add(left, 0, wxEXPAND | wxALL, 4);
  body->Add(diagrams_, 1, wxEXPAND | wxALL, 4);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top, 0, wxEXPAND);
  all->Add(body, 1, wxEXPAND);
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
  if (modes) {
    modesTitle_->SetLabel(wxString::Format("Vibraciones (calcdin, opci%sn %d)", fromCp1252("\xF3"), run_.modes->option));
    modes_->AppendRows(static_cast<int>(run_.modes->modes.size()));
    for (size_t k = 0; k < run_.modes->modes.size(); ++k) {
      const ModeRow& m = run_.modes->modes[k];
      const int row = static_cast<int>(k);
      modes_->SetCellValue(row, 0, wxString::Format("%d", m.order));
      modes_->SetCellValue(row, 1, m.eigenvalueText);
      modes_->SetCellValue(row, 2, m.frequencyText);
      modes_->SetCellValue(row, 3, m.period > 0 ? wxString::Format("%.6g", m.period) : wxString("-"));
    }
    modes_->AutoSizeColumns(false);
  }
  Layout();
}

std::string ResultsPanel::modesText() const {
  std::string text;
  for (int r = 0; modes_->IsShown() && r < modes_->GetNumberRows(); ++r) {
    for (int c = 0; c < modes_->GetNumberCols(); ++c)
      text += (c ? "\t" : "") + std::string(modes_->GetCellValue(r, c).utf8_str());
    text += "\n";
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
  diagrams_->show(shown);
  Layout();
}

std::string ResultsPanel::reactionsText() const {
  std::string text;
  for (size_t k = 0; k < run_.cases.size(); ++k) {
    text += "caso " + run_.cases[k].name + "\n";
    if (static_cast<int>(k) != cases_->GetSelection()) continue;  // the grid shows one case
    for (int r = 0; r < reactions_->GetNumberRows(); ++r) {
      for (int c = 0; c < reactions_->GetNumberCols(); ++c)
        text += (c ? "\t" : "") + std::string(reactions_->GetCellValue(r, c).utf8_str());
      text += "\n";
    }
  }
  return text;
}

}  // namespace vigas::app
