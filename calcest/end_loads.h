#pragma once
// Equivalent end loads of one bar load, per bar type: the shears, moments and
// axial shares the load gives at the restrained ends I and J, in local axes.
// Distances a, c, b are along the bar (a from I, b to J); bar types 0 to 8.
#include "calcest/bar.h"

namespace calcest {

enum LoadType { kPointForce = 1, kPointMoment = 2, kUniform = 3, kRising = 4, kFalling = 5, kTemperature = 6 };

// Local end shears and moments of a transverse load, for the bar types that carry
// equivalent loads (other types give zeros).
struct EndShearsMoments {
  double VI = 0, MI = 0, VJ = 0, MJ = 0;
};

// Point force P (local transverse) at distance a from node I and b from node J.
EndShearsMoments pointForceEndLoads(int barType, double P, double a, double b);

// Distributed load (ltype 3 uniform, 4 rising, 5 falling) of local intensity qt
// over [a, a + c], b from its end to node J, on bar types 1 to 6: the point-force
// row integrated over the loaded stretch.
EndShearsMoments distributedEndLoads(int barType, int ltype, double qt, double a, double c, double b);

// Shears and moments (no axial parts) of a force load of local transverse
// intensity qt: a point force at a (c to J), or a distributed load over
// [a, a + c] with b to J.
Vec6 forceLoadVector(int barType, int ltype, double qt, double a, double c, double b);

// Resultant of a force load (intensity q along the load, span L) and its
// simple-beam shares at I and J, all of it at one end on bar types 5 and 6.
struct SimpleSplit {
  double RI = 0, RJ = 0;
};
SimpleSplit simpleBeamSplit(int barType, int ltype, double q, double a, double c, double b, double L);

// Point moment M at distance a from I and b from J.
Vec6 pointMomentVector(int barType, double M, double a, double b);

// Temperature difference T between the faces (bar types 1 to 4).
Vec6 temperatureVector(const common::BarInput& bar, double T);

}  // namespace calcest
