#include "envolventes/engine/script_canvas.h"

#include <charconv>
#include <cstring>

namespace envelope {

using common::putInt;
using common::putLiteral;

// "line %d,%d %d,%d \n": a diagram has thousands of lines, each written here
// without a format to parse.
void ScriptCanvas::line(pictures::Point a, pictures::Point b, const pictures::Style&) {
  const int x1 = static_cast<int>(a.x.v), y1 = static_cast<int>(a.y.v);
  const int x2 = static_cast<int>(b.x.v), y2 = static_cast<int>(b.y.v);
  char* const start = text_.room(64);
  char* at = putLiteral(start, "line ");
  at = putInt(at, x1);
  *at++ = ',';
  at = putInt(at, 2 * axisY_ - y1);
  *at++ = ' ';
  at = putInt(at, x2);
  *at++ = ',';
  at = putInt(at, 2 * axisY_ - y2);
  at = putLiteral(at, " \n");
  text_.advance(static_cast<size_t>(at - start));
}

// "text %d,%d 6 0.0 %s\n"
void ScriptCanvas::text(pictures::Point place, const std::string& cp1252Text, const pictures::Style&, pictures::Anchor,
                        const std::string&) {
  const int x = static_cast<int>(place.x.v), y = static_cast<int>(place.y.v);
  char* const start = text_.room(48 + cp1252Text.size());
  char* at = putLiteral(start, "text ");
  at = putInt(at, x);
  *at++ = ',';
  at = putInt(at, -y);
  at = putLiteral(at, " 6 0.0 ");
  // %s ends at the first zero byte. A line break or another control character
  // would end the command and start one of the text's own: each becomes '?'.
  const size_t length = std::strlen(cp1252Text.c_str());
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(cp1252Text[i]);
    *at++ = c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  *at++ = '\n';
  text_.advance(static_cast<size_t>(at - start));
}

void ScriptCanvas::flush() {
  if (!out_) return;
  writeTo(out_);
  text_.clear();
}

void ScriptCanvas::writeTo(FILE* out) const {
  if (text_.size()) std::fwrite(text_.data(), 1, text_.size(), out);
}

}  // namespace envelope
