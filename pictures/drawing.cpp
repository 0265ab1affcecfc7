#include "pictures/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/cp1252.h"
#include "common/format.h"

namespace pictures {

using common::cp1252ToUtf8;
using common::formatText;

const char* markupEntity(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
  }
}

std::string escapeText(const std::string& cp1252) {
  std::string utf8 = cp1252ToUtf8(cp1252);
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      if (const char* entity = markupEntity(static_cast<char>(c)))
        out += entity;
      else if (c >= 0x20 || c == '\n' || c == '\t')
        out += static_cast<char>(c);
      else
        out += '?';  // control characters are not allowed in XML
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

std::string markupAttributes(const Data& data) {
  std::string out;
  for (const auto& [name, value] : data) out += " " + name + "=\"" + escapeText(value) + "\"";
  return out;
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

TextBox textBox(double x, double y, const std::string& cp1252, double fontSize, Anchor anchor) {
  // Sans-serif characters average a little over half the font size; a pixel
  // of margin keeps texts from touching.
  const double width = 0.62 * fontSize * static_cast<double>(cp1252.size()) + 2;
  const double left = anchor == Anchor::middle ? x - width / 2 : anchor == Anchor::end ? x - width : x;
  return {left, y - 0.8 * fontSize, left + width, y + 0.25 * fontSize};
}

double fontSizeOf(const std::string& cls) {
  if (cls == "titulo") return 14;
  if (cls == "valor" || cls == "texto-apoyo" || cls == "texto-carga" || cls == "texto-cota") return 11;
  return 12;
}

void Drawing::text(double x, double y, const std::string& cp1252, const std::string& cls, Anchor anchor, Data data,
                   const std::string& markup) {
  taken_.push_back(textBox(x, y, cp1252, fontSizeOf(cls), anchor));
  canvas_.text({x, y}, cp1252, {cls, std::move(data)}, anchor, markup);
}

bool Drawing::fits(const TextBox& box) const {
  if (box.left < 0 || box.right > width_ || box.top < 0 || box.bottom > height_) return false;
  return std::none_of(taken_.begin(), taken_.end(), [&box](const TextBox& t) { return t.overlaps(box); });
}

void Drawing::placeLabels() {
  std::stable_sort(labels_.begin(), labels_.end(),
                   [](const Label& a, const Label& b) { return a.priority > b.priority; });
  for (const Label& l : labels_) {
    std::vector<std::pair<double, double>> places{{0.0, 0.0}};
    places.insert(places.end(), l.moves.begin(), l.moves.end());
    for (const auto& [dx, dy] : places) {
      const TextBox box = textBox(l.x + dx, l.y + dy, l.text, fontSizeOf(l.cls), l.anchor);
      if (!fits(box)) continue;
      taken_.push_back(box);
      canvas_.text({l.x + dx, l.y + dy}, l.text, {l.cls, l.data}, l.anchor, l.markup);
      break;
    }
  }
  labels_.clear();
}

}  // namespace pictures
