#pragma once
// A continuous beam between its spans and its bars. The model's nodes, bars,
// supports and bar loads are made from the spans: every piece cut at its
// supports and at every load point of every case, and into equal bars fine
// enough for the beam's modes and design; and the spans are read back from
// a model that is a continuous beam, so that a beam made by its spans,
// saved and opened again shows the same spans.
#include <string>
#include <vector>

#include "vigas/checks.h"

namespace vigas {

// The model's nodes, bars and supports and every case's loads made from
// content.spans (which must be there); the header, sections and materials
// stay, ties and nodal loads go. A load at fault (spanFaults) is left out.
// What came from what: the piece of each bar, and per case the span load of
// each bar load (0-based).
struct MadeBars {
  std::vector<int> pieceOfBar;
  std::vector<std::vector<int>> loadOfBarLoad;
};
MadeBars makeBars(Content& content);

// The spans of a model that is a continuous beam: nodes on one level, each
// joined to the next by one bar drawn left to right, rigid at both ends,
// prismatic and without rigid zones; at least one support, on its nodes;
// no ties or nodal loads; the bars between two supports of one section,
// material and shear switch; every load on its bar. A load is read as its
// piece's (x from the piece's left end), a distributed one made of pieces
// written one after the other along the bars as one load. `reason` says in
// Spanish why the model is not such a beam ("" when it is).
struct SpanReading {
  std::string reason;
  SpanBeam beam;
};
SpanReading readSpans(const Content& content);

// The spans as they are edited: content.spans, else those read from the model.
SpanReading spansOf(const Content& content);

// The rules the spans break, on Table::spans (row: piece + 1) and
// Table::spanLoads (row: load + 1, per case); none without content.spans.
std::vector<CellError> spanFaults(const Content& content);

// A piece made longer or shorter: the loads on it keep their place relative
// to its length (a load over the whole span stays over the whole span); the
// loads along the beam keep their x.
void setPieceLength(SpanBeam& beam, int piece, double length);

// A new span before piece `piece` (1 .. pieces - 1; an overhang's position
// puts it next to the overhang), like its neighbour, with a roller at its
// new end; and a span taken away with its loads (an overhang is made 0
// long). A beam without pieces gets its first span, on a pin and a roller.
void insertSpan(SpanBeam& beam, int piece);
void removePiece(SpanBeam& beam, int piece);

// The cuts of a piece of this length, from its left end, 0 and the length
// included: at the load points inside it, and each stretch between them into
// its share of `bars` equal bars (at least one).
std::vector<double> cutsOf(double length, std::vector<double> points, int bars);

// A number with the few digits a person would write for it (12 significant):
// lengths and values the editor computes are stored so, and read back the same.
double tidy(double value);

}  // namespace vigas
