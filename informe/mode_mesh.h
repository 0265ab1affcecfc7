#pragma once
// Whether a modes file's model is fine enough for a mode: a bar bends as a
// cubic, so a mode whose half-wave spans too few bars comes out too high. On
// a simple span the lowest frequency of one bar per half-wave is 11 % high,
// of one and a half bars 1.2 %, of two 0.4 % (the error falls with the fourth
// power of the bar's share of the half-wave): below two bars per half-wave a
// frequency may be more than 1 % off the beam's.
#include "projectfiles/model_input.h"

namespace informe {

inline constexpr double kConvergedBarsPerHalfWave = 2.0;

// The fewest bars per half-wave of bending at `frequency` (cycles per second)
// over the bars that bend: the half-wave pi / k, k^4 = w^2 m / EI, against the
// bar's flexible length. Infinite for a frequency of zero or a model with no
// bar that bends.
double barsPerHalfWave(const projectfiles::Model& model, double frequency);

}  // namespace informe
