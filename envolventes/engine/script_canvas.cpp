#include "envolventes/engine/script_canvas.h"

namespace envelope {

void ScriptCanvas::line(int x1, int y1, int x2, int y2) {
  std::fprintf(out_, "line %d,%d %d,%d \n", x1, 2 * axisY_ - y1, x2, 2 * axisY_ - y2);
}

void ScriptCanvas::text(int x, int y, const std::string& cp1252Text, Colour) {
  std::fprintf(out_, "text %d,%d 6 0.0 %s\n", x, -y, cp1252Text.c_str());
}

}  // namespace envelope
