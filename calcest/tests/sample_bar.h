#pragma once
// A bar of the static engine for the unit tests: index and label 1, from node 1
// to node 2, no rigid zones, E = 2, G = 1, A = 5, I = 3, stations every
// twentieth of its length.
#include "calcest/bar.h"
#include "calcest/loads.h"

namespace calcest {

inline Bar sampleBar(int type, double L, double cosine = 1.0, double sine = 0.0, int orient = common::kHorizontal) {
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
  for (int k = 0; k < common::kStations; ++k) bar.xs[k] = L * 0.05 * k;
  bar.xs[common::kStations - 1] = L;
  return bar;
}

// One line of a loads file, on the bar labelled `bar`.
inline common::BarLoad loadOn(int bar, int ltype, double a, double c, double b, double q, char dir = 'y') {
  common::BarLoad load;
  load.barLabel = bar;
  load.ltype = ltype;
  load.a = a;
  load.c = c;
  load.b = b;
  load.q = q;
  load.dir = dir;
  return load;
}

}  // namespace calcest
