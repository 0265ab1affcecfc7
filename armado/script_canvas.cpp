#include "armado/script_canvas.h"

#include <cmath>

#include "pictures/drawing.h"

namespace armado {

using common::appendFormat;

void ScriptCanvas::point(double x, double y) { appendFormat(text_, "%.4f,%.4f", x * unit_, -y * unit_); }

// "line x1,y1 x2,y2 " and a line end: the command ends at the blank answer.
void ScriptCanvas::line(pictures::Point a, pictures::Point b, const pictures::Style&) {
  appendFormat(text_, "line ");
  point(a.x.v, a.y.v);
  appendFormat(text_, " ");
  point(b.x.v, b.y.v);
  appendFormat(text_, " \n");
}

void ScriptCanvas::polyline(const std::vector<pictures::Point>& points, const pictures::Style& style) {
  for (size_t k = 1; k < points.size(); ++k) line(points[k - 1], points[k], style);
}

void ScriptCanvas::polygon(const std::vector<pictures::Point>& points, const pictures::Style& style) {
  polyline(points, style);
  if (points.size() > 2) line(points.back(), points.front(), style);
}

void ScriptCanvas::circle(pictures::Point centre, pictures::Num radius, const pictures::Style&) {
  appendFormat(text_, "circle ");
  point(centre.x.v, centre.y.v);
  appendFormat(text_, " %.4f\n", radius.v * unit_);
}

void ScriptCanvas::rect(pictures::Point corner, pictures::Num width, pictures::Num height,
                        const pictures::Style& style) {
  const double x = corner.x.v, y = corner.y.v, w = width.v, h = height.v;
  polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, style);
}

// Moves and straight steps as lines; an arc as its chord.
void ScriptCanvas::path(const pictures::Path& steps, const pictures::Style& style) {
  double x = 0, y = 0;
  for (const pictures::PathStep& s : steps) {
    const bool absolute = s.kind == pictures::PathStep::moveTo;
    const double nx = absolute ? s.to.x.v : x + s.to.x.v, ny = absolute ? s.to.y.v : y + s.to.y.v;
    if (s.kind == pictures::PathStep::lineBy || s.kind == pictures::PathStep::arcTo) line({x, y}, {nx, ny}, style);
    x = nx;
    y = ny;
  }
}

// "text x,y height 0 TEXT", placed at its left end as the picture places it.
void ScriptCanvas::text(pictures::Point at, const std::string& cp1252, const pictures::Style& style,
                        pictures::Anchor anchor, const std::string&) {
  const double size = pictures::fontSizeOf(style.cls);
  const pictures::TextBox box = pictures::textBox(at.x.v, at.y.v, cp1252, size, anchor);
  appendFormat(text_, "text ");
  point(box.left, at.y.v);
  appendFormat(text_, " %.4f 0 %s\n", 0.7 * size * unit_, cp1252.c_str());
}

}  // namespace armado
