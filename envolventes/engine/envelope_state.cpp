#include "envolventes/engine/envelope_state.h"

namespace envelope {

using namespace common;

PointEnvelopes::PointEnvelopes()
    : x(kMaxPoints), DeflectionMax(kMaxPoints), DeflectionMin(kMaxPoints), MomentMaxLeft(kMaxPoints),
      MomentMinLeft(kMaxPoints), MomentMaxRight(kMaxPoints), MomentMinRight(kMaxPoints), ShearMaxLeft(kMaxPoints),
      ShearMinLeft(kMaxPoints), ShearMaxRight(kMaxPoints), ShearMinRight(kMaxPoints) {}

EnvelopeOrdinates::EnvelopeOrdinates()
    : DeflectionMaxY(kMaxPoints), DeflectionMinY(kMaxPoints), MomentMaxLeftY(kMaxPoints), MomentMinLeftY(kMaxPoints),
      MomentMaxRightY(kMaxPoints), MomentMinRightY(kMaxPoints), ShearMaxLeftY(kMaxPoints), ShearMinLeftY(kMaxPoints),
      ShearMaxRightY(kMaxPoints), ShearMinRightY(kMaxPoints) {}

EnvelopeState::EnvelopeState()
    : nodeDeflectionMax(kMaxNodes + 1), nodeDeflectionMin(kMaxNodes + 1), barForcesMax(kMaxBars + 1),
      barForcesMin(kMaxBars + 1), reactionMax(kMaxSupports + 1), reactionMin(kMaxSupports + 1) {
  layout.pointX.assign(1, 20);
  current.points.assign(1, PointResult{});
}

void EnvelopeState::setEnvelopeName(const std::string& name) {
  envelopeName_ = name;
  named_ = true;
}

std::string EnvelopeState::scriptName(int selector) const {
  if (!named_) return {};
  switch (selector) {
    case 1: return envelopeName_ + "d.scr";
    case 2: return envelopeName_ + "m.scr";
    case 3: return envelopeName_ + "c.scr";
    default: return {};
  }
}

}  // namespace envelope
