#pragma once
// The surface the pictures of a model are drawn on. The drawing code knows only
// this interface; the report's SVG, the editor's window and the test recorder
// implement it. Coordinates are picture pixels: x to the right, y downward,
// relative to the groups' translations; each canvas maps them to its own
// system. The look of an element is named by its class (the report's style
// sheet); a canvas that is no style sheet maps the classes to pens and fonts.
#include <string>
#include <utility>
#include <vector>

namespace pictures {

// A coordinate or size. A symbol's own figures are whole numbers written as
// such (`whole`); any other value is written with two decimals. Only the SVG
// tells the two apart.
struct Num {
  double v = 0;
  bool whole = false;
  Num() = default;
  Num(double value) : v(value) {}  // NOLINT: a plain value reads as a number
};
inline Num whole(double value) {
  Num n(value);
  n.whole = true;
  return n;
}

struct Point {
  Num x, y;
};

// Markup attributes that describe an element (its node, its load's values...):
// written by the SVG, ignored by the other canvases. Values in Windows-1252.
using Data = std::vector<std::pair<std::string, std::string>>;

struct Style {
  Style() = default;
  Style(std::string look, Data attributes = {}) : cls(std::move(look)), data(std::move(attributes)) {}  // NOLINT
  std::string cls;         // empty: the look of the enclosing group
  Data data;               // written right after the class
  double strokeWidth = 0;  // 0: the class's own; else this width (a whole number)
};

struct Group {
  std::string cls;
  Data data;  // `id` may be one of them
  bool translated = false;
  Point translate;  // the origin of the group's elements
  bool rotated = false;
  Num degrees;  // clockwise on screen
  // Each element of the group on a line of its own in the markup.
  bool linesApart = false;
};

enum class Anchor { start, middle, end };

// A colour a class names where the canvas is no style sheet.
struct Colour {
  unsigned char r = 0, g = 0, b = 0;
  bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A path: moves, lines, and arcs of a circle (SVG's flags: the larger of the
// two arcs, and clockwise on screen); relative steps from the current point.
struct PathStep {
  enum Kind { moveTo, arcTo, lineBy, moveBy };
  PathStep(Kind step, Point point, Num r = {}, bool largeArc = false, bool clockwiseArc = false)
      : kind(step), to(point), radius(r), large(largeArc), clockwise(clockwiseArc) {}
  Kind kind;
  Point to;
  Num radius;
  bool large = false, clockwise = false;
};
using Path = std::vector<PathStep>;

// What an item of the picture stands for, so that a click can name it.
enum class ItemKind { bar, support, barLoad, nodalLoad };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // A canvas that places every element by itself (a script) ignores groups.
  virtual void beginGroup(const Group& group) {}
  virtual void endGroup() {}

  // A picture drawn by whole pixels (the envelope's diagrams) begins with its
  // area and the height of its axis (a script mirrors ordinates about it).
  virtual void beginPicture(int width, int height, int axisY) {}
  virtual void endPicture() {}

  virtual void line(Point a, Point b, const Style& style) = 0;
  // Where the canvas has no element of its own: a polyline as its segments, a
  // polygon closed by one more, a path's moves and steps with an arc as its
  // chord; a circle is left out.
  virtual void polyline(const std::vector<Point>& points, const Style& style);
  virtual void polygon(const std::vector<Point>& points, const Style& style);
  virtual void circle(Point centre, Num radius, const Style& style) {}
  // A rectangle is its four corners, where the canvas has no element of its own.
  virtual void rect(Point corner, Num width, Num height, const Style& style) {
    const double x = corner.x.v, y = corner.y.v, w = width.v, h = height.v;
    polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, style);
  }
  virtual void path(const Path& steps, const Style& style);
  // Text with its baseline at `at.y`, placed by `anchor` at `at.x`;
  // Windows-1252 bytes. `markup`, when not empty, is the SVG's markup for the
  // text (a character the files' encoding lacks, a value's source).
  virtual void text(Point at, const std::string& cp1252, const Style& style, Anchor anchor,
                    const std::string& markup) = 0;

  // Picture-wide metadata (its scale and origin): the SVG's only.
  virtual void attribute(const std::string& name, const std::string& value) {}

  // The elements drawn between the two calls stand for one item of the model
  // (`index` counts from 1 in its table).
  virtual void beginItem(ItemKind kind, int index) {}
  virtual void endItem() {}
};

}  // namespace pictures
