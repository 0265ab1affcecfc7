#pragma once
// The 6x6 matrices of a plane bar element, shared by the static and the modal
// engine. 1-based (row and column 0 unused), local order u1, v1, th1, u2, v2, th2.
#include <array>

namespace common {

using Mat6 = std::array<std::array<double, 7>, 7>;

inline void setSymmetric(Mat6& m, int r, int c, double value) {
  m[r][c] = value;
  m[c][r] = value;
}

// Plain product, terms summed in ascending order (both engines must give the
// same bytes for the same bar).
Mat6 multiply(const Mat6& a, const Mat6& b);
Mat6 transpose(const Mat6& a);

// Static condensation of the local direction k, dividing by pivot; row and
// column k come out zero.
Mat6 condenseDirection(const Mat6& matrix, int k, double pivot);

// C: the identity except C(2,3) = ai and C(5,6) = -aj, so that Cᵀ·K·C moves a
// flexible part's stiffness to the node centres past rigid end zones ai, aj.
Mat6 rigidZoneMatrix(double ai, double aj);

// T: local from global axes for a bar of direction cosines c, s.
Mat6 rotationMatrix(double c, double s);

}  // namespace common
