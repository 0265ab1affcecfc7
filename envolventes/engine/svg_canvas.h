#pragma once
// An SVG picture of a diagram, as the screen shows it, for use without a
// display; any browser opens it.
#include <string>
#include <string_view>

#include "common/format.h"

#include "envolventes/engine/canvas.h"
#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/output_files.h"

namespace envelope {

class SvgCanvas : public Canvas {
 public:
  explicit SvgCanvas(LabelForm form = LabelForm::Screen) : form_(form) {}

  void beginDiagram(int areaWidth, int areaHeight, int axisY) override;
  void endDiagram() override;
  void beginPass(Colour pen) override;
  void line(int x1, int y1, int x2, int y2) override;
  void text(int x, int y, const std::string& cp1252Text, Colour colour) override;
  LabelForm labelForm() const override { return form_; }

  // The complete document (UTF-8), valid after endDiagram().
  std::string_view document() const { return {svg_.data(), svg_.size()}; }
  // Writes document() to `path` in `files`. False after a message: "ERROR SVG
  // <path>" when the file cannot be created, the write error when it cannot be
  // written.
  bool save(const std::string& path, MessageSink& sink, const OutputFiles& files = OutputFiles()) const;

 private:
  LabelForm form_;
  char penText_[24] = "rgb(0,0,0)";  // the pen of the pass as a stroke colour
  size_t penLength_ = 10;
  common::TextBuffer svg_;
};

}  // namespace envelope
