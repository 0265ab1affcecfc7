#pragma once
// The long-term deflection of the reinforced beam (EN 1992-1-1, 7.4.3): at
// every point the curvature interpolated between the uncracked and the fully
// cracked section with the bars laid there, creep by the effective modulus,
// shrinkage by its curvature, integrated twice along each span between its
// supports (an overhang from its support, turned as the span beside it
// turns). The moments are those of the linear analysis of the gross section.
#include <vector>

#include "armado/design.h"

namespace armado {

// The concrete's state at an age: Ec,eff = Ecm / (1 + phi) and the shrinkage
// strain then; beta of (7.19); the moments of the quasi-permanent
// combination, or of the permanent load alone; `alwaysCracked` takes zeta =
// 1 everywhere (a test's limit case).
struct LongTermState {
  double EcEff = 0, epsCs = 0;
  double beta = 0.5;
  bool permanentOnly = false;
  bool alwaysCracked = false;
};

// The curvature and deflection of the beam at its stations: curvature
// sagging positive (1/mm), deflection upward positive (mm) from the line
// through the span's supports. A span between supports takes each point's
// largest quasi-permanent moment, which bounds its sag under every
// arrangement of the variable load (the curvature grows with the moment, and
// a span's sag weighs its curvature with positive weights); an overhang and
// the span it hangs from take the smallest (most hogging) one, which bounds
// the tip's drop.
struct DeflectionLine {
  std::vector<double> curvature, deflection;  // per station of the demand
  struct Span {
    double sag = 0, at = 0;  // the largest downward deflection (mm, positive) and where (x, mm)
  };
  std::vector<Span> spans;  // per span of the demand
};

// The line of `demand`'s beam with `design`'s bars (the design's section and
// materials). `other`, when given, is subtracted point by point before the
// spans' largest sags are taken (the part of the deflection after an age).
DeflectionLine deflectionLine(const Design& design, const BeamDemand& demand, const LongTermState& state,
                              const LongTermState* other = nullptr);

}  // namespace armado
