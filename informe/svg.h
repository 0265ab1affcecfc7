#pragma once
// Small helpers for writing SVG and HTML by hand. Output is plain ASCII: text of
// the suite's files (Windows-1252) goes out as character references, so the
// page and the pictures read the same in any encoding.
#include <sstream>
#include <string>
#include <vector>

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

// A value of a picture with a fixed number of decimals; a value that rounds to
// zero is written without its sign.
std::string pictureNumber(double value, int decimals);
// Decimals for the labels of one quantity whose largest magnitude is `largest`:
// four significant digits for it, at most three decimals.
int decimalsFor(double largest);

// A text's box on screen, estimated from its length and font size.
struct TextBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool overlaps(const TextBox& other) const;
};
TextBox textBox(double x, double y, const std::string& cp1252, double fontSize, const std::string& anchor);
// Font size of the texts of a class, as pictureStyle() sets it.
double fontSizeOf(const std::string& cls);

// A text that may be moved or left out when it would cover another.
struct Label {
  double x = 0, y = 0;
  std::string text, cls, anchor = "start", attributes;
  int priority = 0;  // higher first
  // Screen offsets to try, in order, when the place itself is taken.
  std::vector<std::pair<double, double>> moves;
};

// Collects the elements of one picture; document() wraps them in <svg>.
class SvgPicture {
 public:
  SvgPicture(std::string id, double width, double height) : id_(std::move(id)), width_(width), height_(height) {}
  std::ostringstream& body() { return body_; }
  // Attributes written on the root element (for example the picture's scale).
  void rootAttribute(const std::string& name, const std::string& value);

  void line(double x1, double y1, double x2, double y2, const std::string& cls);
  // A text that is always drawn where asked; labels keep clear of it.
  // `attributes` is markup added to the element as it stands (already escaped).
  void text(double x, double y, const std::string& cp1252, const std::string& cls, const std::string& anchor = "start",
            const std::string& attributes = "");
  // A text whose markup (`inner`, already escaped) reads as `visible`.
  void richText(double x, double y, const std::string& visible, const std::string& inner, const std::string& cls);
  // A text drawn only where it covers no other; see Label.
  void label(Label label);
  // The last label's markup in place of its escaped text (for a character
  // the files' encoding lacks); its length is still the text's.
  void relabelLast(const std::string& markup);
  // An arrow whose head touches (x2, y2).
  void arrow(double x1, double y1, double x2, double y2, const std::string& cls);

  // The <svg> element; standalone adds the XML declaration. The texts come
  // last, above the drawing.
  std::string document(bool standalone) const;

  double width() const { return width_; }
  void setWidth(double width) { width_ = width; }

 private:
  struct Placed {
    TextBox box;
    std::string markup;
  };
  bool fits(const TextBox& box) const;
  std::string id_;
  double width_, height_;
  std::string attributes_;
  std::ostringstream body_;
  std::vector<Placed> fixed_;
  std::vector<Label> labels_;
  std::vector<std::string> markups_;  // per label; empty: the escaped text
};

}  // namespace informe
