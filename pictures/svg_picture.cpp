#include "pictures/svg_picture.h"

#include <cmath>
#include <sstream>
#include <string>

#include "common/format.h"

namespace pictures {

using namespace common;

const char* pictureStyle() {
  return "text{font-family:sans-serif;font-size:12px;fill:#222}"
         ".titulo{font-size:14px;font-weight:bold}"
         ".barra{stroke:#222;stroke-width:3}"
         ".zona-rigida{stroke:#222;stroke-width:9}"
         ".cartela{fill:#ddd;stroke:#555}"
         ".nodo{fill:#222;stroke:none}"
         ".rotula{fill:#fff;stroke:#222;stroke-width:1.5}"
         ".liberacion{stroke:#222;stroke-width:2}"
         ".etiqueta-nodo{fill:#00529b}.etiqueta-barra{fill:#555;font-style:italic}"
         ".apoyo line,.apoyo polygon,.apoyo polyline,.apoyo circle,.apoyo rect,.apoyo path"
         "{stroke:#087f23;stroke-width:1.5;fill:none}"
         ".carga line,.carga polyline,.carga path,.carga-nodal line,.carga-nodal path{stroke:#c62828;stroke-width:1.5;fill:none}"
         ".carga .punta,.carga-nodal .punta{fill:#c62828;stroke:none}.carga .enlace{stroke-dasharray:4 3}"
         ".cota{stroke:#777;stroke-width:1}.texto-cota{fill:#555;font-size:11px}"
         ".eje{stroke:#222;stroke-width:1}.marca{stroke:#222;stroke-width:1}"
         ".curva-flecha{fill:rgba(46,125,50,.18);stroke:#2e7d32;stroke-width:2}"
         ".curva-momento{fill:rgba(198,40,40,.15);stroke:#c62828;stroke-width:2}"
         ".curva-corte{fill:rgba(21,101,192,.15);stroke:#1565c0;stroke-width:2}"
         ".indeformada{stroke:#aaa;stroke-width:2;stroke-dasharray:6 4;fill:none}"
         ".modo{stroke:#6a1b9a;stroke-width:2.5;fill:none}"
         ".extremo{fill:#222}.valor{font-size:11px}"
         ".texto-apoyo{fill:#087f23;font-size:11px}.texto-carga{fill:#c62828;font-size:11px}"
         ".estructura{stroke:#777;stroke-width:1.5;fill:none}";
}

namespace {
// "%.2f" of a screen coordinate, a value that rounds to zero without its sign.
void appendPx(common::TextBuffer& out, double value) {
  common::appendFixed(out, std::fabs(value) < 0.005 ? 0.0 : value, 2);
}
}  // namespace

std::string px(double value) {
  common::TextBuffer text;
  appendPx(text, value);
  return text.str();
}

// "%g" writes the digits of a whole number below a million.
SvgText& SvgText::operator<<(Num n) {
  if (!n.whole)
    appendPx(buffer_, n.v);
  else if (n.v == std::trunc(n.v) && std::fabs(n.v) < 1e6 && !(n.v == 0 && std::signbit(n.v)))
    appendInt(buffer_, static_cast<int>(n.v));
  else
    appendFormat(buffer_, "%g", n.v);
  return *this;
}

namespace {
std::string data(const Data& list) { return markupAttributes(list); }

void writePoints(SvgText& out, const std::vector<Point>& list) {
  const char* gap = "";
  for (const Point& p : list) {
    out << gap << p.x << "," << p.y;
    gap = " ";
  }
}

const char* anchorName(Anchor anchor) {
  return anchor == Anchor::middle ? "middle" : anchor == Anchor::end ? "end" : "start";
}
}  // namespace

void SvgPicture::attribute(const std::string& name, const std::string& value) { attributes_ += data({{name, value}}); }

void SvgPicture::beginGroup(const Group& group) {
  body_ << "<g";
  if (!group.cls.empty()) body_ << " class=\"" << group.cls << "\"";
  body_ << data(group.data);
  if (group.translated) body_ << " transform=\"translate(" << group.translate.x << "," << group.translate.y << ")\"";
  if (group.rotated) body_ << " transform=\"rotate(" << group.degrees << ")\"";
  body_ << ">";
  groups_.push_back(group.linesApart);
}

void SvgPicture::endGroup() {
  groups_.pop_back();
  body_ << "</g>" << (groups_.empty() ? "\n" : "");
}

SvgText& SvgPicture::open(const char* name, const Style& style) {
  body_ << "<" << name;
  if (!style.cls.empty()) body_ << " class=\"" << style.cls << "\"";
  body_ << data(style.data);
  return body_;
}

void SvgPicture::close(const Style& style) {
  if (style.strokeWidth > 0) body_ << " stroke-width=\"" << formatText("%g", style.strokeWidth) << "\"";
  body_ << "/>" << (groups_.empty() || groups_.back() ? "\n" : "");
}

void SvgPicture::line(Point a, Point b, const Style& style) {
  open("line", style) << " x1=\"" << a.x << "\" y1=\"" << a.y << "\" x2=\"" << b.x << "\" y2=\"" << b.y << "\"";
  close(style);
}

void SvgPicture::polyline(const std::vector<Point>& points, const Style& style) {
  writePoints(open("polyline", style) << " points=\"", points);
  body_ << "\"";
  close(style);
}

void SvgPicture::polygon(const std::vector<Point>& points, const Style& style) {
  writePoints(open("polygon", style) << " points=\"", points);
  body_ << "\"";
  close(style);
}

void SvgPicture::circle(Point centre, Num radius, const Style& style) {
  open("circle", style) << " cx=\"" << centre.x << "\" cy=\"" << centre.y << "\" r=\"" << radius << "\"";
  close(style);
}

void SvgPicture::rect(Point corner, Num width, Num height, const Style& style) {
  open("rect", style) << " x=\"" << corner.x << "\" y=\"" << corner.y << "\" width=\"" << width << "\" height=\""
                      << height << "\"";
  close(style);
}

void SvgPicture::path(const Path& steps, const Style& style) {
  SvgText& d = open("path", style) << " d=\"";
  const char* gap = "";
  for (const PathStep& s : steps) {
    d << gap;
    gap = " ";
    switch (s.kind) {
      case PathStep::moveTo: d << "M "; break;
      case PathStep::lineBy: d << "l "; break;
      case PathStep::moveBy: d << "m "; break;
      case PathStep::arcTo:
        d << "A " << s.radius << " " << s.radius << " 0 " << (s.large ? "1 " : "0 ") << (s.clockwise ? "1 " : "0 ");
        break;
    }
    d << s.to.x << " " << s.to.y;
  }
  d << "\"";
  close(style);
}

void SvgPicture::text(Point at, const std::string& cp1252, const Style& style, Anchor anchor,
                      const std::string& markup) {
  texts_ << "<text class=\"" << style.cls << "\" x=\"" << at.x << "\" y=\"" << at.y << "\" text-anchor=\""
         << anchorName(anchor) << "\"" << data(style.data) << ">" << (markup.empty() ? escapeText(cp1252) : markup)
         << "</text>\n";
}

std::string SvgPicture::document(bool standalone) const {
  std::ostringstream out;
  if (standalone) out << "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n";
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"" << id_ << "\" width=\"" << px(width_) << "\" height=\""
      << px(height_) << "\" viewBox=\"0 0 " << px(width_) << " " << px(height_) << "\"" << attributes_ << ">\n";
  // The standalone files carry their own look; on the page the sheet is shared.
  if (standalone) out << "<style>" << pictureStyle() << "</style>\n";
  std::string document = out.str();
  document.reserve(document.size() + body_.size() + texts_.size() + 7);
  document.append(body_.data(), body_.size()).append(texts_.data(), texts_.size()) += "</svg>\n";
  return document;
}

}  // namespace pictures
