#pragma once
// A picture being drawn on a canvas: its size, the texts on it, and the labels
// that keep clear of them. Where every label goes is decided here, so that
// every canvas shows the same labels at the same places.
#include <string>
#include <utility>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

// The entity that stands for &, <, > or " in markup; null for any other
// character.
const char* markupEntity(char c);

// Windows-1252 text as ASCII markup: &, <, >, " escaped, other bytes >= 0x80
// as numeric character references.
std::string escapeText(const std::string& cp1252);

// Data as markup attributes: ` name="value"` each, the values escaped.
std::string markupAttributes(const Data& data);

// A model value (coordinate, load, length) as the shortest text that reads back
// the same number.
std::string modelValue(double value);
// A value of a picture with a fixed number of decimals; a value that rounds to
// zero is written without its sign.
std::string pictureNumber(double value, int decimals);
// Decimals for the labels of one quantity whose largest magnitude is `largest`:
// four significant digits for it, at most three decimals.
int decimalsFor(double largest);

// A text's box on the picture, estimated from its length and font size.
struct TextBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool overlaps(const TextBox& other) const;
};
TextBox textBox(double x, double y, const std::string& cp1252, double fontSize, Anchor anchor);
// Font size of the texts of a class, as the report's style sheet sets it.
double fontSizeOf(const std::string& cls);

// A text that may be moved or left out when it would cover another.
struct Label {
  using Moves = std::vector<std::pair<double, double>>;
  Label(double atX, double atY, std::string words, std::string look, Anchor place, Data attributes, int rank,
        Moves tries, std::string svgMarkup = "")
      : x(atX),
        y(atY),
        text(std::move(words)),
        cls(std::move(look)),
        anchor(place),
        data(std::move(attributes)),
        priority(rank),
        moves(std::move(tries)),
        markup(std::move(svgMarkup)) {}
  double x = 0, y = 0;
  std::string text, cls;
  Anchor anchor = Anchor::start;
  Data data;
  int priority = 0;  // higher first
  // Offsets to try, in order, when the place itself is taken.
  Moves moves;
  std::string markup;  // the SVG's markup for the text, when not the text itself
};

class Drawing {
 public:
  Drawing(Canvas& canvas, double width, double height) : canvas_(canvas), width_(width), height_(height) {}
  Canvas& canvas() { return canvas_; }
  double width() const { return width_; }
  double height() const { return height_; }

  // A text that is always drawn where asked; labels keep clear of it.
  void text(double x, double y, const std::string& cp1252, const std::string& cls, Anchor anchor = Anchor::start,
            Data data = {}, const std::string& markup = "");
  // A text drawn only where it covers no other; see Label.
  void label(Label label) { labels_.push_back(std::move(label)); }

  // The labels by importance, each at the first of its places that covers no
  // text already there and stays on the picture; one with no free place is
  // left out. Their texts go to the canvas after every other.
  void placeLabels();

 private:
  bool fits(const TextBox& box) const;
  Canvas& canvas_;
  double width_, height_;
  std::vector<TextBox> taken_;
  std::vector<Label> labels_;
};

}  // namespace pictures
