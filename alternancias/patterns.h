#pragma once
// Spans of a continuous beam: the stretches its variable load may stand on.
#include <string>
#include <vector>

#include "projectfiles/model_input.h"

namespace alternancias {

using namespace common;

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
std::vector<Span> spansOf(const projectfiles::Model& model, const std::string& datPath);

// The span (0-based) of every bar (index 1..nb; slot 0 unused).
std::vector<int> spanOfBars(const std::vector<Span>& spans);

}  // namespace alternancias
