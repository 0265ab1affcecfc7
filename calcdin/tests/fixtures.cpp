#include "calcdin/tests/fixtures.h"

#include "calcdin/assembly.h"
#include "common/bar_record_layout.h"
#include "calcdin/jacobi.h"
#include "calcdin/modal_model.h"
#include "common/scan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

extern "C" void dsygv_(const int* itype, const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                       double* b, const int* ldb, double* w, double* work, const int* lwork, int* info);

namespace fixtures {

using namespace common;

namespace {
void putInt(std::string& bytes, std::size_t at, int value) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
}
void putDouble(std::string& bytes, std::size_t at, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int b = 0; b < 8; ++b) bytes[at + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
}
}  // namespace

std::string encodeRecord(const calcdin::BarRecord& bar, int index, int label) {
  std::string bytes(barrecord::kRecordSize, '\0');
  const std::pair<std::size_t, int> integers[] = {{0, index},     {4, label},     {16, bar.nodeI}, {20, bar.nodeJ},
                                                  {32, bar.type}, {40, bar.type}, {72, bar.shear}};
  const std::pair<std::size_t, double> reals[] = {{48, bar.aclx}, {56, bar.ablx}, {64, bar.adlx}, {80, 1.0},  // taper
                                                  {88, bar.E},    {96, bar.G},    {104, bar.A},   {112, bar.m},
                                                  {128, bar.I},   {152, bar.L},   {160, bar.cos}, {168, bar.sin}};
  for (auto [at, value] : integers) putInt(bytes, at, value);
  for (auto [at, value] : reals) putDouble(bytes, at, value);
  return bytes;
}

calcdin::BarRecord sampleBar(int type, int shear, int nodeI, int nodeJ) {
  calcdin::BarRecord b;
  b.nodeI = nodeI;
  b.nodeJ = nodeJ;
  b.type = type;
  b.aclx = 1.0;
  b.shear = shear;
  b.E = 200;
  b.G = 80;
  b.A = 5;
  b.I = 3;
  b.m = 2;
  b.L = 4;
  b.cos = 1.0;
  b.sin = 0.0;
  return b;
}

std::string BeamModel::modelText() const {
  std::string text;
  char line[256];
  std::snprintf(line, sizeof line, "prueba   1    %d\n", unitCode);
  text += line;
  std::snprintf(line, sizeof line, "%zu %zu %zu 0 %zu %zu 0 0 0\n0.0\n", bars.size(), nodes.size(), supports.size(),
                materials.size(), sections.size());
  text += line;
  for (const auto& n : nodes) {
    std::snprintf(line, sizeof line, "%d %.17g %.17g\n", n.label, n.x, n.y);
    text += line;
  }
  for (std::size_t b = 0; b < bars.size(); ++b) {
    const ModelBar& bar = bars[b];
    std::snprintf(line, sizeof line, "%zu %d %d %d %d %d 0\n%.17g %.17g %.17g %d 1.0\n", b + 1, bar.labelI, bar.labelJ,
                  bar.material, bar.section, bar.type, bar.aclx, bar.adlx, bar.ablx, bar.shear);
    text += line;
  }
  for (std::size_t s = 0; s < sections.size(); ++s) {
    std::snprintf(line, sizeof line, "%zu  %.17g %.17g  0.3  0.5\n", s + 1, sections[s].A, sections[s].I);
    text += line;
  }
  for (std::size_t m = 0; m < materials.size(); ++m) {
    std::snprintf(line, sizeof line, " %zu %.17g %.17g %.17g  0.00001\n", m + 1, materials[m].E, materials[m].G,
                  materials[m].gamma);
    text += line;
  }
  for (const auto& s : supports) {
    std::snprintf(line, sizeof line, "%d  %d", s.label, s.code);
    text += line;
    for (double v : s.values) {
      std::snprintf(line, sizeof line, "  %.17g", v);
      text += line;
    }
    text += "\n";
  }
  return text;
}

calcdin::BarRecord BeamModel::record(int b) const {
  std::vector<int> sorted;
  for (const auto& n : nodes) sorted.push_back(n.label);
  std::sort(sorted.begin(), sorted.end());
  auto indexOf = [&](int label) {
    return static_cast<int>(std::find(sorted.begin(), sorted.end(), label) - sorted.begin()) + 1;
  };
  auto nodeWith = [&](int label) {
    for (const auto& n : nodes)
      if (n.label == label) return n;
    throw std::runtime_error("no node");
  };
  const ModelBar& bar = bars[b];
  calcdin::BarRecord r;
  r.nodeI = indexOf(bar.labelI);
  r.nodeJ = indexOf(bar.labelJ);
  r.type = bar.type;
  r.aclx = bar.aclx;
  r.adlx = bar.adlx;
  r.ablx = bar.ablx;
  r.shear = bar.shear;
  const ModelMaterial& mat = materials[bar.material - 1];
  const ModelSection& sec = sections[bar.section - 1];
  r.E = mat.E;
  r.G = mat.G;
  r.A = sec.A;
  r.I = sec.I;
  r.m = mat.gamma / gravity() * sec.A;
  ModelNode a = nodeWith(bar.labelI), z = nodeWith(bar.labelJ);
  double dx = z.x - a.x, dy = z.y - a.y;
  r.L = std::sqrt(dx * dx + dy * dy);
  r.cos = dx / r.L;
  r.sin = dy / r.L;
  return r;
}

std::string BeamModel::recordBytes() const {
  std::string bytes;
  for (std::size_t b = 0; b < bars.size(); ++b)
    bytes += encodeRecord(record(static_cast<int>(b)), static_cast<int>(b) + 1, static_cast<int>(b) + 1);
  return bytes;
}

BeamModel horizontalBeam(int bars, double length, double E, double A, double I, double gamma) {
  BeamModel model;
  for (int k = 0; k <= bars; ++k) model.nodes.push_back({k + 1, length * k / bars, 0.0});
  for (int k = 1; k <= bars; ++k) model.bars.push_back({k, k + 1});
  model.sections.push_back({A, I});
  model.materials.push_back({E, 0.4 * E, gamma});
  return model;
}

calcdin::PairMatrix solvedSystem(const std::string& modelText, const std::string& recordBytes, int option) {
  TempFile modelFile(modelText);
  TempFile recordFile(recordBytes);
  Scanner scanner(modelFile.file, "m.dat");
  calcdin::ModalModel model = calcdin::readModalModel(scanner);
  const int nn = model.header.nn;
  calcdin::Elimination elimination = calcdin::eliminateSupports(model.supports, nn, option);
  calcdin::PairMatrix full(elimination.total);
  calcdin::BarRecordFile records(recordFile.file, "m.bar");
  RecordingConsole console;
  calcdin::assembleAll(full, records, model.bars, option, elimination, console);
  calcdin::addVerticalSprings(full, calcdin::verticalSprings(model.supports, option));
  if (!calcdin::solvesReducedSystem(option)) return full;
  std::vector<bool> keep = elimination.isEliminated;
  keep.flip();
  return calcdin::reduceSystem(full, keep, elimination.nf());
}

std::vector<double> lapackEigenvalues(const calcdin::PairMatrix& system, bool vectors) {
  const int n = system.order();
  std::vector<double> a(static_cast<std::size_t>(n) * n), b(a.size()), w(n);
  for (int c = 1; c <= n; ++c)
    for (int r = 1; r <= c; ++r) {  // upper triangles, column-major
      a[(r - 1) + static_cast<std::size_t>(c - 1) * n] = system.S(r, c);
      b[(r - 1) + static_cast<std::size_t>(c - 1) * n] = system.Q(r, c);
    }
  const int itype = 1, lwork = std::max(1, 3 * n - 1) + 64 * n;
  std::vector<double> work(lwork);
  int info = 0;
  dsygv_(&itype, vectors ? "V" : "N", "U", &n, a.data(), &n, b.data(), &n, w.data(), work.data(), &lwork, &info);
  if (info != 0) throw std::runtime_error("dsygv failed, info " + std::to_string(info));
  return w;
}

}  // namespace fixtures
