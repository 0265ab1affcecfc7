#pragma once
// The surface the envelope diagrams are drawn on. The drawing code knows only
// this interface; the screen (viewer), the CAD script, the SVG picture and the
// test recorder implement it. Coordinates are screen pixels: x to the right,
// y downward; each canvas converts to its own system.
#include <string>

namespace envelope {

struct Colour {
  unsigned char r = 0, g = 0, b = 0;
  bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Colour& o) const { return !(*this == o); }
};

constexpr Colour kGreen{0, 128, 0};
constexpr Colour kPurple{128, 0, 128};
constexpr Colour kOlive{128, 128, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};

// The CAD script leaves out or moves some labels of the shear passes; a canvas
// says which of the two forms it wants and the drawing code follows.
enum class LabelForm { Screen, Script };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Once per diagram, before the first pass: the drawing area and the beam axis
  // (the script mirrors line ordinates about it).
  virtual void beginDiagram(int areaWidth, int areaHeight, int axisY) {}
  virtual void endDiagram() {}

  // A pass draws with one solid pen of width 1 in `pen`.
  virtual void beginPass(Colour pen) = 0;
  virtual void endPass() {}

  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Text with its top-left corner at (x, y), in `colour`; Windows-1252 bytes.
  virtual void text(int x, int y, const std::string& cp1252Text, Colour colour) = 0;

  virtual LabelForm labelForm() const { return LabelForm::Screen; }
};

}  // namespace envelope
