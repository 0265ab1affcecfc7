#include "envolventes/engine/svg_canvas.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/cp1252.h"
#include "common/format.h"
#include "envolventes/engine/diagram.h"
#include "envolventes/engine/line_reader.h"

namespace envelope {

using namespace common;
namespace {

// "rgb(%d,%d,%d)", at most 16 bytes.
char* colourText(char* at, Colour c) {
  at = putLiteral(at, "rgb(");
  at = putInt(at, c.r);
  *at++ = ',';
  at = putInt(at, c.g);
  *at++ = ',';
  at = putInt(at, c.b);
  *at++ = ')';
  return at;
}

// Text that reads the same in UTF-8 and in XML: printable ASCII without markup.
bool plainText(const std::string& text) {
  for (char ch : text) {
    auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte >= 0x80 || ch == '&' || ch == '<' || ch == '>' || ch == '"') return false;
  }
  return true;
}

std::string escapeXml(const std::string& utf8) {
  std::string out;
  for (char ch : utf8) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // Control bytes are not allowed in XML text.
        if (static_cast<unsigned char>(ch) < 0x20)
          out += ' ';
        else
          out += ch;
    }
  }
  return out;
}

}  // namespace

void SvgCanvas::beginPicture(int areaWidth, int areaHeight, int /*axisY*/) {
  svg_.clear();
  auto put = [this](const std::string& text) { svg_.append(text.data(), text.size()); };
  put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  put("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(areaWidth) + "\" height=\"" +
      std::to_string(areaHeight) + "\" viewBox=\"0 0 " + std::to_string(areaWidth) + " " + std::to_string(areaHeight) +
      "\">\n");
  put("<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n");
  put("<g font-family=\"DejaVu Sans Mono, monospace\" font-size=\"11\" stroke-width=\"1\">\n");
}

void SvgCanvas::endPicture() {
  static const char kEnd[] = "</g>\n</svg>\n";
  svg_.append(kEnd, sizeof kEnd - 1);
}

void SvgCanvas::beginGroup(const pictures::Group& group) {
  penLength_ = static_cast<size_t>(colourText(penText_, colourOf(group.cls)) - penText_);
}

void SvgCanvas::line(pictures::Point a, pictures::Point b, const pictures::Style&) {
  const int x1 = static_cast<int>(a.x.v), y1 = static_cast<int>(a.y.v);
  const int x2 = static_cast<int>(b.x.v), y2 = static_cast<int>(b.y.v);
  // Half-pixel offsets keep one-pixel lines sharp. A diagram has thousands of
  // lines: each is put together in the document without a format to parse.
  char* const start = svg_.room(160);
  char* at = putLiteral(start, "<line x1=\"");
  at = putInt(at, x1);
  at = putLiteral(at, ".5\" y1=\"");
  at = putInt(at, y1);
  at = putLiteral(at, ".5\" x2=\"");
  at = putInt(at, x2);
  at = putLiteral(at, ".5\" y2=\"");
  at = putInt(at, y2);
  at = putLiteral(at, ".5\" stroke=\"");
  std::memcpy(at, penText_, penLength_);
  at += penLength_;
  at = putLiteral(at, "\"/>\n");
  svg_.advance(static_cast<size_t>(at - start));
}

void SvgCanvas::text(pictures::Point place, const std::string& cp1252Text, const pictures::Style& style,
                     pictures::Anchor, const std::string&) {
  // The screen anchors text at its top-left corner.
  const int x = static_cast<int>(place.x.v), y = static_cast<int>(place.y.v);
  char* const start = svg_.room(160);
  char* at = putLiteral(start, "<text x=\"");
  at = putInt(at, x);
  at = putLiteral(at, "\" y=\"");
  at = putInt(at, y);
  at = putLiteral(at, "\" dominant-baseline=\"hanging\" fill=\"");
  at = colourText(at, colourOf(style.cls));
  at = putLiteral(at, "\" xml:space=\"preserve\">");
  svg_.advance(static_cast<size_t>(at - start));
  if (plainText(cp1252Text)) {
    svg_.append(cp1252Text.data(), cp1252Text.size());
  } else {
    std::string escaped = escapeXml(cp1252ToUtf8(cp1252Text));
    svg_.append(escaped.data(), escaped.size());
  }
  static const char kEnd[] = "</text>\n";
  svg_.append(kEnd, sizeof kEnd - 1);
}

bool SvgCanvas::save(const std::string& path, MessageSink& sink, const OutputFiles& files) const {
  FILE* out = files.create(path);
  if (!out) {
    sink.showMessage("ERROR SVG " + path);
    return false;
  }
  std::fwrite(svg_.data(), 1, svg_.size(), out);
  return files.finish(out, path, sink);
}

}  // namespace envelope
