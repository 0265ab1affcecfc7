#pragma once
// The CAD script of a picture of the shared canvas: "line", "circle" and
// "text" commands, y upward; polylines, polygons and paths go out as their
// lines. Groups carry no transform here: the pictures drawn through it place
// every element themselves.
#include <cstdio>
#include <string>
#include <vector>

#include "common/format.h"
#include "pictures/canvas.h"

namespace pictures {

// How the numbers of a script are written.
enum class ScriptForm {
  // Drawing units (picture pixels times the units per pixel) with four
  // decimals, ordinates negated; a text placed at its left end, its height
  // from its class.
  units,
  // Whole pixels (the envelope's diagrams): line ordinates mirrored about the
  // picture's axis, text ordinates negated, every text 6 high where drawn.
  pixels,
};

class ScriptCanvas : public Canvas {
 public:
  explicit ScriptCanvas(ScriptForm form, double unitsPerPixel = 1) : form_(form), unit_(unitsPerPixel) {}
  void beginPicture(int /*width*/, int /*height*/, int axisY) override { axisY_ = axisY; }
  void line(Point a, Point b, const Style& style) override;
  void circle(Point centre, Num radius, const Style& style) override;
  void text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string& markup) override;
  std::string script() const { return text_.str(); }
  void writeTo(FILE* out) const;

 private:
  void number(double value);
  void point(double x, double y);
  ScriptForm form_;
  double unit_;
  int axisY_ = 0;
  common::TextBuffer text_;
};

}  // namespace pictures
