#pragma once
// Small beam models written in the model-file layout, and a runner for the
// calcest binary on them in a scratch directory.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "common/file_names.h"
#include "common/testing/test_support.h"

namespace beams {

struct Model {
  std::string title = "PRUEBA";
  int unitCode = 0;
  int selfWeight = 0;
  std::vector<std::string> nodes, bars, sections, materials, supports, ties, nodalLoads;

  std::string text() const {
    std::ostringstream out;
    out << title << "   1    " << unitCode << "\n";
    out << bars.size() << " " << nodes.size() << " " << supports.size() << " " << nodalLoads.size() << " "
        << materials.size() << " " << sections.size() << " 0 " << ties.size() << " " << selfWeight << " 0.0\n";
    for (auto* group : {&nodes, &bars, &sections, &materials, &supports, &ties, &nodalLoads})
      for (const auto& line : *group) out << line << "\n";
    return out.str();
  }
};

// A horizontal bar line pair: label, nodes, type, fractions.
inline std::string bar(int label, int i, int j, int type = 1, const char* fractions = "1.0 0.0 0.0 0 1.0") {
  char text[200];
  std::snprintf(text, sizeof text, "%d %d %d 1 1 %d 0\n%s", label, i, j, type, fractions);
  return text;
}

// A beam of nodes along x at the given abscissae, bars between neighbours.
inline Model straightBeam(const std::vector<double>& xs, double E = 1000.0, double A = 1.0, double I = 1.0) {
  Model m;
  for (size_t k = 0; k < xs.size(); ++k) {
    char line[100];
    std::snprintf(line, sizeof line, "%zu %.17g 0.0", k + 1, xs[k]);
    m.nodes.push_back(line);
    if (k > 0) m.bars.push_back(bar(static_cast<int>(k), static_cast<int>(k), static_cast<int>(k + 1)));
  }
  char sec[100], mat[100];
  std::snprintf(sec, sizeof sec, "1  %.17g %.17g  0.3  0.6", A, I);
  std::snprintf(mat, sizeof mat, "1 %.17g 400.0 0.0  0.0", E);
  m.sections.push_back(sec);
  m.materials.push_back(mat);
  return m;
}

// Two spans of 5 on a pin and two rollers, and a uniform load of 10 down on both.
inline Model twoSpanBeam() {
  Model m = straightBeam({0.0, 5.0, 10.0});
  m.supports = {"1  110 0.0 0.0", "2  10 0.0", "3  10 0.0"};
  return m;
}
const std::string kUniformLoads = "1  3  0.0  5.0  0.0  -10.0 y\n2  3  0.0  5.0  0.0  -10.0 y\n";

// One bar between (0, 0) and (4, 3), pinned at both ends, drawn from node i to
// node j; kInclinedLoad puts 1 down per horizontal metre over its whole span.
inline Model inclinedSpan(int i, int j) {
  Model m = straightBeam({0.0});
  m.nodes = {"1 0.0 0.0", "2 4.0 3.0"};
  m.bars = {bar(1, i, j)};
  m.supports = {"1  110 0.0 0.0", "2  110 0.0 0.0"};
  return m;
}
const std::string kInclinedLoad = "1  3  0.0  4.0  0.0  -1.0 y\n";

// Runs calcest on the model and loads files already in `dir`.
inline testsupport::RunResult runCalcestOn(const testsupport::ScratchDir& dir, const std::string& stem = "m",
                                           int seconds = 60) {
  return testsupport::runCalcest(CALCEST_BINARY, dir.path(), stem, seconds);
}

// Runs calcest on model m and loads text, all files named after `stem`.
inline testsupport::RunResult runCalcest(const testsupport::ScratchDir& dir, const Model& m, const std::string& loads,
                                         const std::string& stem = "m") {
  dir.write(common::fileOf(stem, common::kModelExt), m.text());
  dir.write(common::fileOf(stem, common::kLoadsExt), loads);
  return runCalcestOn(dir, stem);
}

// The numbers on a line, in order.
inline std::vector<double> numbers(const std::string& line) {
  std::vector<double> values;
  std::istringstream in(line);
  std::string word;
  while (in >> word) {
    char* end = nullptr;
    double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() && *end == '\0') values.push_back(v);
  }
  return values;
}

// The results file cut into its parts.
struct Results {
  std::vector<double> nodeUy;                 // scaled vertical displacement per node index
  std::vector<std::vector<double>> bars;      // index, node, node, M, M, V, V
  std::vector<std::vector<double>> supports;  // node index, Ry, M
  std::vector<std::string> tieLines;
};

inline Results parseResults(const std::string& text, int nn, int nb, int nsup) {
  auto lines = testsupport::splitLines(text);
  Results r;
  size_t at = 1;
  for (int k = 0; k < nn && at < lines.size(); ++k, ++at) r.nodeUy.push_back(numbers(lines[at]).at(1));
  for (int k = 0; k < nb && at < lines.size(); ++k, ++at) r.bars.push_back(numbers(lines[at]));
  for (int k = 0; k < nsup && at < lines.size(); ++k, ++at) r.supports.push_back(numbers(lines[at]));
  for (; at < lines.size(); ++at) r.tieLines.push_back(lines[at]);
  return r;
}

// One bar record (1-based `bar`) of the bar record file's bytes, read field by
// field as little-endian values at their byte offsets, independently of the
// program's own layout header.
struct RecordBytes {
  const std::string& bytes;
  size_t base;
  RecordBytes(const std::string& b, int bar) : bytes(b), base(9056 * static_cast<size_t>(bar - 1)) {}
  uint64_t raw(size_t offset, int size) const {
    uint64_t v = 0;
    for (int k = size - 1; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes.at(base + offset + k));
    return v;
  }
  int32_t integer(size_t offset) const { return static_cast<int32_t>(raw(offset, 4)); }
  double real(size_t offset) const {
    uint64_t bits = raw(offset, 8);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
  }
  // Element (r, c) of a 7x7 matrix of doubles stored row by row from `start`.
  double matrix(size_t start, int r, int c) const { return real(start + 8 * (7 * r + c)); }
};

}  // namespace beams
