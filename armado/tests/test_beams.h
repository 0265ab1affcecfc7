#pragma once
// Continuous beams for the tests of armado, written as the suite's model and
// loads files (kN and m) and read back as the program reads them.
#include <string>
#include <utility>
#include <vector>

#include "armado/demand.h"
#include "armado/design.h"
#include "common/testing/test_support.h"

namespace armado::testing {

struct PointLoad {
  int bar = 1;          // 1-based
  double a = 0, P = 0;  // from the bar's start (m), downward (kN)
  bool variable = false;
};

// Bars left to right, one per span; an overhang is a bar whose outer node has
// no support. `springs`: the supports (0-based among the supported nodes)
// that are vertical springs of stiffness `ky`.
struct TestBeam {
  std::vector<double> bars = {6.0};  // m
  bool overhangLeft = false, overhangRight = false;
  std::vector<int> springs;
  double ky = 5e4;            // kN/m
  double b = 0.30, h = 0.60;  // m
  bool sizes = true;          // b and h written in the section's record
  double g = 20, q = 10;      // kN/m on every bar, permanent and variable
  std::vector<PointLoad> points;
  double E = 3.0e7;   // kPa
  int divisions = 1;  // model bars per bar above: the same beam with stations closer
};

struct TestFiles {
  std::string model, permanent, variable;
};
TestFiles filesOf(const TestBeam& beam);

// The files written in `dir` as NAME.dat, NAME_g.caf and NAME_q.caf, read.
BeamInput readTestBeam(const testsupport::ScratchDir& dir, const TestBeam& beam, const std::string& name = "viga");

// The design of the beam with `data` (the defaults: HA-25, B500S...).
Design designTestBeam(const testsupport::ScratchDir& dir, const TestBeam& beam, const DesignData& data = {});

}  // namespace armado::testing
