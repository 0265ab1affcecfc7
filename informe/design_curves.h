#pragma once
// The serviceability curves of armado's design along the beam: the long-term
// curvature, and the elastic and the long-term deflection side by side. Drawn
// once onto the suite's canvas, for the report (from NAME.arm) and for the
// editor's Armado tab (from the design in memory).
#include <vector>

#include "pictures/canvas.h"

namespace informe {

struct ServiceCurves {
  std::vector<double> x;          // m
  std::vector<double> curvature;  // 1/km, sagging positive
  std::vector<double> elastic;    // mm, upward positive: the characteristic combination's, E I of the model
  std::vector<double> longTerm;   // mm, upward positive: the quasi-permanent one's, cracked, from the supports
  std::vector<double> supports;   // x (m)
};

inline constexpr double kServiceCurvesWidth = 900, kServiceCurvesHeight = 430;

// Two panels, the curvature above and the deflections below, on a picture
// of kServiceCurvesWidth x kServiceCurvesHeight; each span's extremes labelled.
void drawServiceCurves(pictures::Canvas& canvas, const ServiceCurves& curves);

}  // namespace informe
