#pragma once
// What one bar does between its nodes, as the project's files tell it: the
// diagram file's 21 stations, the bar end values of the results file and the
// point forces and moments of the loads file. The members are named as those
// of calcest::ElasticCurve, the bar's true line, so the drawings can be given
// that one instead by changing BarLine's few members.
#include <vector>

#include "report_data.h"

namespace informe {

// Displacement of a point of a bar in the bar's axes (along I to J, and
// transverse, the engine's local y), in the model's length unit.
struct LocalDisplacement {
  double axial = 0, transverse = 0;
};

// Node displacements in the plane (model length unit). The results file has
// only the vertical one; the horizontal one follows from the transverse
// displacement the diagram file gives at the ends of bars that are not
// horizontal, and is 0 at a node only horizontal bars reach.
struct NodeShift {
  double ux = 0, uy = 0;
};
std::vector<NodeShift> nodeShifts(const ReportData& data);  // 1-based

// A point force or moment inside a bar: where moment and shear jump.
struct Jump {
  double x = 0;             // from node I along the bar
  double shear = 0, moment = 0;  // value right of x minus value left of it
};

class BarLine {
 public:
  // `bar` is 1-based; `shifts` from nodeShifts(data).
  BarLine(const ReportData& data, int bar, const std::vector<NodeShift>& shifts);

  double length() const { return length_; }
  // Moment and shear as the diagram file gives them (the engine's signs) at x
  // from node I; where a point load acts at x, `rightSide` chooses the value
  // just right of it.
  double moment(double x, bool rightSide = false) const;
  double shear(double x, bool rightSide = false) const;
  // The displacement of the bar's point at x: the one function the deflected
  // shape is drawn from.
  LocalDisplacement displacement(double x) const;

  // The point forces and moments strictly inside the bar, by abscissa.
  const std::vector<Jump>& jumps() const { return jumps_; }
  // Station abscissae (0 to L in twentieths) and the jumps', ascending.
  std::vector<double> samplePoints() const;

 private:
  struct Station {
    double x = 0, M = 0, V = 0, v = 0;  // v: transverse displacement
  };
  // Values at x of the stretch from station k (right of anything at it) to
  // station k + 1.
  double shearIn(int k, double x, bool rightSide) const;
  double momentIn(int k, double x, bool rightSide) const;
  int stretchOf(double x) const;
  double jumpsAt(int k, double x, bool rightSide, bool moment) const;

  double length_ = 0;
  double slopeSign_ = 1;  // dM/dx = slopeSign·V (the engine's signs)
  double axialI_ = 0, axialJ_ = 0;
  std::vector<Station> stations_;
  std::vector<Jump> jumps_;
  std::vector<double> shearSlope_, momentDrift_;  // per stretch
};

// Abscissae closer than this are one point of the bar (the engine's margin for
// a load on a station).
constexpr double kSameAbscissa = 2e-5;

}  // namespace informe
