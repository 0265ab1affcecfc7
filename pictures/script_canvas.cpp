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

void ScriptCanvas::polyline(const std::vector<Point>& points, const Style& style) {
  for (size_t k = 1; k < points.size(); ++k) line(points[k - 1], points[k], style);
}

void ScriptCanvas::polygon(const std::vector<Point>& points, const Style& style) {
  polyline(points, style);
  if (points.size() > 2) line(points.back(), points.front(), style);
}

void ScriptCanvas::circle(Point centre, Num radius, const Style&) {
  appendFormat(text_, "circle ");
  point(centre.x.v, centre.y.v);
  appendFormat(text_, " %.4f\n", radius.v * unit_);
}

// Moves and straight steps as lines; an arc as its chord.
void ScriptCanvas::path(const Path& steps, const Style& style) {
  double x = 0, y = 0;
  for (const PathStep& s : steps) {
    const bool absolute = s.kind == PathStep::moveTo;
    const double nx = absolute ? s.to.x.v : x + s.to.x.v, ny = absolute ? s.to.y.v : y + s.to.y.v;
    if (s.kind == PathStep::lineBy || s.kind == PathStep::arcTo) line({x, y}, {nx, ny}, style);
    x = nx;
    y = ny;
  }
}

// "text x,y height 0 TEXT", placed at its left end as the picture places it.
void ScriptCanvas::text(Point at, const std::string& cp1252, const Style& style,
                        Anchor anchor, const std::string&) {
  const double size = fontSizeOf(style.cls);
  const TextBox box = textBox(at.x.v, at.y.v, cp1252, size, anchor);
  appendFormat(text_, "text ");
  point(box.left, at.y.v);
  appendFormat(text_, " %.4f 0 %s\n", 0.7 * size * unit_, cp1252.c_str());
}

}  // namespace pictures
