#pragma once
// The pictures of the canvas as SVG, and small helpers for writing SVG and
// HTML by hand. The report's output is plain ASCII: text of the suite's files
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
  char* room(size_t n) { return buffer_.room(n); }
  void advance(size_t n) { buffer_.advance(n); }
  const char* data() const { return buffer_.data(); }
  size_t size() const { return buffer_.size(); }

 private:
  common::TextBuffer buffer_;
};

// The colour a class names, in a picture drawn by whole pixels.
using InkOf = Colour (*)(const std::string& cls);

// The canvas that writes one picture as an <svg> element, in one of two forms.
// A picture of the report: the elements in the order drawn, their classes
// naming their look in the style sheet, the texts after them, above the
// drawing; a symbol's whole figures written as they are ("%g"), any other value
// with two decimals; ASCII only. A picture drawn by whole pixels as the screen
// shows it (the envelope's diagrams): every element in the order drawn, a line
// at half-pixel offsets (sharp one-pixel lines) stroked in its group's colour,
// a text hanging from its top in its class's colour, in UTF-8; no groups.
class SvgPicture : public Canvas {
 public:
  SvgPicture(std::string id, double width, double height) : id_(std::move(id)), width_(width), height_(height) {}
  // By whole pixels; the size comes with beginPicture().
  explicit SvgPicture(InkOf inkOf) : width_(0), height_(0), inkOf_(inkOf) {}
  void beginPicture(int width, int height, int axisY) override;
  void endPicture() override;
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
  // By whole pixels, the complete document after endPicture().
  std::string document(bool standalone) const;

  double width() const { return width_; }
  double height() const { return height_; }

 private:
  // The element's head: name, class and data.
  SvgText& open(const char* name, const Style& style);
  // The element's end, on a line of its own where its group wants it.
  void close(const Style& style);
  void pixelLine(Point a, Point b);
  void pixelText(Point at, const std::string& cp1252, const Style& style);
  std::string id_;
  double width_, height_;
  InkOf inkOf_ = nullptr;           // null: a picture of the report
  std::string pen_ = "rgb(0,0,0)";  // by whole pixels: the group's stroke
  std::string attributes_;
  SvgText body_, texts_;
  std::vector<bool> groups_;  // open groups: elements on lines apart
};

}  // namespace pictures
