#include "pictures/svg_picture.h"

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "common/cp1252.h"
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

std::string rgb(Colour c) { return formatText("rgb(%d,%d,%d)", c.r, c.g, c.b); }

// UTF-8 as XML text; control bytes, not allowed there, become blanks.
std::string escapeXml(const std::string& utf8) {
  std::string out;
  for (char ch : utf8) {
    if (const char* entity = markupEntity(ch))
      out += entity;
    else
      out += static_cast<unsigned char>(ch) < 0x20 ? ' ' : ch;
  }
  return out;
}
}  // namespace

void SvgPicture::beginPicture(int width, int height, int /*axisY*/) {
  if (!inkOf_) return;
  width_ = width;
  height_ = height;
  const std::string w = std::to_string(width), h = std::to_string(height);
  body_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w
        << "\" height=\"" << h << "\" viewBox=\"0 0 " << w << " " << h << "\">\n"
        << "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<g font-family=\"DejaVu Sans Mono, monospace\" font-size=\"11\" stroke-width=\"1\">\n";
}

void SvgPicture::endPicture() {
  if (inkOf_) body_ << "</g>\n</svg>\n";
}

// A diagram has thousands of lines: each is put together without a format to
// parse.
void SvgPicture::pixelLine(Point a, Point b) {
  char* const start = body_.room(64 + pen_.size());
  char* at = putLiteral(start, "<line x1=\"");
  at = putInt(at, static_cast<int>(a.x.v));
  at = putLiteral(at, ".5\" y1=\"");
  at = putInt(at, static_cast<int>(a.y.v));
  at = putLiteral(at, ".5\" x2=\"");
  at = putInt(at, static_cast<int>(b.x.v));
  at = putLiteral(at, ".5\" y2=\"");
  at = putInt(at, static_cast<int>(b.y.v));
  at = putLiteral(at, ".5\" stroke=\"");
  std::memcpy(at, pen_.data(), pen_.size());
  at += pen_.size();
  at = putLiteral(at, "\"/>\n");
  body_.advance(static_cast<size_t>(at - start));
}

void SvgPicture::pixelText(Point at, const std::string& cp1252, const Style& style) {
  body_ << "<text x=\"" << std::to_string(static_cast<int>(at.x.v)) << "\" y=\""
        << std::to_string(static_cast<int>(at.y.v)) << "\" dominant-baseline=\"hanging\" fill=\""
        << rgb(inkOf_(style.cls)) << "\" xml:space=\"preserve\">" << escapeXml(cp1252ToUtf8(cp1252)) << "</text>\n";
}

void SvgPicture::attribute(const std::string& name, const std::string& value) { attributes_ += data({{name, value}}); }

void SvgPicture::beginGroup(const Group& group) {
  if (inkOf_) {
    pen_ = rgb(inkOf_(group.cls));
    return;
  }
  body_ << "<g";
  if (!group.cls.empty()) body_ << " class=\"" << group.cls << "\"";
  body_ << data(group.data);
  if (group.translated) body_ << " transform=\"translate(" << group.translate.x << "," << group.translate.y << ")\"";
  if (group.rotated) body_ << " transform=\"rotate(" << group.degrees << ")\"";
  body_ << ">";
  groups_.push_back(group.linesApart);
}

void SvgPicture::endGroup() {
  if (inkOf_) return;
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
  if (inkOf_) return pixelLine(a, b);
  open("line", style) << " x1=\"" << a.x << "\" y1=\"" << a.y << "\" x2=\"" << b.x << "\" y2=\"" << b.y << "\"";
  close(style);
}

void SvgPicture::polyline(const std::vector<Point>& points, const Style& style) {
  if (inkOf_) return Canvas::polyline(points, style);
  writePoints(open("polyline", style) << " points=\"", points);
  body_ << "\"";
  close(style);
}

void SvgPicture::polygon(const std::vector<Point>& points, const Style& style) {
  if (inkOf_) return Canvas::polygon(points, style);
  writePoints(open("polygon", style) << " points=\"", points);
  body_ << "\"";
  close(style);
}

void SvgPicture::circle(Point centre, Num radius, const Style& style) {
  if (inkOf_) return;  // by whole pixels: lines and texts only
  open("circle", style) << " cx=\"" << centre.x << "\" cy=\"" << centre.y << "\" r=\"" << radius << "\"";
  close(style);
}

void SvgPicture::rect(Point corner, Num width, Num height, const Style& style) {
  if (inkOf_) return Canvas::rect(corner, width, height, style);
  open("rect", style) << " x=\"" << corner.x << "\" y=\"" << corner.y << "\" width=\"" << width << "\" height=\""
                      << height << "\"";
  close(style);
}

void SvgPicture::path(const Path& steps, const Style& style) {
  if (inkOf_) return Canvas::path(steps, style);
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
  if (inkOf_) return pixelText(at, cp1252, style);
  texts_ << "<text class=\"" << style.cls << "\" x=\"" << at.x << "\" y=\"" << at.y << "\" text-anchor=\""
         << anchorName(anchor) << "\"" << data(style.data) << ">" << (markup.empty() ? escapeText(cp1252) : markup)
         << "</text>\n";
}

std::string SvgPicture::document(bool standalone) const {
  if (inkOf_) return {body_.data(), body_.size()};
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
