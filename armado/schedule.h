#pragma once
// The bar schedule (despiece) of a design: one piece per mark with its shape
// and dimensions, how many, and the weights per diameter at 7850 kg/m3.
#include <string>
#include <vector>

#include "armado/design.h"

namespace armado {

enum class Shape { straight, bentOneEnd, bentBothEnds, stirrup, tie };

struct SchedulePiece {
  int mark = 0;
  double diameter = 0;
  Shape shape = Shape::straight;
  std::vector<double> dimensions;  // mm, in the order the bar is bent: legs and straight parts, or a stirrup's sides
  double length = 0;               // mm, of one piece
  int count = 0;
  double totalLength() const { return length * count; }
  double weight() const;  // kg, all pieces
};

struct DiameterTotal {
  double diameter = 0, length = 0, weight = 0;  // mm, mm, kg
};

struct Schedule {
  std::vector<SchedulePiece> pieces;  // by mark
  std::vector<DiameterTotal> totals;  // ascending diameter
  double weight = 0;                  // kg
};

// kg of `length` mm of a bar of `diameter` mm.
double barWeight(double diameter, double length);

Schedule scheduleOf(const Design& design);
// The total number of stirrup sets of the design.
int stirrupSets(const Design& design);

// NAME.des.
std::string scheduleText(const std::string& name, const Design& design, const Schedule& schedule);

}  // namespace armado
