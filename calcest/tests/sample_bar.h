#pragma once
// A bar of the static engine for the unit tests: index and label 1, from node 1
// to node 2, no rigid zones, E = 2, G = 1, A = 5, I = 3, stations every
// twentieth of its length.
#include "bar.h"

namespace calcest {

inline Bar sampleBar(int type, double L, double cosine = 1.0, double sine = 0.0, int orient = kHorizontal) {
  Bar bar;
  bar.index = bar.label = 1;
  bar.nodeI = 1;
  bar.nodeJ = 2;
  bar.type = type;
  bar.aclx = 1.0;
  bar.E = 2.0;
  bar.G = 1.0;
  bar.A = 5.0;
  bar.I = 3.0;
  bar.L = L;
  bar.cos = cosine;
  bar.sin = sine;
  bar.orient = orient;
  for (int k = 0; k < kStations; ++k) bar.xs[k] = L * 0.05 * k;
  bar.xs[kStations - 1] = L;
  return bar;
}

}  // namespace calcest
