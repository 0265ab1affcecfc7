#pragma once
// Small helpers for writing SVG and HTML by hand. Output is plain ASCII: text of
// the suite's files (Windows-1252) goes out as character references, so the
// page and the pictures read the same in any encoding.
#include <sstream>
#include <string>

namespace informe {

// Windows-1252 text as ASCII markup: &, <, >, " escaped, other bytes >= 0x80
// as numeric character references.
std::string escapeText(const std::string& cp1252);

// The look of every picture (CSS), shared by the page and the SVG files.
const char* pictureStyle();

// Screen coordinate with two decimals.
std::string px(double value);
// A model value (coordinate, load, length) as the shortest text that reads back
// the same number.
std::string modelValue(double value);

// Collects the elements of one picture; document() wraps them in <svg>.
class SvgPicture {
 public:
  SvgPicture(std::string id, double width, double height) : id_(std::move(id)), width_(width), height_(height) {}
  std::ostringstream& body() { return body_; }
  // Attributes written on the root element (for example the picture's scale).
  void rootAttribute(const std::string& name, const std::string& value);

  void line(double x1, double y1, double x2, double y2, const std::string& cls);
  // `attributes` is markup added to the element as it stands (already escaped).
  void text(double x, double y, const std::string& cp1252, const std::string& cls, const std::string& anchor = "start",
            const std::string& attributes = "");
  // An arrow whose head touches (x2, y2).
  void arrow(double x1, double y1, double x2, double y2, const std::string& cls);

  // The <svg> element; standalone adds the XML declaration.
  std::string document(bool standalone) const;

 private:
  std::string id_;
  double width_, height_;
  std::string attributes_;
  std::ostringstream body_;
};

}  // namespace informe
