#include "armado/schedule.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/format.h"

namespace armado {

using common::appendFormat;
using common::formatText;

double barWeight(double diameter, double length) { return barArea(diameter) * length * 1e-9 * kSteelDensity; }

double SchedulePiece::weight() const { return barWeight(diameter, totalLength()); }

int stirrupSets(const Design& design) {
  int sets = 0;
  for (const StirrupZone& z : design.stirrups) sets += z.count;
  return sets;
}

Schedule scheduleOf(const Design& d) {
  Schedule s;
  int mark = 0;
  for (const BarGroup& g : d.bars)
    for (const BarPiece& piece : g.pieces()) {
      SchedulePiece p;
      p.mark = piece.mark;
      p.diameter = g.diameter;
      p.count = g.count;
      p.length = piece.length();
      const double straight = piece.end - piece.start;
      if (piece.legStart > 0 && piece.legEnd > 0) {
        p.shape = Shape::bentBothEnds;
        p.dimensions = {piece.legStart, straight, piece.legEnd};
      } else if (piece.legStart > 0 || piece.legEnd > 0) {
        p.shape = Shape::bentOneEnd;
        p.dimensions = piece.legStart > 0 ? std::vector<double>{piece.legStart, straight}
                                          : std::vector<double>{straight, piece.legEnd};
      } else {
        p.dimensions = {straight};
      }
      s.pieces.push_back(p);
      mark = std::max(mark, piece.mark);
    }
  const int sets = stirrupSets(d);
  const StirrupShape& st = d.stirrup;
  s.pieces.push_back({++mark, st.diameter, Shape::stirrup, {st.width, st.height, st.hook}, st.length(), sets});
  if (st.ties > 0)
    s.pieces.push_back(
        {++mark, st.diameter, Shape::tie, {st.hook, st.height, st.hook}, st.tieLength(), sets * st.ties});
  std::map<double, DiameterTotal> totals;
  for (const SchedulePiece& p : s.pieces) {
    DiameterTotal& t = totals[p.diameter];
    t.diameter = p.diameter;
    t.length += p.totalLength();
    t.weight += p.weight();
    s.weight += p.weight();
  }
  for (const auto& [diameter, total] : totals) s.totals.push_back(total);
  return s;
}

namespace {

const char* shapeName(Shape shape) {
  switch (shape) {
    case Shape::straight: return "recta";
    case Shape::bentOneEnd: return "patilla";
    case Shape::bentBothEnds: return "2 patillas";
    case Shape::stirrup: return "estribo";
    case Shape::tie: return "horquilla";
  }
  return "";
}

// "15 + 2020 + 15" in cm; a stirrup "24 x 54, ganchos 8".
std::string dimensionsText(const SchedulePiece& p) {
  auto cm = [](double mm) { return formatText("%.0f", mm / 10); };
  if (p.shape == Shape::stirrup)
    return formatText("%.1f x %.1f, ganchos %.1f", p.dimensions[0] / 10, p.dimensions[1] / 10, p.dimensions[2] / 10);
  std::string text;
  for (double v : p.dimensions)
    text += (text.empty() ? "" : " + ") + (p.shape == Shape::tie ? formatText("%.1f", v / 10) : cm(v));
  return text;
}

}  // namespace

std::string scheduleText(const std::string& name, const Design& d, const Schedule& s) {
  common::TextBuffer out;
  appendFormat(out, "DESPIECE DE LA VIGA %s: %s, %s; acero de %.0f kg/m3\n", name.c_str(), d.data.concrete.name.c_str(),
               d.data.steel.name.c_str(), kSteelDensity);
  appendFormat(out,
               "marca diam. forma       cotas (cm)                  pieza (m)  n\xFAmero   total (m)   peso (kg)\n");
  for (const SchedulePiece& p : s.pieces)
    appendFormat(out, "%5d  \xD8%-3.0f %-11s %-27s %9.2f %7d %11.2f %11.2f\n", p.mark, p.diameter, shapeName(p.shape),
                 dimensionsText(p).c_str(), p.length / 1000, p.count, p.totalLength() / 1000, p.weight());
  appendFormat(out, "Por di\xE1metros:\n");
  for (const DiameterTotal& t : s.totals)
    appendFormat(out, "       \xD8%-3.0f %60.2f %11.2f\n", t.diameter, t.length / 1000, t.weight);
  appendFormat(out, "Total %75.2f\n", s.weight);
  return out.str();
}

}  // namespace armado
