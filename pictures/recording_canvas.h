#pragma once
// A canvas that works out where every element of a picture lands (the groups'
// translations and turns applied, arcs as short strokes, a rectangle as its
// four corners) and keeps it, with the item it stands for: for tests, and for
// the window that finds what a click falls on.
#include <string>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

struct Spot {
  double x = 0, y = 0;
};

struct Element {
  enum Kind { line, polyline, polygon, circle, words } kind = line;
  std::vector<Spot> points;  // a circle's or a text's: one
  double radius = 0;
  std::string cls;       // the element's own class
  std::string groupCls;  // the class of the innermost group that has one
  double strokeWidth = 0;
  std::string text;    // Windows-1252
  std::string markup;  // the SVG's, when given
  Anchor anchor = Anchor::start;
  bool inItem = false;
  ItemKind item = ItemKind::bar;
  int index = 0;
};

class RecordingCanvas : public Canvas {
 public:
  void beginGroup(const Group& group) override;
  void endGroup() override;
  void line(Point a, Point b, const Style& style) override;
  void polyline(const std::vector<Point>& points, const Style& style) override;
  void polygon(const std::vector<Point>& points, const Style& style) override;
  void circle(Point centre, Num radius, const Style& style) override;
  void path(const Path& steps, const Style& style) override;
  void text(Point at, const std::string& cp1252, const Style& style, Anchor anchor, const std::string& markup) override;
  void beginItem(ItemKind kind, int index) override;
  void endItem() override;

  std::vector<Element> elements;

 protected:
  // Each element as it is drawn, in picture pixels; kept after the call.
  virtual void drawn(const Element& element) {}

 private:
  struct Transform {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;  // x' = a·x + c·y + e, y' = b·x + d·y + f
    Spot apply(double x, double y) const { return {a * x + c * y + e, b * x + d * y + f}; }
  };
  struct Open {
    Transform transform;
    std::string cls;
  };
  Element element(Element::Kind kind, const Style& style) const;
  void add(Element element);
  std::vector<Open> groups_;
  std::vector<std::pair<ItemKind, int>> items_;
};

// Distance in pixels from a spot to an element's strokes (to a circle's disc,
// a polygon's outline or inside, a text's anchor point).
double distanceTo(const Element& element, Spot spot);

}  // namespace pictures
