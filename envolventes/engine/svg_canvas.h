#pragma once
// An SVG picture of a diagram, as the screen shows it, for use without a
// display; any browser opens it.
#include <string>
#include <string_view>

#include "common/format.h"

#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/output_files.h"
#include "pictures/canvas.h"

namespace envelope {

class SvgCanvas : public pictures::Canvas {
 public:
  void beginPicture(int width, int height, int axisY) override;
  void endPicture() override;
  // A group's class is the pen of its lines.
  void beginGroup(const pictures::Group& group) override;
  void line(pictures::Point a, pictures::Point b, const pictures::Style&) override;
  void text(pictures::Point at, const std::string& cp1252, const pictures::Style& style, pictures::Anchor,
            const std::string&) override;

  // The complete document (UTF-8), valid after endPicture().
  std::string_view document() const { return {svg_.data(), svg_.size()}; }
  // Writes document() to `path` in `files`. False after a message: "ERROR SVG
  // <path>" when the file cannot be created, the write error when it cannot be
  // written.
  bool save(const std::string& path, MessageSink& sink, const OutputFiles& files = OutputFiles()) const;

 private:
  char penText_[24] = "rgb(0,0,0)";  // the pen of the pass as a stroke colour
  size_t penLength_ = 10;
  common::TextBuffer svg_;
};

}  // namespace envelope
