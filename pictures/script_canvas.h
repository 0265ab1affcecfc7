#pragma once
// The CAD script of a picture of the shared canvas: "line", "circle" and
// "text" commands in drawing units (picture pixels times `unitsPerPixel`),
// y upward; polylines, polygons and paths go out as their lines. Groups carry no transform here: the pictures drawn
// through it place every element themselves.
#include <string>
#include <vector>

#include "common/format.h"
#include "pictures/canvas.h"

namespace pictures {

class ScriptCanvas : public Canvas {
 public:
  explicit ScriptCanvas(double unitsPerPixel) : unit_(unitsPerPixel) {}
  void line(Point a, Point b, const Style& style) override;
  void circle(Point centre, Num radius, const Style& style) override;
  void text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string& markup) override;
  std::string script() const { return text_.str(); }

 private:
  void point(double x, double y);
  double unit_;
  common::TextBuffer text_;
};

}  // namespace pictures
