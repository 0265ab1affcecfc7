#include "envolventes/engine/script_canvas.h"

#include "common/format.h"

namespace envelope {

void ScriptCanvas::line(int x1, int y1, int x2, int y2) {
  std::fputs(common::formatText("line %d,%d %d,%d \n", x1, 2 * axisY_ - y1, x2, 2 * axisY_ - y2).c_str(), out_);
}

void ScriptCanvas::text(int x, int y, const std::string& cp1252Text, Colour) {
  std::fputs(common::formatText("text %d,%d 6 0.0 %s\n", x, -y, cp1252Text.c_str()).c_str(), out_);
}

}  // namespace envelope
