#pragma once
// Spans of a continuous beam and the arrangements of its variable load.
#include <string>
#include <vector>

#include "model_input.h"

namespace alternancias {

// Whether a support of this code holds the beam up, as the engine acts on it
// (SupportCode::holdsBeamUp).
bool holdsDeflection(int code);

// A stretch of the beam between two consecutive supports, or an overhang past
// the first or last one. Bars firstBar..lastBar (1-based, left to right).
struct Span {
  int firstBar = 0, lastBar = 0;
  bool overhang = false;
};

// The spans of a beam that passed checkContinuousBeam. Throws RunError naming
// `datPath` when fewer than two supports hold it up.
std::vector<Span> spansOf(const informe::Model& model, const std::string& datPath);

// The span (0-based) of every bar (index 1..nb; slot 0 unused).
std::vector<int> spanOfBars(const std::vector<Span>& spans);

// Which spans carry the variable load, and how the arrangement is called.
struct Pattern {
  std::vector<bool> loaded;  // per span
  std::string description;   // e.g. "tramos 1, 3 (impares)"
};

// All spans; odd spans; even spans; each pair of adjacent spans with every
// second span beyond them; each span alone. Only spans that carry variable load
// (`carries`, per span) are loaded, so an arrangement may load none (the
// permanent load alone); one that loads the same spans as an arrangement
// before it is left out.
std::vector<Pattern> loadPatterns(const std::vector<bool>& carries);

}  // namespace alternancias
