#pragma once
// Spans of a continuous beam: the stretches its variable load may stand on.
#include <string>
#include <vector>

#include "calcest/loads.h"
#include "projectfiles/model_input.h"

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
std::vector<Span> spansOf(const projectfiles::Model& model, const std::string& datPath);

// The span (0-based) of every bar (index 1..nb; slot 0 unused).
std::vector<int> spanOfBars(const std::vector<Span>& spans);

// The span (0-based) a variable load stands on: its bar's, except that a point
// force or moment at the start of a span's first bar acts on the support the
// span begins at, and belongs to the span before it, as when written at the
// end of that span's last bar. `spanOfBar` from spanOfBars.
int spanOfLoad(const std::vector<Span>& spans, const std::vector<int>& spanOfBar, const calcest::LoadOnBar& load);

}  // namespace alternancias
