#include "pictures/script_canvas.h"

#include <cmath>

#include "pictures/drawing.h"

namespace pictures {

using common::appendFormat;

void ScriptCanvas::point(double x, double y) { appendFormat(text_, "%.4f,%.4f", x * unit_, -y * unit_); }

// "line x1,y1 x2,y2 " and a line end: the command ends at the blank answer.
void ScriptCanvas::line(Point a, Point b, const Style&) {
  appendFormat(text_, "line ");
  point(a.x.v, a.y.v);
  appendFormat(text_, " ");
  point(b.x.v, b.y.v);
  appendFormat(text_, " \n");
}

void ScriptCanvas::circle(Point centre, Num radius, const Style&) {
  appendFormat(text_, "circle ");
  point(centre.x.v, centre.y.v);
  appendFormat(text_, " %.4f\n", radius.v * unit_);
}

// "text x,y height 0 TEXT", placed at its left end as the picture places it.
void ScriptCanvas::text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string&) {
  const double size = fontSizeOf(style.cls);
  const TextBox box = textBox(at.x.v, at.y.v, cp1252, size, anchor);
  appendFormat(text_, "text ");
  point(box.left, at.y.v);
  appendFormat(text_, " %.4f 0 %s\n", 0.7 * size * unit_, cp1252.c_str());
}

}  // namespace pictures
