#pragma once
// The CAD script: one "line" or "text" command per drawing element. Script y
// grows upward: line ordinates are mirrored about the beam axis, text y values
// are negated.
#include <cstdio>
#include <string>

#include "common/format.h"
#include "envolventes/engine/canvas.h"

namespace envelope {

class ScriptCanvas : public Canvas {
 public:
  // Writes to an open file (not closed here): the commands of a diagram are
  // kept and written at its end (and by the destructor, whatever is left).
  explicit ScriptCanvas(FILE* out) : out_(out) {}
  // Keeps the commands in memory, to be written by writeTo().
  ScriptCanvas() = default;
  ScriptCanvas(const ScriptCanvas&) = delete;
  ScriptCanvas& operator=(const ScriptCanvas&) = delete;
  ~ScriptCanvas() override { flush(); }

  void beginDiagram(int areaWidth, int areaHeight, int axisY) override { axisY_ = axisY; }
  void endDiagram() override { flush(); }
  void beginPass(Colour) override {}
  void line(int x1, int y1, int x2, int y2) override;
  void text(int x, int y, const std::string& cp1252Text, Colour colour) override;
  LabelForm labelForm() const override { return LabelForm::Script; }
  // Writes the commands kept in memory to `out`.
  void writeTo(FILE* out) const;

 private:
  void flush();
  FILE* out_ = nullptr;
  int axisY_ = 0;
  common::TextBuffer text_;
};

}  // namespace envelope
