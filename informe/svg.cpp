#include "informe/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/cp1252.h"
#include "common/format.h"

namespace informe {

using namespace common;

std::string escapeText(const std::string& cp1252) {
  std::string utf8 = cp1252ToUtf8(cp1252);
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
          if (c >= 0x20 || c == '\n' || c == '\t') out += static_cast<char>(c);
          else out += '?';  // control characters are not allowed in XML
      }
      ++i;
      continue;
    }
    // cp1252ToUtf8 only makes well-formed sequences of two or three bytes.
    int length = c >= 0xE0 ? 3 : 2;
    unsigned code = length == 3 ? (c & 0x0F) : (c & 0x1F);
    for (int k = 1; k < length && i + k < utf8.size(); ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    out += "&#" + std::to_string(code) + ";";
    i += length;
  }
  return out;
}

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

std::string px(double value) {
  return formatText("%.2f", std::fabs(value) < 0.005 ? 0.0 : value);
}

std::string modelValue(double value) {
  std::string text;
  for (int precision = 6; precision <= 17; ++precision) {
    text = formatText("%.*g", precision, value);
    if (std::strtod(text.c_str(), nullptr) == value) break;
  }
  return text;
}

std::string pictureNumber(double value, int decimals) {
  std::string text = formatText("%.*f", decimals, value);
  // "-0.00" reads as a value of its own; a rounded zero has no sign.
  if (text[0] == '-' && std::strtod(text.c_str(), nullptr) == 0.0) return text.substr(1);
  return text;
}

int decimalsFor(double largest) {
  if (!(largest > 0) || !std::isfinite(largest)) return 2;
  const int digitsBeforePoint = static_cast<int>(std::floor(std::log10(largest))) + 1;
  return std::clamp(4 - digitsBeforePoint, 0, 3);
}

bool TextBox::overlaps(const TextBox& o) const {
  return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
}

TextBox textBox(double x, double y, const std::string& cp1252, double fontSize, const std::string& anchor) {
  // Sans-serif characters average a little over half the font size; a pixel
  // of margin keeps texts from touching.
  const double width = 0.62 * fontSize * static_cast<double>(cp1252.size()) + 2;
  const double left = anchor == "middle" ? x - width / 2 : anchor == "end" ? x - width : x;
  return {left, y - 0.8 * fontSize, left + width, y + 0.25 * fontSize};
}

double fontSizeOf(const std::string& cls) {
  if (cls == "titulo") return 14;
  if (cls == "valor" || cls == "texto-apoyo" || cls == "texto-carga" || cls == "texto-cota") return 11;
  return 12;
}

void SvgPicture::rootAttribute(const std::string& name, const std::string& value) {
  attributes_ += " " + name + "=\"" + escapeText(value) + "\"";
}

void SvgPicture::line(double x1, double y1, double x2, double y2, const std::string& cls) {
  body_ << "<line class=\"" << cls << "\" x1=\"" << px(x1) << "\" y1=\"" << px(y1) << "\" x2=\"" << px(x2)
        << "\" y2=\"" << px(y2) << "\"/>\n";
}

namespace {
std::string textMarkup(double x, double y, const std::string& inner, const std::string& cls, const std::string& anchor,
                       const std::string& attributes) {
  return "<text class=\"" + cls + "\" x=\"" + px(x) + "\" y=\"" + px(y) + "\" text-anchor=\"" + anchor + "\"" +
         attributes + ">" + inner + "</text>\n";
}
}  // namespace

void SvgPicture::text(double x, double y, const std::string& cp1252, const std::string& cls,
                      const std::string& anchor, const std::string& attributes) {
  fixed_.push_back({textBox(x, y, cp1252, fontSizeOf(cls), anchor),
                    textMarkup(x, y, escapeText(cp1252), cls, anchor, attributes)});
}

void SvgPicture::richText(double x, double y, const std::string& visible, const std::string& inner,
                          const std::string& cls) {
  fixed_.push_back({textBox(x, y, visible, fontSizeOf(cls), "start"), textMarkup(x, y, inner, cls, "start", "")});
}

void SvgPicture::label(Label label) {
  labels_.push_back(std::move(label));
  markups_.emplace_back();
}

void SvgPicture::relabelLast(const std::string& markup) { markups_.back() = markup; }

bool SvgPicture::fits(const TextBox& box) const {
  if (box.left < 0 || box.right > width_ || box.top < 0 || box.bottom > height_) return false;
  for (const Placed& p : fixed_)
    if (p.box.overlaps(box)) return false;
  return true;
}

void SvgPicture::arrow(double x1, double y1, double x2, double y2, const std::string& cls) {
  const double length = std::hypot(x2 - x1, y2 - y1);
  if (length < 1e-9) return;
  const double ux = (x2 - x1) / length, uy = (y2 - y1) / length, head = std::min(8.0, length / 2);
  line(x1, y1, x2, y2, cls);
  body_ << "<polygon class=\"" << cls << " punta\" points=\"" << px(x2) << "," << px(y2) << " "
        << px(x2 - head * ux - head * 0.4 * uy) << "," << px(y2 - head * uy + head * 0.4 * ux) << " "
        << px(x2 - head * ux + head * 0.4 * uy) << "," << px(y2 - head * uy - head * 0.4 * ux) << "\"/>\n";
}

std::string SvgPicture::document(bool standalone) const {
  std::ostringstream out;
  if (standalone) out << "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n";
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"" << id_ << "\" width=\"" << px(width_) << "\" height=\""
      << px(height_) << "\" viewBox=\"0 0 " << px(width_) << " " << px(height_) << "\"" << attributes_ << ">\n";
  // The standalone files carry their own look; on the page the sheet is shared.
  if (standalone) out << "<style>" << pictureStyle() << "</style>\n";
  out << body_.str();
  for (const Placed& p : fixed_) out << p.markup;
  // Labels by importance, each at the first of its places that covers no text
  // already there; one with no free place is left out.
  std::vector<size_t> order;
  for (size_t k = 0; k < labels_.size(); ++k) order.push_back(k);
  std::stable_sort(order.begin(), order.end(),
                   [this](size_t a, size_t b) { return labels_[a].priority > labels_[b].priority; });
  SvgPicture taken(id_, width_, height_);
  taken.fixed_ = fixed_;
  for (size_t k : order) {
    const Label* l = &labels_[k];
    const std::string inner = markups_[k].empty() ? escapeText(l->text) : markups_[k];
    std::vector<std::pair<double, double>> places{{0.0, 0.0}};
    places.insert(places.end(), l->moves.begin(), l->moves.end());
    for (const auto& [dx, dy] : places) {
      const TextBox box = textBox(l->x + dx, l->y + dy, l->text, fontSizeOf(l->cls), l->anchor);
      if (!taken.fits(box)) continue;
      const std::string markup = textMarkup(l->x + dx, l->y + dy, inner, l->cls, l->anchor, l->attributes);
      taken.fixed_.push_back({box, markup});
      out << markup;
      break;
    }
  }
  out << "</svg>\n";
  return out.str();
}

}  // namespace informe
