#pragma once
// The CAD script: one "line" or "text" command per drawing element. Script y
// grows upward: line ordinates are mirrored about the beam axis, text y values
// are negated.
#include <cstdio>
#include <string>

#include "envolventes/engine/canvas.h"

namespace envelope {

class ScriptCanvas : public Canvas {
 public:
  // Writes to an open file (not closed here).
  explicit ScriptCanvas(FILE* out) : out_(out) {}

  void beginDiagram(int areaWidth, int areaHeight, int axisY) override { axisY_ = axisY; }
  void beginPass(Colour) override {}
  void line(int x1, int y1, int x2, int y2) override;
  void text(int x, int y, const std::string& cp1252Text, Colour colour) override;
  LabelForm labelForm() const override { return LabelForm::Script; }

 private:
  FILE* out_;
  int axisY_ = 0;
};

}  // namespace envelope
