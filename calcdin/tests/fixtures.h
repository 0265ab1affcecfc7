#pragma once
// Test models of the modal engine: model file text and the bar record file the
// static engine would leave for it, written here byte by byte on their own (not
// through common/bar_record_layout.h), so a slip in that header shows.
#include <cstdio>
#include <string>
#include <vector>

#include "calcdin/bar_record.h"
#include "calcdin/pair_matrix.h"
#include "common/testing/test_support.h"

namespace fixtures {

// A record of 9056 bytes with the fields the modal engine reads written at their
// offsets, little-endian, byte by byte.
std::string encodeRecord(const calcdin::BarRecord& bar, int index = 0, int label = 0);

// A horizontal bar record joining nodes nodeI and nodeJ: E = 200, G = 80, A = 5,
// I = 3, L = 4, m = 2 per unit length, no rigid zones.
calcdin::BarRecord sampleBar(int type = 1, int shear = 0, int nodeI = 1, int nodeJ = 2);

struct ModelNode {
  int label;
  double x, y;
};
struct ModelBar {
  int labelI, labelJ;
  int type = 1;
  double aclx = 1.0, adlx = 0.0, ablx = 0.0;
  int shear = 0;
  int section = 1, material = 1;
};
struct ModelSection {
  double A, I;
};
struct ModelMaterial {
  double E, G, gamma;
};
struct ModelSupport {
  int label, code;
  std::vector<double> values;
};

struct BeamModel {
  std::vector<ModelNode> nodes;  // given in file order (labels need not be sorted)
  std::vector<ModelBar> bars;
  std::vector<ModelSection> sections;
  std::vector<ModelMaterial> materials;
  std::vector<ModelSupport> supports;
  int unitCode = 0;

  std::string modelText() const;
  // Records in bar order; node indices are the positions after sorting by label.
  std::string recordBytes() const;
  calcdin::BarRecord record(int bar) const;  // 0-based bar position
  double gravity() const { return unitCode == 3 || unitCode == 4 ? 980.6 : 9.806; }
};

// A straight horizontal beam from x = 0 to x = length divided into equal bars,
// node labels 1..bars+1.
BeamModel horizontalBeam(int bars, double length, double E, double A, double I, double gamma);

using TempFile = testsupport::TempFile;

// The system a run with this option solves (reduced for options 0 and 2), read
// and assembled by the program's own readers from a model text and records.
calcdin::PairMatrix solvedSystem(const std::string& modelText, const std::string& recordBytes, int option);

// Generalized symmetric eigenvalues (ascending) of S·x = lambda·Q·x by LAPACK,
// with or without computing the eigenvectors.
std::vector<double> lapackEigenvalues(const calcdin::PairMatrix& system, bool vectors = false);

}  // namespace fixtures
