#include "pictures/canvas.h"

namespace pictures {

void Canvas::polyline(const std::vector<Point>& points, const Style& style) {
  for (size_t k = 1; k < points.size(); ++k) line(points[k - 1], points[k], style);
}

void Canvas::polygon(const std::vector<Point>& points, const Style& style) {
  polyline(points, style);
  if (points.size() > 2) line(points.back(), points.front(), style);
}

void Canvas::path(const Path& steps, const Style& style) {
  double x = 0, y = 0;
  for (const PathStep& s : steps) {
    const bool absolute = s.kind == PathStep::moveTo;
    const double nx = absolute ? s.to.x.v : x + s.to.x.v, ny = absolute ? s.to.y.v : y + s.to.y.v;
    if (s.kind == PathStep::lineBy || s.kind == PathStep::arcTo) line({x, y}, {nx, ny}, style);
    x = nx;
    y = ny;
  }
}

}  // namespace pictures
