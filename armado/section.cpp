#include <algorithm>
#include <cmath>

#include "armado/design.h"

namespace armado {

namespace {
constexpr double kOnBar = 1e-6;  // mm: a station at a bar's end is on it

bool runsOver(const BarGroup& g, int face, double x) { return g.face == face && covers(g, x); }
}  // namespace

std::vector<BarPiece> BarGroup::pieces() const {
  std::vector<BarPiece> pieces;
  for (size_t k = 0; k <= laps.size(); ++k) {
    BarPiece p;
    p.mark = k < marks.size() ? marks[k] : mark;
    p.start = k == 0 ? start : laps[k - 1].start;
    p.end = k == laps.size() ? end : laps[k].end;
    p.legStart = k == 0 ? legStart : 0;
    p.legEnd = k == laps.size() ? legEnd : 0;
    pieces.push_back(p);
  }
  return pieces;
}

bool covers(const BarGroup& g, double x) {
  return (x >= g.start - kOnBar || g.fromBeamStart) && (x <= g.end + kOnBar || g.toBeamEnd);
}

FaceSteel faceSteelAt(const std::vector<BarGroup>& bars, int face, double x) {
  FaceSteel steel;
  double moment = 0;
  for (const BarGroup& g : bars) {
    if (!runsOver(g, face, x)) continue;
    const double a = barArea(g.diameter);
    steel.area += g.count * a;
    moment += (g.count - g.inner) * a * g.depth + g.inner * a * g.innerDepth;
    steel.firstLayerCount += g.count - g.inner;
    steel.largestDiameter = std::max(steel.largestDiameter, g.diameter);
    steel.smallestDiameter = steel.smallestDiameter == 0 ? g.diameter : std::min(steel.smallestDiameter, g.diameter);
  }
  if (steel.area > 0) steel.centroid = moment / steel.area;
  return steel;
}

std::vector<SteelLayer> sectionLayers(const std::vector<BarGroup>& bars, double h, int tensionFace, double x) {
  std::vector<SteelLayer> layers;
  for (const BarGroup& g : bars) {
    if (!runsOver(g, g.face, x)) continue;
    const double a = barArea(g.diameter);
    // Depths below the compressed face, the face opposite the tension face.
    auto depth = [&](double fromOwnFace) { return g.face == tensionFace ? h - fromOwnFace : fromOwnFace; };
    if (g.count > g.inner) layers.push_back({(g.count - g.inner) * a, depth(g.depth)});
    if (g.inner > 0) layers.push_back({g.inner * a, depth(g.innerDepth)});
  }
  return layers;
}

}  // namespace armado
