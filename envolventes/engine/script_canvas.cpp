#include "envolventes/engine/script_canvas.h"

#include <algorithm>
#include <charconv>

#include "common/format.h"

namespace envelope {

// "line %d,%d %d,%d \n": a diagram has thousands of lines, each written here
// without a format to parse.
void ScriptCanvas::line(int x1, int y1, int x2, int y2) {
  char text[64];
  char* at = text;
  auto put = [&at](const char* literal, size_t n) { at = std::copy(literal, literal + n, at); };
  auto number = [&at](int v) { at = std::to_chars(at, at + 12, v).ptr; };
  put("line ", 5);
  number(x1);
  put(",", 1);
  number(2 * axisY_ - y1);
  put(" ", 1);
  number(x2);
  put(",", 1);
  number(2 * axisY_ - y2);
  put(" \n", 2);
  std::fwrite(text, 1, static_cast<size_t>(at - text), out_);
}

void ScriptCanvas::text(int x, int y, const std::string& cp1252Text, Colour) {
  std::fputs(common::formatText("text %d,%d 6 0.0 %s\n", x, -y, cp1252Text.c_str()).c_str(), out_);
}

}  // namespace envelope
