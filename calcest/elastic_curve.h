#pragma once
// What a bar does between its nodes: bending moment, shear, axial force,
// deflection and rotation at any abscissa, from the bar's end displacements, its
// end forces and the loads on it. The diagram file samples a cubic of the end
// displacements only; this is the bar's true line, loads between the nodes
// included.
//
// The deflection is the bar's M/EI integrated twice over its flexible part
// (rigid end zones stay straight and turn with their node), with the bar's own
// stiffness as the engine uses it (a haunched bar with the properties the engine
// gives it, so the line meets the end rotations the engine found), the free
// curvature of a temperature load, and the shear strain V/(G·A) where the model
// switches shear deformation on. It is fixed by the deflections of both ends of
// the flexible part; at a transverse (shear) release, by the rotation of that
// end instead. Bars of types 0, 5 and 6 (no stiffness) get the straight line
// between their end deflections.
#include <array>
#include <memory>
#include <vector>

#include "calcest/bar.h"
#include "calcest/loads.h"

namespace calcest {

class ElasticCurve {
 public:
  // `loads`: the loads of this bar as the loads file gives them (projected as
  // the engine projects them); `selfWeight`: the bar's own weight acts too (the
  // model's switch is 1). `localEnds`: end displacements in the bar's axes
  // (u1, v1, th1, u2, v2, th2 in slots 1..6); `endForces`: local end forces
  // f = K'.delta + fixedEnd in the same slots, as the engine computes them.
  ElasticCurve(const common::BarInput& bar, const std::vector<common::BarLoad>& loads, bool selfWeight,
               const Vec6& localEnds, const Vec6& endForces);

  // At x from node I along the bar (0 <= x <= L). Moment and shear follow the
  // engine's diagram convention (the values of the bar's stations); where a
  // point force, a point moment or a support acts at x, `rightSide` chooses
  // the value just right of it, else the value just left of it. At the ends
  // too: a point action at a bar's end acts at its node, so at x = 0 the left
  // side leaves out the actions there and the right side holds them; at x = L
  // the right side is the bar's end forces, as the engine's last station has
  // them (actions at L held), and the left side leaves those actions out. The
  // bar's own values at its ends, just right of node I and just left of node
  // J, are therefore (0, true) and (L, false).
  double moment(double x, bool rightSide = false) const;
  double shear(double x, bool rightSide = false) const;
  double axialForce(double x, bool rightSide = false) const;

  // Transverse displacement in the bar's axes (the engine's defy) and its
  // slope (the section's rotation plus the shear strain, where it counts);
  // axial displacement, straight between the ends. A rigid zone follows its
  // node; at a transverse release (types 7, 8) the flexible end moves apart
  // from it, as the released freedom lets it.
  double deflection(double x) const;
  double rotation(double x) const;
  double axialDisplacement(double x) const;

  double length() const;

  // The bar cut where its curves change form (where loads start, end or act,
  // and at the ends of rigid zones): on each piece [from, to) the moment is a
  // cubic and the deflection a polynomial of degree 5 at most, in t = x - from,
  // lowest power first. The moment as inside the piece (point actions at
  // `from` included, those at `to` not), the deflection as deflection(x).
  struct Piece {
    double from = 0, to = 0;
    std::array<double, 4> moment{};
    std::array<double, 6> deflection{};
  };
  std::vector<Piece> pieces() const;
  // Where the point forces and moments act, from node I, ascending.
  const std::vector<double>& pointActionPlaces() const;

 private:
  struct Impl;
  std::shared_ptr<const Impl> impl_;
};

}  // namespace calcest
