#pragma once
// The envelope's pictures as the editor's envelope page draws them: the
// diagrams alternancias draws (beam, title, the rows of values under it) with
// their own axis and scale, so that each fills a band of the same height
// whatever the size of its values (a deflection of a few tenths of a
// millimetre is as readable as a moment of hundreds), no ordinate reaches the
// rows of values, and each span's extremes are written beside the curve. The
// files alternancias writes stay its own.
#include <string>
#include <vector>

#include "envolventes/engine/diagram.h"
#include "envolventes/engine/envelope_state.h"

namespace vigas {

// Height of the band the ordinates of a diagram fill, up and down together.
constexpr int kEnvelopeBand = 240;

struct PictureLabel {
  int x = 0, y = 0;  // top-left corner
  std::string text;
  envelope::Colour colour;
};

// Selector 1 deflections, 2 moments, 3 shear, as alternancias numbers them.
struct FittedDiagram {
  envelope::EnvelopeState state;  // the envelope with the picture's own layout
  envelope::EnvelopeOrdinates ordinates;
  double scale = 0;                 // pixels per unit of the diagram's values
  std::vector<PictureLabel> peaks;  // each span's extremes inside it
};
// `width` > 0: the beam spread over the picture's `width` pixels, its
// margins kept (kEnvelopeLeft before the beam, kEnvelopeRight after it),
// so that the picture fits the page's width; 0: as alternancias laid it out.
constexpr int kEnvelopeLeft = 20, kEnvelopeRight = 40, kEnvelopeNarrowest = 320;
FittedDiagram fitDiagram(const envelope::EnvelopeState& state, int selector, int width = 0);

// The name of a row of values under the beam ("Mi m\xE1x", ...) from its
// offset to the rows' reference line; nullptr for a row that has no such name.
const char* envelopeRowName(int selector, int offset);

// The box a label takes in the 11-pixel monospace the page writes with.
struct LabelBox {
  int left, top, right, bottom;
};
LabelBox labelBox(int x, int y, const std::string& text);

}  // namespace vigas
