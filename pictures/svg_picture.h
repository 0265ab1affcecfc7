#pragma once
// The pictures of the canvas as SVG, and small helpers for writing SVG and
// HTML by hand. Output is plain ASCII: text of the suite's files
// (Windows-1252) goes out as character references, so the page and the
// pictures read the same in any encoding.
#include <cstring>
#include <string>
#include <vector>

#include "common/format.h"
#include "pictures/canvas.h"
#include "pictures/drawing.h"

namespace pictures {

// The look of every picture (CSS), shared by the page and the SVG files.
const char* pictureStyle();

// Screen coordinate with two decimals.
std::string px(double value);

// Markup as it is written: pieces of text, and numbers as the pictures write
// them (see SvgPicture), appended without a stream.
class SvgText {
 public:
  SvgText& operator<<(const char* text) {
    buffer_.append(text, std::strlen(text));
    return *this;
  }
  SvgText& operator<<(const std::string& text) {
    buffer_.append(text.data(), text.size());
    return *this;
  }
  SvgText& operator<<(Num n);
  const char* data() const { return buffer_.data(); }
  size_t size() const { return buffer_.size(); }

 private:
  common::TextBuffer buffer_;
};

// The canvas that writes one picture as an <svg> element: the elements in the
// order drawn, the texts after them, above the drawing. A symbol's whole
// figures are written as they are ("%g"), any other value with two decimals.
class SvgPicture : public Canvas {
 public:
  SvgPicture(std::string id, double width, double height) : id_(std::move(id)), width_(width), height_(height) {}
  void attribute(const std::string& name, const std::string& value) override;
  void beginGroup(const Group& group) override;
  void endGroup() override;
  void line(Point a, Point b, const Style& style) override;
  void polyline(const std::vector<Point>& points, const Style& style) override;
  void polygon(const std::vector<Point>& points, const Style& style) override;
  void circle(Point centre, Num radius, const Style& style) override;
  void rect(Point corner, Num width, Num height, const Style& style) override;
  void path(const Path& steps, const Style& style) override;
  void text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string& markup) override;

  // The <svg> element; standalone adds the XML declaration and the style sheet.
  std::string document(bool standalone) const;

  double width() const { return width_; }
  double height() const { return height_; }

 private:
  // The element's head: name, class and data.
  SvgText& open(const char* name, const Style& style);
  // The element's end, on a line of its own where its group wants it.
  void close(const Style& style);
  std::string id_;
  double width_, height_;
  std::string attributes_;
  SvgText body_, texts_;
  std::vector<bool> groups_;  // open groups: elements on lines apart
};

}  // namespace pictures
