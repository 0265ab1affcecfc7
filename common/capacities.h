#pragma once
// Sizes the programs agree on through their files.
#include <cstddef>

namespace common {

// Bars of one beam: the diagram file's point grid holds 20 points per bar plus
// the first, and the envelope viewer sizes its tables from the same count.
constexpr int kMaxBars = 250;
constexpr int kMaxDiagramPoints = 20 * kMaxBars + 1;  // points 0..5000

// Characters of a model file name calcest takes: its side files' names are
// built from it.
constexpr size_t kMaxModelNameLength = 51;

// The envelope's tables: projects of one envelope, nodes and supports of its
// beam, node labels that may carry a nodal load, and load lines of one project
// (its loads file and self-weight file together). Anything beyond them is
// refused with a message.
constexpr int kMaxEnvelopeProjects = 50;
constexpr int kMaxEnvelopeNodes = 300;
constexpr int kMaxEnvelopeSupports = 300;
constexpr int kEnvelopeNodalLoadSlots = 99;  // node labels 1..99
constexpr int kMaxEnvelopeLoadLines = 499;

// The envelope's drawing area in pixels: the sizes taken, and the one used
// unless another is asked for.
struct PixelRange {
  int low, high, preset;
  constexpr bool holds(int pixels) const { return pixels >= low && pixels <= high; }
};
constexpr PixelRange kDrawingWidth{300, 20000, 3000};
constexpr PixelRange kDrawingHeight{200, 2000, 400};

}  // namespace common
