#pragma once
// The CAD script of a diagram: one "line" or "text" command per drawing
// element, in whole pixels. Script y grows upward: line ordinates are mirrored
// about the beam axis, text y values are negated.
#include <cstdio>
#include <string>

#include "common/format.h"
#include "pictures/canvas.h"

namespace envelope {

class ScriptCanvas : public pictures::Canvas {
 public:
  // Writes to an open file (not closed here): the commands of a diagram are
  // kept and written at its end (and by the destructor, whatever is left).
  explicit ScriptCanvas(FILE* out) : out_(out) {}
  // Keeps the commands in memory, to be written by writeTo().
  ScriptCanvas() = default;
  ScriptCanvas(const ScriptCanvas&) = delete;
  ScriptCanvas& operator=(const ScriptCanvas&) = delete;
  ~ScriptCanvas() override { flush(); }

  void beginPicture(int width, int height, int axisY) override { axisY_ = axisY; }
  void endPicture() override { flush(); }
  void line(pictures::Point a, pictures::Point b, const pictures::Style&) override;
  void text(pictures::Point at, const std::string& cp1252, const pictures::Style&, pictures::Anchor,
            const std::string&) override;
  // Writes the commands kept in memory to `out`.
  void writeTo(FILE* out) const;

 private:
  void flush();
  FILE* out_ = nullptr;
  int axisY_ = 0;
  common::TextBuffer text_;
};

}  // namespace envelope
