#include "vigas/app/picture.h"

#include <wx/dcbuffer.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "common/support_code.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

using common::Direction;
using common::Restraint;

namespace {

struct Point {
  double x = 0, y = 0;
};

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
Point operator*(double k, Point a) { return {k * a.x, k * a.y}; }
double lengthOf(Point a) { return std::hypot(a.x, a.y); }
wxPoint pixel(Point p) { return wxPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))); }

// Distance from p to the segment ab, in pixels.
double distanceTo(wxPoint p, wxPoint a, wxPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// An arrow whose tip is at `tip`, coming from `tail`.
void arrow(wxDC& dc, Point tail, Point tip) {
  dc.DrawLine(pixel(tail), pixel(tip));
  const Point d = tip - tail;
  const double len = lengthOf(d);
  if (len < 1) return;
  const Point u = (1.0 / len) * d, n{-u.y, u.x};
  const double head = std::min(7.0, len / 2);
  const wxPoint head3[] = {pixel(tip), pixel(tip - head * u + (head / 2) * n), pixel(tip - head * u - (head / 2) * n)};
  dc.DrawPolygon(3, head3);
}

void zigzag(wxDC& dc, Point from, Point to) {
  const Point d = to - from;
  const double len = lengthOf(d);
  if (len < 1) return;
  const Point u = (1.0 / len) * d, n{-u.y, u.x};
  Point last = from;
  const int teeth = 6;
  for (int k = 1; k <= teeth; ++k) {
    const double side = k == teeth ? 0 : (k % 2 ? 5 : -5);
    const Point next = from + (len * k / teeth) * u + side * n;
    dc.DrawLine(pixel(last), pixel(next));
    last = next;
  }
}

void ground(wxDC& dc, Point centre, double half) {
  dc.DrawLine(pixel(centre - Point{half, 0}), pixel(centre + Point{half, 0}));
  for (double x = -half; x < half; x += 5)
    dc.DrawLine(pixel(centre + Point{x, 0}), pixel(centre + Point{x - 4, 5}));
}

wxString number(double value) {
  wxString text = wxString::Format("%.4g", value);
  return text;
}

}  // namespace

ModelPicture::ModelPicture(wxWindow* parent, const Document& document, Pick pick)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, 260), wxFULL_REPAINT_ON_RESIZE),
      document_(document),
      pick_(std::move(pick)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &ModelPicture::onPaint, this);
  Bind(wxEVT_LEFT_DOWN, &ModelPicture::onClick, this);
}

void ModelPicture::showCase(int loadCase) {
  loadCase_ = loadCase;
  Refresh();
}

void ModelPicture::onClick(wxMouseEvent& event) {
  const wxPoint at = event.GetPosition();
  const Target* best = nullptr;
  double nearest = 10;
  for (const Target& target : targets_) {
    const double d = distanceTo(at, target.a, target.b);
    // Supports and loads are drawn over bars: at the same distance they win.
    if (d < nearest || (best && d <= nearest && target.row.table != Table::bars)) {
      nearest = d;
      best = &target;
    }
  }
  if (best) pick_(best->row);
}

void ModelPicture::onPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  targets_.clear();
  const Content& content = document_.content();
  const ModelData& m = content.model;
  const wxSize size = GetClientSize();

  std::map<int, Point> nodes;  // model coordinates by label
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (size_t k = 1; k < m.nodes.size(); ++k) {
    nodes[m.nodes[k].label] = {m.nodes[k].x, m.nodes[k].y};
    x0 = std::min(x0, m.nodes[k].x), x1 = std::max(x1, m.nodes[k].x);
    y0 = std::min(y0, m.nodes[k].y), y1 = std::max(y1, m.nodes[k].y);
  }
  if (nodes.empty()) {
    dc.DrawText(fromCp1252("Sin nudos: escriba la viga en las tablas o use Archivo > Nueva viga continua (Ctrl+N)."),
                20, 20);
    return;
  }
  const double margin = 80, loadBand = 150, dimensionBand = 60;
  const double width = std::max(1.0, size.x - 2 * margin);
  const double height = std::max(1.0, size.y - loadBand - dimensionBand - 20);
  double scale = x1 > x0 ? width / (x1 - x0) : 1.0;
  if (y1 > y0) scale = std::min(scale, height / (y1 - y0));
  if (x1 <= x0 && y1 > y0) scale = height / (y1 - y0);
  const double left = margin + (width - (x1 - x0) * scale) / 2;
  const double bottom = loadBand + 10 + (height + (y1 - y0) * scale) / 2;
  auto screen = [&](Point p) { return Point{left + (p.x - x0) * scale, bottom - (p.y - y0) * scale}; };

  // Bars, their rigid end zones and hinges.
  std::map<int, std::pair<Point, Point>> barEnds;  // screen ends by bar label
  for (size_t k = 1; k < m.bars.size(); ++k) {
    const common::BarInput& bar = m.bars[k];
    if (!nodes.count(bar.labelI) || !nodes.count(bar.labelJ)) continue;
    const Point a = screen(nodes[bar.labelI]), b = screen(nodes[bar.labelJ]);
    barEnds[bar.label] = {a, b};
    dc.SetPen(wxPen(bar.type == 0 ? wxColour(150, 150, 150) : *wxBLACK, 3,
                    bar.type == 0 ? wxPENSTYLE_SHORT_DASH : wxPENSTYLE_SOLID));
    dc.DrawLine(pixel(a), pixel(b));
    targets_.push_back({pixel(a), pixel(b), CellPlace{Table::bars, static_cast<int>(k), 0, 0}});
    const Point d = b - a;
    dc.SetPen(wxPen(wxColour(120, 60, 0), 7));
    if (bar.adlx > 0 && bar.adlx < 1) dc.DrawLine(pixel(a), pixel(a + bar.adlx * d));
    if (bar.ablx > 0 && bar.ablx < 1) dc.DrawLine(pixel(b - bar.ablx * d), pixel(b));
    const double len = lengthOf(d);
    if (len < 1) continue;
    const Point u = (1.0 / len) * d;
    dc.SetPen(wxPen(*wxBLACK, 2));
    dc.SetBrush(*wxWHITE_BRUSH);
    if (bar.type == 2 || bar.type == 4) dc.DrawCircle(pixel(a + 8.0 * u), 4);
    if (bar.type == 3 || bar.type == 4) dc.DrawCircle(pixel(b - 8.0 * u), 4);
    if (bar.type == 7 || bar.type == 8) {
      const Point at = bar.type == 7 ? a + 8.0 * u : b - 8.0 * u, n{-u.y, u.x};
      dc.DrawLine(pixel(at - 2.0 * u - 7.0 * n), pixel(at - 2.0 * u + 7.0 * n));
      dc.DrawLine(pixel(at + 2.0 * u - 7.0 * n), pixel(at + 2.0 * u + 7.0 * n));
    }
  }
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  for (const auto& [label, p] : nodes) dc.DrawCircle(pixel(screen(p)), 2);

  // Supports below their node.
  std::vector<double> supportXs;
  for (size_t k = 1; k < m.supports.size(); ++k) {
    const common::Support& s = m.supports[k];
    if (!nodes.count(s.label)) continue;
    const Point p = screen(nodes[s.label]);
    supportXs.push_back(nodes[s.label].x);
    const common::SupportCode code(s.code);
    const Restraint h = code.along(Direction::horizontal), v = code.along(Direction::vertical),
                    r = code.along(Direction::rotation);
    dc.SetPen(wxPen(wxColour(0, 70, 160), 2));
    dc.SetBrush(wxBrush(wxColour(190, 210, 240)));
    const Point foot = p + Point{0, 22};
    if (r == Restraint::rigid) {
      dc.DrawRectangle(pixel(p - Point{7, 7}), wxSize(15, 15));
      ground(dc, p + Point{0, 8}, 14);
    } else if (v == Restraint::rigid || h == Restraint::rigid || code.isInclined()) {
      const wxPoint triangle[] = {pixel(p), pixel(p + Point{-10, 16}), pixel(p + Point{10, 16})};
      dc.DrawPolygon(3, triangle);
      if (h != Restraint::rigid) {
        dc.DrawCircle(pixel(p + Point{-5, 19}), 3);
        dc.DrawCircle(pixel(p + Point{5, 19}), 3);
      }
      ground(dc, foot, 14);
      if (code.isInclined()) dc.DrawText(wxString::Format("%g\xB0", s.angleDegrees), pixel(p + Point{12, 2}));
    } else if (v == Restraint::spring) {
      zigzag(dc, p, p + Point{0, 30});
      ground(dc, p + Point{0, 30}, 10);
      dc.DrawText("k=" + number(s.ky), pixel(p + Point{8, 10}));
    }
    if (h == Restraint::spring) {
      zigzag(dc, p, p - Point{30, 0});
      dc.DrawLine(pixel(p - Point{30, 8}), pixel(p - Point{30, -8}));
    }
    if (r == Restraint::spring) {
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawCircle(pixel(p), 9);
    }
    targets_.push_back({pixel(p), pixel(p + Point{0, 20}), CellPlace{Table::supports, static_cast<int>(k), 0, 0}});
  }

  // The loads of the case shown, to scale: distributed ones by their largest
  // intensity, point forces by the largest force.
  const int shown = std::clamp(loadCase_, 0, static_cast<int>(content.cases.size()) - 1);
  const std::vector<BarLoad>& loads = content.cases[static_cast<size_t>(shown)].loads;
  double largestSpread = 0, largestPoint = 0;
  for (const BarLoad& load : loads) {
    if (load.ltype >= 3 && load.ltype <= 5) largestSpread = std::max(largestSpread, std::fabs(load.q));
    if (load.ltype == 1) largestPoint = std::max(largestPoint, std::fabs(load.q));
  }
  for (size_t k = 1; k < m.nodalLoads.size(); ++k)
    for (int d = 0; d < 2; ++d) largestPoint = std::max(largestPoint, std::fabs(m.nodalLoads[k].value[d]));
  dc.SetFont(wxFont(8, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
  // Distributed loads first, stacked over their bar; then point actions,
  // drawn over them from above the stack.
  std::map<int, double> stacked;  // height taken over each bar
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t k = 0; k < loads.size(); ++k) {
      const BarLoad& load = loads[k];
      const bool spread = load.ltype >= 3 && load.ltype <= 5;
      if (spread != (pass == 0)) continue;
      const auto ends = barEnds.find(load.barLabel);
      if (ends == barEnds.end()) continue;
      const Point a = ends->second.first, b = ends->second.second;
      const bool vertical = load.dir == 'y' || load.dir == 'Y';
      // Distances run along the projection the load is given on.
      const double run = vertical && std::fabs(b.x - a.x) > 0.5 ? std::fabs(b.x - a.x) / scale
                                                               : lengthOf(b - a) / scale;
      auto at = [&](double distance) {
        return a + (run > 0 ? std::clamp(distance / run, 0.0, 1.0) : 0.0) * (b - a);
      };
      const Point push = vertical ? Point{0, load.q < 0 ? 1.0 : -1.0} : Point{load.q < 0 ? -1.0 : 1.0, 0};
      const Point away{0, -1};
      const double base = stacked[load.barLabel];
      const CellPlace row{Table::loads, static_cast<int>(k) + 1, 0, shown};
      dc.SetTextForeground(wxColour(200, 0, 0));
      if (spread && largestSpread > 0) {
        dc.SetPen(wxPen(wxColour(200, 0, 0), 1));
        const Point p0 = at(load.a) + base * away, p1 = at(load.a + load.c) + base * away;
        const double full = 12 + 40 * std::fabs(load.q) / largestSpread;
        const double h0 = load.ltype == 4 ? 0 : full, h1 = load.ltype == 5 ? 0 : full;
        dc.SetBrush(wxBrush(wxColour(255, 225, 225)));
        const wxPoint band[] = {pixel(p0), pixel(p0 + h0 * away), pixel(p1 + h1 * away), pixel(p1)};
        dc.DrawPolygon(4, band);
        dc.SetBrush(wxBrush(wxColour(200, 0, 0)));
        const int arrows = std::max(2, static_cast<int>(lengthOf(p1 - p0) / 24));
        for (int i = 0; i <= arrows; ++i) {
          const double t = static_cast<double>(i) / arrows;
          const Point foot = p0 + t * (p1 - p0);
          const double h = h0 + t * (h1 - h0);
          if (h < 4) continue;
          if (vertical)
            arrow(dc, push.y > 0 ? foot + h * away : foot, push.y > 0 ? foot : foot + h * away);
          else
            arrow(dc, foot + (h / 2) * away - 6.0 * push, foot + (h / 2) * away + 6.0 * push);
        }
        const wxString text = number(load.q);
        dc.DrawText(text, pixel(0.5 * (p0 + p1) + (full + 13) * away - Point{dc.GetTextExtent(text).x / 2.0, 0}));
        targets_.push_back({pixel(p0 + (full / 2) * away), pixel(p1 + (full / 2) * away), row});
        stacked[load.barLabel] = base + full + 16;
      } else if (load.ltype == 1) {
        dc.SetPen(wxPen(wxColour(150, 0, 60), 2));
        dc.SetBrush(wxBrush(wxColour(150, 0, 60)));
        dc.SetTextForeground(wxColour(150, 0, 60));
        const Point tip = at(load.a);
        const double len = base + 25 + 40 * (largestPoint > 0 ? std::fabs(load.q) / largestPoint : 0);
        arrow(dc, tip - len * push, tip);
        dc.DrawText(number(load.q), pixel(tip - len * push + Point{5, push.y > 0 ? -4.0 : -10.0}));
        targets_.push_back({pixel(tip), pixel(tip - len * push), row});
      } else if (load.ltype == 2) {
        dc.SetPen(wxPen(wxColour(150, 0, 60), 2));
        const Point c = at(load.a);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawArc(pixel(c + Point{14, 0}), pixel(c - Point{14, 0}), pixel(c));
        dc.DrawText("M=" + number(load.q), pixel(c + Point{6, -30}));
        targets_.push_back({pixel(c), pixel(c), row});
      } else if (load.ltype == 6) {
        const Point c = 0.5 * (a + b) + base * away;
        dc.DrawText(wxString::FromUTF8("\xCE\x94T=") + number(load.q), pixel(c + Point{-20, -22}));
        targets_.push_back({pixel(c), pixel(c + Point{0, -15}), row});
      }
    }
  }
  dc.SetPen(wxPen(wxColour(0, 120, 0), 1));
  dc.SetBrush(wxBrush(wxColour(0, 120, 0)));
  dc.SetTextForeground(wxColour(0, 120, 0));
  for (size_t k = 1; k < m.nodalLoads.size(); ++k) {
    const common::NodalLoad& load = m.nodalLoads[k];
    if (!nodes.count(load.label)) continue;
    const Point p = screen(nodes[load.label]);
    const CellPlace row{Table::nodalLoads, static_cast<int>(k), 0, 0};
    for (int d = 0; d < 2; ++d) {
      if (load.value[d] == 0) continue;
      const double len = 20 + 40 * std::fabs(load.value[d]) / largestPoint;
      const Point push = d == 1 ? Point{0, load.value[d] < 0 ? 1.0 : -1.0} : Point{load.value[d] < 0 ? -1.0 : 1.0, 0};
      arrow(dc, p - len * push, p);
      dc.DrawText(number(load.value[d]), pixel(p - len * push + Point{4, -14}));
      targets_.push_back({pixel(p), pixel(p - len * push), row});
    }
    if (load.value[2] != 0) {
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawArc(pixel(p + Point{16, 0}), pixel(p - Point{16, 0}), pixel(p));
      dc.DrawText("M=" + number(load.value[2]), pixel(p + Point{6, -32}));
      dc.SetBrush(wxBrush(wxColour(0, 120, 0)));
      targets_.push_back({pixel(p), pixel(p), row});
    }
  }

  // Dimensions along the beam: between the ends and the supports.
  std::vector<double> stops = supportXs;
  stops.push_back(x0);
  stops.push_back(x1);
  std::sort(stops.begin(), stops.end());
  stops.erase(std::unique(stops.begin(), stops.end(), [](double p, double q) { return std::fabs(p - q) < 1e-9; }),
              stops.end());
  const double dimensionY = bottom + 48;
  dc.SetPen(wxPen(wxColour(80, 80, 80), 1));
  dc.SetTextForeground(wxColour(60, 60, 60));
  for (size_t k = 0; k + 1 < stops.size(); ++k) {
    const double xa = left + (stops[k] - x0) * scale, xb = left + (stops[k + 1] - x0) * scale;
    dc.DrawLine(pixel({xa, dimensionY}), pixel({xb, dimensionY}));
    dc.DrawLine(pixel({xa, dimensionY - 5}), pixel({xa, dimensionY + 5}));
    dc.DrawLine(pixel({xb, dimensionY - 5}), pixel({xb, dimensionY + 5}));
    const wxString text = wxString::Format("%.6g", stops[k + 1] - stops[k]);
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, pixel({(xa + xb - extent.x) / 2, dimensionY + 3}));
  }
  dc.SetTextForeground(*wxBLACK);
  dc.DrawText(fromCp1252("Cargas del caso \"" + content.cases[static_cast<size_t>(shown)].name + "\""), 8, 4);
}

}  // namespace vigas::app
