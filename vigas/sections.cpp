#include "vigas/sections.h"

#include <cmath>

#include "common/format.h"
#include "vigas/spans.h"

namespace vigas {

using common::Section;

namespace {

struct Properties {
  double A = 0, I = 0;
};

Properties rectangle(double b, double h) { return {b * h, b * h * h * h / 12}; }

// The web b × h and the flange on top of it: the area, and the inertia about
// the centroid from the moments about the top face.
Properties tee(double b, double h, double bf, double hf) {
  const double flange = (bf - b) * hf;
  const double A = b * h + flange;
  const double centroid = (b * h * h / 2 + flange * hf / 2) / A;
  return {A, b * h * h * h / 3 + flange * hf * hf / 3 - A * centroid * centroid};
}

bool close(double a, double b, double part) { return std::fabs(a - b) <= part * std::fabs(b); }

bool matches(const Properties& p, const Section& s, double part) {
  return close(s.A, p.A, part) && close(s.I, p.I, part);
}

double rounded(double value, int digits) {
  if (!(value > 0)) return value;
  const double scale = std::pow(10.0, digits - 1 - static_cast<int>(std::floor(std::log10(value))));
  return std::round(value * scale) / scale;
}

// The T of this A and I on the web b × h: with the flange's area Af fixed,
// I is a quadratic in the flange depth hf (the centroid moves with hf/2).
bool findTee(const Section& s, SectionShape& shape) {
  const double b = s.b, h = s.h, flange = s.A - b * h;
  if (!(flange > 1e-9 * s.A)) return false;
  const double c0 = b * h * h / 2;
  const double a2 = flange * (1.0 / 3 - flange / (4 * s.A)), a1 = -c0 * flange / s.A;
  const double a0 = b * h * h * h / 3 - c0 * c0 / s.A - s.I;
  const double discriminant = a1 * a1 - 4 * a2 * a0;
  if (!(a2 > 0) || discriminant < 0) return false;
  for (double sign : {-1.0, 1.0}) {
    const double depth = (-a1 + sign * std::sqrt(discriminant)) / (2 * a2);
    if (!(depth > 0) || depth > h) continue;
    for (int digits : {6, 9, 15}) {
      const double hf = rounded(depth, digits), bf = rounded(b + flange / depth, digits);
      if (matches(tee(b, h, bf, hf), s, 1e-9)) {
        shape = {SectionShape::Kind::tee, bf, hf};
        return true;
      }
    }
  }
  return false;
}

}  // namespace

SectionShape shapeOf(const Section& s) {
  SectionShape shape;
  if (!(s.b > 0 && s.h > 0 && s.A > 0 && s.I > 0)) return shape;
  if (matches(rectangle(s.b, s.h), s, 1e-9))
    shape.kind = SectionShape::Kind::rectangle;
  else
    findTee(s, shape);
  return shape;
}

void makeRectangle(Section& s, double b, double h) {
  const Properties p = rectangle(b, h);
  s.b = b;
  s.h = h;
  s.A = tidy(p.A);
  s.I = tidy(p.I);
}

void makeTee(Section& s, double b, double h, double flangeWidth, double flangeDepth) {
  const Properties p = tee(b, h, flangeWidth, flangeDepth);
  s.b = b;
  s.h = h;
  s.A = tidy(p.A);
  s.I = tidy(p.I);
}

std::string shapeNotice(const Section& s) {
  if (!(s.b > 0 && s.h > 0) || shapeOf(s).kind != SectionShape::Kind::other) return "";
  const Properties p = rectangle(s.b, s.h);
  if (close(s.A, p.A, 0.01) && close(s.I, p.I, 0.01)) return "";
  return common::formatText(
      "A = %.6g e I = %.6g no son las de b \xD7 h = %.6g \xD7 %.6g (A = %.6g, I = %.6g): "
      "compru\xE9"
      "belo, o escriba el ala si es una T",
      s.A, s.I, s.b, s.h, p.A, p.I);
}

}  // namespace vigas
