#include "pictures/recording_canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {
constexpr double kPi = 3.14159265358979323846;

double segmentDistance(Spot p, Spot a, Spot b) {
  const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// Points along an arc of a circle from `from` to `to`, the end included.
std::vector<Spot> arcPoints(Spot from, Spot to, double r, bool large, bool clockwise) {
  const double hx = (from.x - to.x) / 2, hy = (from.y - to.y) / 2, half2 = hx * hx + hy * hy;
  if (half2 == 0) return {};
  r = std::max(r, std::sqrt(half2));
  const double root = std::sqrt(std::max(0.0, (r * r - half2) / half2)) * (large != clockwise ? 1 : -1);
  const double cx = root * hy + (from.x + to.x) / 2, cy = -root * hx + (from.y + to.y) / 2;
  const double start = std::atan2(from.y - cy, from.x - cx);
  double sweep = std::atan2(to.y - cy, to.x - cx) - start;
  if (clockwise && sweep < 0) sweep += 2 * kPi;
  if (!clockwise && sweep > 0) sweep -= 2 * kPi;
  const int steps = 24;
  std::vector<Spot> out;
  for (int k = 1; k <= steps; ++k) {
    const double angle = start + sweep * k / steps;
    out.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return out;
}
}  // namespace

void RecordingCanvas::beginGroup(const Group& group) {
  Open open;
  open.transform = groups_.empty() ? Transform{} : groups_.back().transform;
  open.cls = group.cls.empty() && !groups_.empty() ? groups_.back().cls : group.cls;
  Transform& t = open.transform;
  if (group.translated) {
    const Spot origin = t.apply(group.translate.x.v, group.translate.y.v);
    t.e = origin.x;
    t.f = origin.y;
  }
  if (group.rotated) {
    const double angle = group.degrees.v * kPi / 180, cs = std::cos(angle), sn = std::sin(angle);
    t = {t.a * cs + t.c * sn, t.b * cs + t.d * sn, -t.a * sn + t.c * cs, -t.b * sn + t.d * cs, t.e, t.f};
  }
  groups_.push_back(open);
}

void RecordingCanvas::endGroup() {
  if (!groups_.empty()) groups_.pop_back();
}

void RecordingCanvas::beginItem(ItemKind kind, int index) { items_.push_back({kind, index}); }
void RecordingCanvas::endItem() {
  if (!items_.empty()) items_.pop_back();
}

Element RecordingCanvas::element(Element::Kind kind, const Style& style) const {
  Element e;
  e.kind = kind;
  e.cls = style.cls;
  e.strokeWidth = style.strokeWidth;
  if (!groups_.empty()) e.groupCls = groups_.back().cls;
  if (!items_.empty()) {
    e.inItem = true;
    e.item = items_.back().first;
    e.index = items_.back().second;
  }
  return e;
}

void RecordingCanvas::add(Element element) {
  drawn(element);
  elements.push_back(std::move(element));
}

void RecordingCanvas::line(Point a, Point b, const Style& style) { polyline({a, b}, style); }

void RecordingCanvas::polyline(const std::vector<Point>& points, const Style& style) {
  Element e = element(points.size() == 2 ? Element::line : Element::polyline, style);
  const Transform t = groups_.empty() ? Transform{} : groups_.back().transform;
  for (const Point& p : points) e.points.push_back(t.apply(p.x.v, p.y.v));
  add(std::move(e));
}

void RecordingCanvas::polygon(const std::vector<Point>& points, const Style& style) {
  Element e = element(Element::polygon, style);
  const Transform t = groups_.empty() ? Transform{} : groups_.back().transform;
  for (const Point& p : points) e.points.push_back(t.apply(p.x.v, p.y.v));
  add(std::move(e));
}

void RecordingCanvas::circle(Point centre, Num radius, const Style& style) {
  Element e = element(Element::circle, style);
  const Transform t = groups_.empty() ? Transform{} : groups_.back().transform;
  e.points = {t.apply(centre.x.v, centre.y.v)};
  e.radius = radius.v;
  add(std::move(e));
}

void RecordingCanvas::path(const Path& steps, const Style& style) {
  // Each run of strokes from a move on is a polyline of its own.
  const Transform t = groups_.empty() ? Transform{} : groups_.back().transform;
  std::vector<Spot> run;
  Spot at;
  auto flush = [&] {
    if (run.size() >= 2) {
      Element e = element(Element::polyline, style);
      for (const Spot& s : run) e.points.push_back(t.apply(s.x, s.y));
      add(std::move(e));
    }
    run.clear();
  };
  for (const PathStep& s : steps) {
    switch (s.kind) {
      case PathStep::moveTo:
        flush();
        at = {s.to.x.v, s.to.y.v};
        run.push_back(at);
        break;
      case PathStep::moveBy:
        flush();
        at = {at.x + s.to.x.v, at.y + s.to.y.v};
        run.push_back(at);
        break;
      case PathStep::lineBy:
        at = {at.x + s.to.x.v, at.y + s.to.y.v};
        run.push_back(at);
        break;
      case PathStep::arcTo: {
        const Spot to{s.to.x.v, s.to.y.v};
        for (const Spot& p : arcPoints(at, to, s.radius.v, s.large, s.clockwise)) run.push_back(p);
        at = to;
        break;
      }
    }
  }
  flush();
}

void RecordingCanvas::text(Point at, const std::string& cp1252, const Style& style, Anchor anchor,
                           const std::string& markup) {
  Element e = element(Element::words, style);
  const Transform t = groups_.empty() ? Transform{} : groups_.back().transform;
  e.points = {t.apply(at.x.v, at.y.v)};
  e.text = cp1252;
  e.markup = markup;
  e.anchor = anchor;
  add(std::move(e));
}

double distanceTo(const Element& e, Spot spot) {
  if (e.points.empty()) return INFINITY;
  if (e.kind == Element::circle)
    return std::max(0.0, std::hypot(spot.x - e.points[0].x, spot.y - e.points[0].y) - e.radius);
  if (e.kind == Element::words) return std::hypot(spot.x - e.points[0].x, spot.y - e.points[0].y);
  double nearest = INFINITY;
  for (size_t k = 0; k + 1 < e.points.size(); ++k)
    nearest = std::min(nearest, segmentDistance(spot, e.points[k], e.points[k + 1]));
  if (e.kind == Element::polygon && e.points.size() >= 3) {
    nearest = std::min(nearest, segmentDistance(spot, e.points.back(), e.points.front()));
    // Inside: an odd number of crossings to the right.
    bool inside = false;
    for (size_t k = 0, j = e.points.size() - 1; k < e.points.size(); j = k++) {
      const Spot &a = e.points[k], &b = e.points[j];
      if ((a.y > spot.y) != (b.y > spot.y) && spot.x < (b.x - a.x) * (spot.y - a.y) / (b.y - a.y) + a.x)
        inside = !inside;
    }
    if (inside) nearest = 0;
  }
  if (e.points.size() == 1) nearest = std::hypot(spot.x - e.points[0].x, spot.y - e.points[0].y);
  return nearest;
}

}  // namespace pictures
