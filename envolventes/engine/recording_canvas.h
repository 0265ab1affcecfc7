#pragma once
// Records every drawing call in screen coordinates, for tests.
#include <string>
#include <vector>

#include "envolventes/engine/canvas.h"

namespace envelope {

struct DrawCall {
  enum Kind { BeginPass, Line, Text } kind = Line;
  Colour colour;  // pen for BeginPass and Line, text colour for Text
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(LabelForm form = LabelForm::Screen) : form_(form) {}

  void beginDiagram(int areaWidth, int areaHeight, int axisY) override { ++diagrams; }
  void beginPass(Colour pen) override {
    pen_ = pen;
    calls.push_back({DrawCall::BeginPass, pen, 0, 0, 0, 0, {}});
  }
  void line(int x1, int y1, int x2, int y2) override { calls.push_back({DrawCall::Line, pen_, x1, y1, x2, y2, {}}); }
  void text(int x, int y, const std::string& t, Colour colour) override {
    calls.push_back({DrawCall::Text, colour, x, y, 0, 0, t});
  }
  LabelForm labelForm() const override { return form_; }

  int diagrams = 0;
  std::vector<DrawCall> calls;

 private:
  LabelForm form_;
  Colour pen_;
};

}  // namespace envelope
