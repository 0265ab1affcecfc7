#pragma once
// The picture of a model: bars with their rigid end zones, releases and
// tapers, supports and springs, nodes, the loads to scale with their values,
// and the span dimensions. The pieces that other pictures of the structure
// share (the frame, supports, nodes, releases) are drawn here too.
#include <vector>

#include "pictures/drawing.h"
#include "projectfiles/model_input.h"

namespace pictures {

using common::BarInput;
using projectfiles::Model;

// Model coordinates to the picture: X = x0 + x·scale, Y = y0 − y·scale.
struct ModelFrame {
  double x0 = 0, y0 = 0, scale = 1, width = 1000, height = 300;
  double X(double x) const { return x0 + x * scale; }
  double Y(double y) const { return y0 - y * scale; }
};

// Room around the structure, in pixels.
struct Margins {
  double top = 140, bottom = 130, side = 90;
};
// The structure fills a picture 1000 pixels wide (its height at most 420
// pixels); a picture grows wider when its spans would be narrower than 40
// pixels on average, so that a long beam stays readable.
ModelFrame modelFrame(const Model& model, const Margins& margins = Margins{});
// The frame as the picture's metadata.
void frameAttributes(Canvas& canvas, const ModelFrame& f);

struct Vec {
  double x = 0, y = 0;
  operator Point() const { return {x, y}; }  // NOLINT: a screen vector is a point
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

// Screen direction along a bar (I to J) and its normal (below a horizontal
// bar; the side of the engine's local −y).
inline Vec along(const BarInput& bar) { return {bar.cos, -bar.sin}; }
inline Vec normal(const BarInput& bar) { return {bar.sin, bar.cos}; }

std::vector<Point> points(const std::vector<Vec>& list);

// Every support's symbol at its node; `withNotes` adds its prescribed values
// and spring constants with their units.
void drawSupports(Drawing& d, const Model& model, const ModelFrame& f, bool withNotes);
// Nodes as filled dots, with their labels when asked.
void drawNodes(Drawing& d, const Model& model, const ModelFrame& f, bool labels);
// A hinge as an open circle on the hinged bar's end, a shear release as two
// strokes across it; `a` and `b` are the bar's ends on screen.
void drawReleases(Canvas& canvas, const BarInput& bar, Vec a, Vec b);

// The model picture's frame, with room for its farthest rows of loads.
ModelFrame modelPictureFrame(const Model& model);
// The whole model picture in `f` (from modelPictureFrame) on a drawing of its
// size; the labels are placed.
void drawModel(Drawing& d, const Model& model, const ModelFrame& f);

}  // namespace pictures
