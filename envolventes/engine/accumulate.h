#pragma once
// Combination of one project into the envelopes: result records, the project's
// extremes and scales, and the point envelopes; and the envelope ordinates once
// all projects are in.
#include "envolventes/engine/envelope_state.h"

namespace envelope {

// A value >= 0 raises the maximum when >= it; a value < 0 lowers the minimum
// when <= it.
inline void combine(float v, float& max, float& min) {
  if (v >= 0) {
    if (v >= max) max = v;
  } else if (v <= min) {
    min = v;
  }
}

void combineResultRecords(EnvelopeState& state, const ProjectTables& project);
void computeProjectScales(EnvelopeState& state, const ProjectTables& project);
void combinePointEnvelopes(EnvelopeState& state, const ProjectTables& project);
void computeOrdinates(EnvelopeState& state);
// The same ordinates into `ordinates`, the state only read.
void computeOrdinates(const EnvelopeState& state, EnvelopeOrdinates& ordinates);

}  // namespace envelope
