#pragma once
// One case's results span by span, as an engineer reads a continuous beam:
// for each overhang and span its largest and most negative bending moment
// and its largest shear, each with where it is, and its largest deflection
// measured from the line through its supports (an overhang's from the level
// of its support), with the span's length over it.
#include <string>
#include <vector>

#include "calcest/true_extremes.h"
#include "vigas/analysis.h"

namespace vigas {

// Signs as calcest's output: a moment is positive when it stretches the
// bottom face (sagging); a shear is positive when the part left of the
// section is pushed up; a deflection is positive upward. x is measured from
// the piece's left end, in the model's length unit; the deflection is in the
// model's deflection unit (projectfiles::UnitLabels::deflection).
struct SpanSummary {
  enum Kind { span, leftOverhang, rightOverhang } kind = span;
  std::string name;  // "voladizo izquierdo", "vano 1", ..., "voladizo derecho"
  double length = 0;
  double maxMoment = 0, maxMomentAt = 0;
  double minMoment = 0, minMomentAt = 0;
  double shear = 0, shearAt = 0;  // the one of largest size
  double deflection = 0, deflectionAt = 0;
  double ratio = 0;  // length / |deflection| (both in the length unit); 0 when it does not deflect
};

// The beam's curves along it, from its first node: the moment (sagging
// positive), its slope the shear, the deflection (in the length unit); and the
// supports' places, in order.
struct BeamCurves {
  calcest::PiecewiseCurve moment, shear, deflection;
  std::vector<double> supports;
  double length = 0;
};
// False (and `beam` incomplete) unless the case is a beam as spanSummaries takes.
bool beamCurves(const CaseResults& results, BeamCurves& beam);

// Empty unless the case was analysed and its model is a horizontal beam of
// bars one after the other, drawn left to right, with a support at least.
std::vector<SpanSummary> spanSummaries(const CaseResults& results);

// The factor from the model's length unit to its deflection unit.
double deflectionFactor(int unitCode);

}  // namespace vigas
