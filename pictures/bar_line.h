#pragma once
// What one bar does between its nodes, drawn by the diagrams: its true line
// from the project's analysis (moment, shear and displacement, loads between
// the nodes included) and where its point forces and moments make the
// diagrams step.
#include <vector>

#include "calcest/elastic_curve.h"
#include "calcest/true_extremes.h"
#include "common/model.h"

namespace pictures {

using calcest::kSameAbscissa;

// Displacement of a point of a bar in the bar's axes (along I to J, and
// transverse, the engine's local y), in the model's length unit.
struct LocalDisplacement {
  double axial = 0, transverse = 0;
};

class BarLine {
 public:
  // The bar's true line in the analysis, and the bar (its stations).
  BarLine(const calcest::ElasticCurve& curve, const common::BarInput& bar);

  double length() const { return curve_.length(); }
  // Moment and shear with the engine's signs (those of the diagram file's
  // points) at x from node I; where a point load acts at x, `rightSide` chooses
  // the value just right of it (at the ends as ElasticCurve says: the bar's own
  // values are (0, true) and (L, false)).
  double moment(double x, bool rightSide = false) const { return curve_.moment(x, rightSide); }
  double shear(double x, bool rightSide = false) const { return curve_.shear(x, rightSide); }
  // The displacement of the bar's point at x: the one function the deflected
  // shape is drawn from.
  LocalDisplacement displacement(double x) const { return {curve_.axialDisplacement(x), curve_.deflection(x)}; }

  // Whether a point force or moment acts at node I (or J): the bar's value
  // there then is not its end force in the results file.
  bool actsAtEnd(bool atJ) const;

  // Station abscissae (0 to L in twentieths) and the jumps', ascending. A bar
  // with more jumps than a picture can show gets points evenly spread in
  // their place, as many as a picture can show.
  std::vector<double> samplePoints() const;
  // Where the moment (or the shear) diagram is drawn, and whether a jump is
  // drawn there (both sides): samplePoints and every jump; of a bar with many
  // jumps only those, among all of them, where the value is largest and
  // smallest on either side. The moment's too where it is truly largest and
  // smallest inside the bar.
  struct DiagramPoint {
    double x;
    bool jump;
  };
  std::vector<DiagramPoint> diagramPoints(bool moment) const;
  // samplePoints, `extra` more evenly spread, and where the deflection turns
  // (its extremes inside the bar, found to full precision, its largest and
  // smallest on the curve itself): the deflected shape drawn straight between
  // them.
  std::vector<double> shapePoints(int extra) const;

 private:
  double turningPoint(double from, double to) const;
  std::vector<double> truePeaks(const calcest::PiecewiseCurve& curve) const;
  // Whether a point force or moment acts at x, strictly inside the bar.
  bool jumpsAt(double x) const;

  calcest::ElasticCurve curve_;
  std::vector<double> stations_;
  std::vector<double> jumps_;  // abscissae of the point loads inside the bar, ascending, each once
};

}  // namespace pictures
