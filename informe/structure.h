#pragma once
// What every picture of the structure shares: the frame that puts the model on
// the picture, screen vectors, and the drawing of supports, nodes and end
// releases at their places.
#include <string>
#include <vector>

#include "informe/report_data.h"
#include "informe/svg.h"

namespace informe {

using namespace common;

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
void frameAttributes(SvgPicture& pic, const ModelFrame& f);

struct Vec {
  double x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

// Screen direction along a bar (I to J) and its normal (below a horizontal
// bar; the side of the engine's local −y).
inline Vec along(const BarInput& bar) { return {bar.cos, -bar.sin}; }
inline Vec normal(const BarInput& bar) { return {bar.sin, bar.cos}; }

std::string attr(const std::string& name, const std::string& value);
std::string translate(double X, double Y);
std::string pointList(const std::vector<Vec>& list);

// Every support's symbol at its node; `withNotes` adds its prescribed values
// and spring constants with their units.
void drawSupports(SvgPicture& pic, const Model& model, const ModelFrame& f, bool withNotes);
// Nodes as filled dots, with their labels when asked.
void drawNodes(SvgPicture& pic, const Model& model, const ModelFrame& f, bool labels);
// A hinge as an open circle on the hinged bar's end, a shear release as two
// strokes across it; `a` and `b` are the bar's ends on screen.
void drawReleases(std::ostringstream& o, const BarInput& bar, Vec a, Vec b);

}  // namespace informe
