#pragma once
// Hand-written projects in the layouts calcest writes (.res, .fmc, .kar) and the
// outside files (.dat, .caf, .esf, .car), for the engine's tests.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/testing/test_support.h"

struct HandProject {
  int unitSystem = 0;
  std::vector<float> nodeX{0.0f, 10.0f};                        // nodes 1..n, one bar between neighbours
  std::vector<std::array<int, 2>> supports{{1, 110}, {2, 10}};  // node, code
  int selfWeight = 0;
  std::vector<std::string> tieLines;
  std::vector<std::array<float, 2>> nodalLoads;  // node label, vertical force
  std::vector<std::string> cafLines, karLines;
  bool writeKar = true, writeCar = true, writeEsf = true;
  std::vector<float> nodeDeflection;            // per node (default 0)
  std::vector<std::array<float, 4>> barEnds;    // Mi Mj Qi Qj per bar (default 0)
  std::vector<std::array<float, 2>> reactions;  // R, M per support (default 0)
  // Deflection, moment, shear at point P with abscissa x (default 0).
  std::function<std::array<float, 3>(int P, float x)> point;
  int pointCountDelta = 0;           // added to the .fmc point count
  std::vector<std::string> esfRows;  // default: one zero row per point
  int esfDeclared = -1;              // default: lastPoint

  int barCount() const { return static_cast<int>(nodeX.size()) - 1; }
  int lastPoint() const { return 20 * barCount(); }
  float pointX(int P) const;
};

// Writes NAME.dat, .caf, .kar, .car, .esf, .fmc and .res into `dir`.
void writeProject(const testsupport::ScratchDir& dir, const std::string& name, const HandProject& p);

// Numbers of one whitespace-separated line.
std::vector<double> numbersOf(const std::string& line);
