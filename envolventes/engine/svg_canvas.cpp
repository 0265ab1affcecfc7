#include "envolventes/engine/svg_canvas.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "common/cp1252.h"
#include "common/format.h"
#include "envolventes/engine/line_reader.h"

namespace envelope {

using namespace common;
namespace {

std::string colourText(Colour c) {
  return formatText("rgb(%d,%d,%d)", c.r, c.g, c.b);
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
        if (static_cast<unsigned char>(ch) < 0x20) out += ' ';
        else out += ch;
    }
  }
  return out;
}

}  // namespace

void SvgCanvas::beginDiagram(int areaWidth, int areaHeight, int axisY) {
  svg_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(areaWidth) + "\" height=\"" +
          std::to_string(areaHeight) + "\" viewBox=\"0 0 " + std::to_string(areaWidth) + " " +
          std::to_string(areaHeight) + "\">\n";
  svg_ += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg_ += "<g font-family=\"DejaVu Sans Mono, monospace\" font-size=\"11\" stroke-width=\"1\">\n";
}

void SvgCanvas::endDiagram() { svg_ += "</g>\n</svg>\n"; }

void SvgCanvas::beginPass(Colour pen) {
  penText_ = colourText(pen);
}

void SvgCanvas::line(int x1, int y1, int x2, int y2) {
  // Half-pixel offsets keep one-pixel lines sharp. A diagram has thousands of
  // lines: each is put together here without a format to parse, and added to
  // the document at once.
  char text[160];
  char* at = text;
  auto put = [&at](std::string_view part) { at = std::copy(part.begin(), part.end(), at); };
  auto number = [&at](int v) { at = std::to_chars(at, at + 12, v).ptr; };
  put("<line x1=\"");
  number(x1);
  put(".5\" y1=\"");
  number(y1);
  put(".5\" x2=\"");
  number(x2);
  put(".5\" y2=\"");
  number(y2);
  put(".5\" stroke=\"");
  put(penText_);
  put("\"/>\n");
  svg_.append(text, static_cast<size_t>(at - text));
}

void SvgCanvas::text(int x, int y, const std::string& cp1252Text, Colour colour) {
  // The screen anchors text at its top-left corner.
  svg_ += formatText("<text x=\"%d\" y=\"%d\" dominant-baseline=\"hanging\" fill=\"%s\" xml:space=\"preserve\">", x, y,
                     colourText(colour).c_str());
  svg_ += escapeXml(cp1252ToUtf8(cp1252Text));
  svg_ += "</text>\n";
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
