#include "envolventes/engine/envelope_state.h"

#include "common/file_names.h"

namespace envelope {

using namespace common;

PointEnvelopes::PointEnvelopes()
    : x(kMaxDiagramPoints),
      DeflectionMax(kMaxDiagramPoints),
      DeflectionMin(kMaxDiagramPoints),
      MomentMaxLeft(kMaxDiagramPoints),
      MomentMinLeft(kMaxDiagramPoints),
      MomentMaxRight(kMaxDiagramPoints),
      MomentMinRight(kMaxDiagramPoints),
      ShearMaxLeft(kMaxDiagramPoints),
      ShearMinLeft(kMaxDiagramPoints),
      ShearMaxRight(kMaxDiagramPoints),
      ShearMinRight(kMaxDiagramPoints) {}

EnvelopeOrdinates::EnvelopeOrdinates()
    : DeflectionMaxY(kMaxDiagramPoints),
      DeflectionMinY(kMaxDiagramPoints),
      MomentMaxLeftY(kMaxDiagramPoints),
      MomentMinLeftY(kMaxDiagramPoints),
      MomentMaxRightY(kMaxDiagramPoints),
      MomentMinRightY(kMaxDiagramPoints),
      ShearMaxLeftY(kMaxDiagramPoints),
      ShearMinLeftY(kMaxDiagramPoints),
      ShearMaxRightY(kMaxDiagramPoints),
      ShearMinRightY(kMaxDiagramPoints) {}

EnvelopeState::EnvelopeState()
    : nodeDeflectionMax(kMaxEnvelopeNodes + 1),
      nodeDeflectionMin(kMaxEnvelopeNodes + 1),
      barForcesMax(kMaxBars + 1),
      barForcesMin(kMaxBars + 1),
      reactionMax(kMaxEnvelopeSupports + 1),
      reactionMin(kMaxEnvelopeSupports + 1) {
  layout.pointX.assign(1, 20);
  current.points.assign(1, PointResult{});
}

void EnvelopeState::setEnvelopeName(const std::string& name) {
  envelopeName_ = name;
  named_ = true;
}

std::string EnvelopeState::scriptName(int selector) const {
  if (!named_) return {};
  if (selector < 1 || selector > 3) return {};
  return envelopeScriptName(envelopeName_, selector);
}

}  // namespace envelope
