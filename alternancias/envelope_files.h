#pragma once
// The exact envelope in the envelope engine's files: NAME.res, NAME.esf, the
// scripts NAMEd/m/c.scr and the pictures NAMEd/m/c.svg, written by the
// engine's own writers from an envelope state filled with the exact extremes.
#include <string>

#include "envolventes/engine/envelope_state.h"
#include "alternancias/exact_envelope.h"
#include "envolventes/engine/output_files.h"

namespace alternancias {

// The state the engine's writers and drawings take: the beam's tables as
// `current`, the layout of a width x height area, and the extremes as they
// are (a smallest value is not raised to zero, nor a largest lowered to it).
void fillEnvelopeState(envelope::EnvelopeState& state, const std::string& name, const projectfiles::Model& model,
                       const ExactEnvelope& envelope, int width, int height);

// Writes every envelope file of the filled state into `files`; returns the
// engine's messages when one could not be written (empty when all were).
std::string writeEnvelopeFiles(const envelope::EnvelopeState& state, const ExactEnvelope& envelope,
                               const envelope::OutputFiles& files);

}  // namespace alternancias
