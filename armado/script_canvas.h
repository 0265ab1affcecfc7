#pragma once
// The CAD script of a picture of the shared canvas: "line", "circle" and
// "text" commands in drawing units (picture pixels times `unitsPerPixel`),
// y upward. Groups carry no transform here: the pictures drawn through it
// place every element themselves.
#include <string>
#include <vector>

#include "common/format.h"
#include "pictures/canvas.h"

namespace armado {

class ScriptCanvas : public pictures::Canvas {
 public:
  explicit ScriptCanvas(double unitsPerPixel) : unit_(unitsPerPixel) {}
  void beginGroup(const pictures::Group& group) override {}
  void endGroup() override {}
  void line(pictures::Point a, pictures::Point b, const pictures::Style& style) override;
  void polyline(const std::vector<pictures::Point>& points, const pictures::Style& style) override;
  void polygon(const std::vector<pictures::Point>& points, const pictures::Style& style) override;
  void circle(pictures::Point centre, pictures::Num radius, const pictures::Style& style) override;
  void rect(pictures::Point corner, pictures::Num width, pictures::Num height, const pictures::Style& style) override;
  void path(const pictures::Path& steps, const pictures::Style& style) override;
  void text(pictures::Point at, const std::string& cp1252, const pictures::Style& style, pictures::Anchor anchor,
            const std::string& markup) override;
  std::string script() const { return text_.str(); }

 private:
  void point(double x, double y);
  double unit_;
  common::TextBuffer text_;
};

}  // namespace armado
