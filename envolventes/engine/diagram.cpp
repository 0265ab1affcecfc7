#include "diagram.h"

namespace envelope {

void drawDiagram(const EnvelopeState& state, int selector, Canvas& canvas) {}

std::string scriptErrorText(int selector) {
  switch (selector) {
    case 1: return "ERROR SCRD";
    case 2: return "ERROR SCRM";
    default: return "ERROR SCRC";
  }
}

DrawOutcome paintDiagram(const EnvelopeState& state, int selector, Canvas& screen, MessageSink& sink) {
  return DrawOutcome::NothingToDraw;
}

DrawOutcome writeScript(const EnvelopeState& state, int selector, MessageSink& sink) {
  return DrawOutcome::NothingToDraw;
}

}  // namespace envelope
