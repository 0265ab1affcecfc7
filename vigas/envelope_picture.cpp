#include "vigas/envelope_picture.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace vigas {

namespace {

constexpr int kCharWidth = 7, kLineHeight = 13;                    // the page's 11-pixel monospace
constexpr int kTitleRoom = 14;                                     // under the title
constexpr int kPeakRoom = 2 * kLineHeight;                         // a span's two extremes beside the curve
constexpr int kRowsAbove = 45, kRowsBelow = 45 + kLineHeight + 6;  // the rows of values about labelY
const int kTitleY[3] = {115, 70, 50};                              // where alternancias writes each title

// The values of a diagram and the ordinates they give, with the side the
// drawing takes them to: -1 upward for a positive value (deflections, shear),
// +1 downward (moments).
struct Column {
  const std::vector<float>* values;
  std::vector<int>* ordinates;
  bool left;  // a value on the left of each point, not only at a step
};

int sideOf(int selector) { return selector == 2 ? +1 : -1; }

std::vector<Column> columnsOf(const envelope::PointEnvelopes& p, envelope::EnvelopeOrdinates& o, int selector) {
  switch (selector) {
    case 1: return {{&p.DeflectionMax, &o.DeflectionMaxY, true}, {&p.DeflectionMin, &o.DeflectionMinY, true}};
    case 2:
      return {{&p.MomentMaxLeft, &o.MomentMaxLeftY, true},
              {&p.MomentMinLeft, &o.MomentMinLeftY, true},
              {&p.MomentMaxRight, &o.MomentMaxRightY, false},
              {&p.MomentMinRight, &o.MomentMinRightY, false}};
    default:
      return {{&p.ShearMaxLeft, &o.ShearMaxLeftY, true},
              {&p.ShearMinLeft, &o.ShearMinLeftY, true},
              {&p.ShearMaxRight, &o.ShearMaxRightY, false},
              {&p.ShearMinRight, &o.ShearMinRightY, false}};
  }
}

bool overlap(const LabelBox& a, const LabelBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Each span's largest value of a left column (and smallest of a minimum
// one) where it lies inside the span, not at a support, which the rows
// under the beam already give: written just beyond every ordinate drawn
// under it, on the side the curve takes there.
void addPeaks(FittedDiagram& d, int selector, const std::vector<Column>& columns) {
  const envelope::EnvelopeState& s = d.state;
  const std::vector<int>& px = s.layout.pointX;
  const int side = sideOf(selector), axis = s.layout.axisY;
  for (int first = 0; first + 20 <= s.lastPoint; first += 20)
    for (size_t c = 0; c < 2; ++c) {
      const std::vector<float>& v = *columns[c].values;
      const bool largest = c == 0;
      int at = first + 1;
      for (int P = first + 1; P < first + 20; ++P)
        if (largest ? v[P] > v[at] : v[P] < v[at]) at = P;
      const bool inside =
          largest ? v[at] > std::max(v[first], v[first + 20]) : v[at] < std::min(v[first], v[first + 20]);
      const int tip = side * (*columns[c].ordinates)[at];
      if (!inside || tip == 0) continue;
      PictureLabel label{0, 0, common::formatText("%.2f", v[at]), envelope::Colour{}};
      label.colour = selector == 1 ? envelope::kGreen : selector == 2 ? envelope::kRed : envelope::kBlue;
      label.x = px[at] - kCharWidth * static_cast<int>(label.text.size()) / 2;
      const LabelBox box = labelBox(label.x, 0, label.text);
      // The farthest any ordinate goes on that side under the label's width.
      int reach = tip < 0 ? -8 : 8;
      for (int P = 0; P <= s.lastPoint; ++P)
        if (px[P] >= box.left - 1 && px[P] <= box.right + 1)
          for (const Column& other : columns) {
            const int o = side * (*other.ordinates)[P];
            reach = tip < 0 ? std::min(reach, o) : std::max(reach, o);
          }
      label.y = tip < 0 ? axis + reach - kLineHeight - 1 : axis + reach + 2;
      for (bool moved = true; moved;) {
        moved = false;
        for (const PictureLabel& earlier : d.peaks)
          if (overlap(labelBox(label.x, label.y, label.text), labelBox(earlier.x, earlier.y, earlier.text))) {
            label.y += tip < 0 ? -kLineHeight : kLineHeight;
            moved = true;
          }
      }
      d.peaks.push_back(label);
    }
}

// The beam's points moved in proportion so that it ends kEnvelopeRight
// before `width` (never narrower than kEnvelopeNarrowest in all).
void spread(envelope::DiagramLayout& layout, int width) {
  const int span = layout.rightEnd - kEnvelopeLeft;
  if (width <= 0 || span <= 0) return;
  const int room = std::max(kEnvelopeNarrowest, width) - kEnvelopeLeft - kEnvelopeRight;
  const double k = static_cast<double>(room) / span;
  for (int& x : layout.pointX) x = kEnvelopeLeft + static_cast<int>(std::lround((x - kEnvelopeLeft) * k));
  layout.rightEnd = kEnvelopeLeft + room;
  layout.areaWidth = room + kEnvelopeLeft + kEnvelopeRight;
}

}  // namespace

LabelBox labelBox(int x, int y, const std::string& text) {
  return {x, y, x + kCharWidth * static_cast<int>(text.size()), y + kLineHeight};
}

FittedDiagram fitDiagram(const envelope::EnvelopeState& state, int selector, int width) {
  FittedDiagram d{state, {}, 0, {}};
  if (selector < 1 || selector > 3) return d;
  spread(d.state.layout, width);
  const std::vector<Column> columns = columnsOf(d.state.points, d.ordinates, selector);
  const int side = sideOf(selector);
  // How far the values go up and down, in their own unit.
  double up = 0, down = 0;
  for (const Column& c : columns)
    for (int P = 0; P <= state.lastPoint; ++P) {
      const double drawn = side * static_cast<double>((*c.values)[P]);  // below the axis when positive
      up = std::max(up, -drawn), down = std::max(down, drawn);
    }
  d.scale = up + down > 0 ? kEnvelopeBand / (up + down) : 0;
  for (const Column& c : columns)
    for (int P = 0; P <= state.lastPoint; ++P)
      (*c.ordinates)[P] = static_cast<int>(std::trunc((*c.values)[P] * d.scale));
  envelope::DiagramLayout& layout = d.state.layout;
  layout.axisY = kTitleY[selector - 1] + kTitleRoom + kPeakRoom + static_cast<int>(std::ceil(up * d.scale));
  layout.labelY = layout.axisY + static_cast<int>(std::ceil(down * d.scale)) + kPeakRoom + 4 + kRowsAbove;
  layout.areaHeight = layout.labelY + kRowsBelow;
  addPeaks(d, selector, columns);
  return d;
}

const char* envelopeRowName(int selector, int offset) {
  struct Row {
    int offset;
    const char* name;
  };
  static const std::vector<Row> rows[3] = {
      {{-45, "y m\xE1x"}, {-30, "y m\xEDn"}},
      {{-30, "Mi m\xE1x"}, {0, "Md m\xE1x"}, {-45, "Mi m\xEDn"}, {-15, "Md m\xEDn"}},
      {{-15, "Qi m\xE1x"},
       {0, "Qd m\xE1x"},
       {-45, "Qi m\xEDn"},
       {-30, "Qd m\xEDn"},
       {15, "R m\xEDn"},
       {30, "R m\xE1x"}}};
  if (selector < 1 || selector > 3) return nullptr;
  for (const Row& row : rows[selector - 1])
    if (row.offset == offset) return row.name;
  return nullptr;
}

}  // namespace vigas
