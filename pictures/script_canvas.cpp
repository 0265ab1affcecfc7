#include "pictures/script_canvas.h"

#include <cmath>
#include <cstring>

#include "pictures/drawing.h"

namespace pictures {

using common::appendFormat;

// A diagram by whole pixels has thousands of lines: its numbers are put
// without a format to parse.
void ScriptCanvas::number(double value) {
  if (form_ == ScriptForm::units) return appendFormat(text_, "%.4f", value * unit_);
  char* const at = text_.room(11);
  text_.advance(static_cast<size_t>(common::putInt(at, static_cast<int>(value)) - at));
}

// "x,y" with y upward; in pixels the ordinate is already turned.
void ScriptCanvas::point(double x, double y) {
  number(x);
  text_.append(",", 1);
  number(form_ == ScriptForm::pixels ? y : -y);
}

// "line x1,y1 x2,y2 " and a line end: the command ends at the blank answer.
void ScriptCanvas::line(Point a, Point b, const Style&) {
  const bool pixels = form_ == ScriptForm::pixels;
  // Whole-pixel ordinates are mirrored about the axis from their whole values.
  const auto y = [&](Num n) { return pixels ? 2 * axisY_ - static_cast<int>(n.v) : n.v; };
  text_.append("line ", 5);
  point(a.x.v, y(a.y));
  text_.append(" ", 1);
  point(b.x.v, y(b.y));
  text_.append(" \n", 2);
}

void ScriptCanvas::circle(Point centre, Num radius, const Style&) {
  text_.append("circle ", 7);
  point(centre.x.v, form_ == ScriptForm::pixels ? -static_cast<int>(centre.y.v) : centre.y.v);
  text_.append(" ", 1);
  number(radius.v);
  text_.append("\n", 1);
}

// "text x,y height 0 TEXT". The text ends at its first zero byte; a line
// break or another control character would end the command and start one of
// the text's own, so each becomes '?'.
void ScriptCanvas::text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string&) {
  text_.append("text ", 5);
  if (form_ == ScriptForm::pixels) {
    point(at.x.v, -static_cast<int>(at.y.v));
    text_.append(" 6 0.0 ", 7);
  } else {
    const double size = fontSizeOf(style.cls);
    point(textBox(at.x.v, at.y.v, cp1252, size, anchor).left, at.y.v);
    appendFormat(text_, " %.4f 0 ", 0.7 * size * unit_);
  }
  const size_t length = std::strlen(cp1252.c_str());
  char* const start = text_.room(length + 1);
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(cp1252[i]);
    start[i] = c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  start[length] = '\n';
  text_.advance(length + 1);
}

void ScriptCanvas::writeTo(FILE* out) const {
  if (text_.size()) std::fwrite(text_.data(), 1, text_.size(), out);
}

}  // namespace pictures
