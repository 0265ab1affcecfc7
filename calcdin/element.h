#pragma once
// Element stiffness and consistent mass matrices of one bar, from its record in
// the bar record file. 6x6 matrices are 1-based (slot 0 unused), local order
// u1, v1, th1, u2, v2, th2.
#include "calcdin/bar_record.h"
#include "common/mat6.h"

namespace calcdin {

// Closed-form local stiffness of types 1 to 4 on the flexible length, with the
// shear factor kappa = 1/(1+phi) applied alike to every type.
common::Mat6 closedFormStiffness(const BarRecord& bar, int type);

// Consistent local mass of types 1 to 4 on the full length.
common::Mat6 consistentMass(const BarRecord& bar, int type);

// Cᵀ·K·C with C the identity except C(2,3) = ai and C(5,6) = -aj.
common::Mat6 withRigidZones(const common::Mat6& stiffness, double ai, double aj);

// Tᵀ·local·T for the bar's direction cosines.
common::Mat6 toGlobalAxes(const common::Mat6& local, double c, double s);

struct ElementMatrices {
  common::Mat6 stiffness{};  // global axes
  common::Mat6 mass{};       // global axes
  bool knownType = false;
};

// Stiffness (with releases, shear and rigid zones) and mass of the bar's type in
// global axes; an unknown type gives zero matrices and knownType = false.
ElementMatrices buildElementMatrices(const BarRecord& bar);

}  // namespace calcdin
