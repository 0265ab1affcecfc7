// The spans read back from a model that is a continuous beam.
#include <algorithm>
#include <cmath>
#include <map>

#include "common/format.h"
#include "vigas/spans.h"

namespace vigas {

using namespace common;

namespace {

const char* tableWords(Table table) {
  switch (table) {
    case Table::nodes: return "los nudos";
    case Table::bars: return "las barras";
    case Table::supports: return "los apoyos";
    default: return "las cargas";
  }
}

// The model's nodes left to right, the bar after each, the supported ones.
struct Line {
  std::vector<double> xs;             // from the beam's start
  std::vector<const BarInput*> bars;  // bars[k] joins node k to node k + 1
  std::vector<size_t> supports;       // positions of the supported nodes, ascending
  std::vector<const Support*> supportOf;
  double x0 = 0, y0 = 0;
};

std::string lineFault(const ModelData& m, Line& line) {
  std::vector<const Node*> nodes;
  for (size_t k = 1; k < m.nodes.size(); ++k) nodes.push_back(&m.nodes[k]);
  std::sort(nodes.begin(), nodes.end(), [](const Node* a, const Node* b) { return a->x < b->x; });
  line.x0 = nodes.front()->x;
  line.y0 = nodes.front()->y;
  const double near = 1e-9 * std::max(1.0, nodes.back()->x - line.x0);
  std::map<int, size_t> position;
  for (size_t k = 0; k < nodes.size(); ++k) {
    if (std::fabs(nodes[k]->y - line.y0) > near)
      return formatText("el nudo %d no est\xE1 a la altura de los dem\xE1s", nodes[k]->label);
    if (k > 0 && !(nodes[k]->x > nodes[k - 1]->x + near))
      return formatText("los nudos %d y %d est\xE1n en el mismo sitio", nodes[k - 1]->label, nodes[k]->label);
    position[nodes[k]->label] = k;
    line.xs.push_back(tidy(nodes[k]->x - line.x0));
  }
  if (m.bars.size() != m.nodes.size() - 1) return "no es una sola fila de barras de nudo a nudo";
  line.bars.assign(nodes.size() - 1, nullptr);
  for (size_t k = 1; k < m.bars.size(); ++k) {
    const BarInput& bar = m.bars[k];
    const size_t i = position[bar.labelI];
    if (position[bar.labelJ] != i + 1 || line.bars[i])
      return formatText("la barra %d no une dos nudos seguidos de izquierda a derecha", bar.label);
    if (bar.type != 1) return formatText("la barra %d tiene r\xF3tulas o liberaciones (tipo %d)", bar.label, bar.type);
    if (bar.aclx != 1 || bar.adlx != 0 || bar.ablx != 0)
      return formatText("la barra %d tiene zonas r\xEDgidas", bar.label);
    if (bar.taper != 1) return formatText("la barra %d tiene cartela", bar.label);
    if (bar.type7 != 0) return formatText("la barra %d lleva un valor en la columna sin uso", bar.label);
    line.bars[i] = &bar;
  }
  line.supportOf.assign(nodes.size(), nullptr);
  for (size_t k = 1; k < m.supports.size(); ++k) {
    const size_t at = position[m.supports[k].label];
    if (line.supportOf[at]) return formatText("el nudo %d tiene dos apoyos", m.supports[k].label);
    line.supportOf[at] = &m.supports[k];
  }
  for (size_t k = 0; k < nodes.size(); ++k)
    if (line.supportOf[k]) line.supports.push_back(k);
  return "";
}

// The pieces between the supported nodes: lengths, and the section,
// material and shear switch their bars share.
std::string piecesFault(const Line& line, SpanBeam& beam, std::vector<size_t>& firstNode) {
  std::vector<size_t> ends{0};
  ends.insert(ends.end(), line.supports.begin(), line.supports.end());
  ends.push_back(line.xs.size() - 1);
  for (size_t p = 0; p + 1 < ends.size(); ++p) {
    Piece piece;
    piece.length = tidy(line.xs[ends[p + 1]] - line.xs[ends[p]]);
    piece.bars = static_cast<int>(ends[p + 1] - ends[p]);
    const BarInput* first = ends[p] < line.bars.size() ? line.bars[ends[p]] : line.bars.back();
    if (piece.bars == 0 && p > 0) first = line.bars[ends[p] - 1];
    piece.section = first->section;
    piece.material = first->material;
    piece.shear = first->shear;
    for (size_t k = ends[p]; k < ends[p + 1]; ++k) {
      const BarInput& bar = *line.bars[k];
      if (bar.section != piece.section || bar.material != piece.material || bar.shear != piece.shear)
        return formatText("las barras %d y %d de un mismo tramo tienen distinta secci\xF3n, material o cortante",
                          first->label, bar.label);
    }
    beam.pieces.push_back(piece);
    firstNode.push_back(ends[p]);
  }
  for (size_t s : line.supports) beam.supports.push_back(*line.supportOf[s]);
  return "";
}

// Reads one case's bar loads into loads of the pieces, joining the lines a
// distributed load was written as.
class LoadReader {
 public:
  LoadReader(const Line& line, const std::vector<size_t>& firstNode) : line_(line), firstNode_(firstNode) {
    for (size_t k = line.bars.size(); k-- > 0;) barOfLabel_[line.bars[k]->label] = k;
    for (size_t p = 0; p < firstNode.size(); ++p)
      for (size_t k = firstNode[p]; k < (p + 1 < firstNode.size() ? firstNode[p + 1] : line.bars.size()); ++k)
        pieceOfBar_[k] = static_cast<int>(p);
  }

  std::vector<SpanLoad> read(const std::vector<BarLoad>& loads) {
    std::vector<SpanLoad> out;
    joinable_ = false;
    for (size_t k = 0; k < loads.size(); ++k) {
      const BarLoad& load = loads[k];
      const size_t bar = barOfLabel_.at(load.barLabel);
      const int piece = pieceOfBar_.at(bar);
      const double start = line_.xs[firstNode_[static_cast<size_t>(piece)]];
      const double xI = line_.xs[bar], xJ = line_.xs[bar + 1];
      SpanLoad read;
      read.piece = piece;
      read.dir = load.dir;
      if (load.ltype == 1 || load.ltype == 2) {
        read.kind = load.ltype == 1 ? SpanLoadKind::force : SpanLoadKind::moment;
        read.x1 = read.x2 = tidy(xI + load.a - start);
        read.q1 = read.q2 = load.ltype == 1 ? load.q : -load.q;
        out.push_back(read);
        joinable_ = false;
        continue;
      }
      read.kind = load.ltype == 6 ? SpanLoadKind::temperature : SpanLoadKind::distributed;
      read.x1 = tidy(load.ltype == 6 ? xI - start : xI + load.a - start);
      read.x2 = tidy(load.ltype == 6 ? xJ - start : xI + load.a + load.c - start);
      read.q1 = load.ltype == 4 ? 0 : load.q;
      read.q2 = load.ltype == 5 ? 0 : load.q;
      if (load.ltype == 6) read.dir = 'y';
      // A uniform and a rising load on the same stretch: one trapezoid.
      if (load.ltype == 3 && k + 1 < loads.size() && pairs(load, loads[k + 1])) read.q2 = tidy(load.q + loads[++k].q);
      if (joinable_ && continues(out.back(), read)) {
        out.back().x2 = read.x2;
        out.back().q2 = read.q2;
      } else {
        out.push_back(read);
      }
      joinable_ = std::fabs(xI + (load.ltype == 6 ? xJ - xI : load.a + load.c) - xJ) <= near();
    }
    return out;
  }

 private:
  double near() const { return 1e-9 * std::max(1.0, line_.xs.back()); }
  static bool pairs(const BarLoad& uniform, const BarLoad& rising) {
    return rising.ltype == 4 && rising.barLabel == uniform.barLabel && rising.a == uniform.a && rising.c == uniform.c &&
           rising.b == uniform.b && rising.dir == uniform.dir;
  }
  // Whether `next` goes on where `last` ends, on the same straight line of load.
  bool continues(const SpanLoad& last, const SpanLoad& next) const {
    if (last.kind != next.kind || last.piece != next.piece || last.dir != next.dir) return false;
    if (std::fabs(last.x2 - next.x1) > near()) return false;
    const double size = std::max({std::fabs(last.q1), std::fabs(last.q2), std::fabs(next.q1), std::fabs(next.q2)});
    const double tolerance = 1e-9 * size;
    if (std::fabs(last.q2 - next.q1) > tolerance) return false;
    if (next.kind == SpanLoadKind::temperature) return next.q1 == last.q1;
    const double slopeLast = (last.q2 - last.q1) / (last.x2 - last.x1);
    const double slopeNext = (next.q2 - next.q1) / (next.x2 - next.x1);
    return std::fabs(slopeLast - slopeNext) * (next.x2 - last.x1) <= tolerance;
  }

  const Line& line_;
  const std::vector<size_t>& firstNode_;
  std::map<int, size_t> barOfLabel_;
  std::map<size_t, int> pieceOfBar_;
  bool joinable_ = false;
};

// The fewest equal bars per piece that cut it as the model does, given its
// load points; else as many as it has.
void findBarCounts(const Line& line, SpanBeam& beam, const std::vector<size_t>& firstNode) {
  SpanBeam probe = beam;
  for (size_t p = 0; p < beam.pieces.size(); ++p) {
    Piece& piece = beam.pieces[p];
    if (!(piece.length > 0)) {
      piece.bars = std::max(1, piece.bars);
      continue;
    }
    std::vector<double> actual;
    for (size_t k = firstNode[p]; k <= firstNode[p] + static_cast<size_t>(piece.bars); ++k)
      actual.push_back(line.xs[k] - line.xs[firstNode[p]]);
    for (int n = 1; n <= piece.bars; ++n) {
      probe.pieces[p].bars = n;
      std::vector<double> points;
      for (const std::vector<SpanLoad>& loads : beam.loads)
        for (const SpanLoad& load : loads)
          if (load.piece == static_cast<int>(p))
            for (double x : {load.x1, load.x2})
              if (x > 0 && x < piece.length) points.push_back(x);
      const std::vector<double> cuts = cutsOf(piece.length, points, n);
      bool same = cuts.size() == actual.size();
      for (size_t k = 0; same && k < cuts.size(); ++k) same = std::fabs(cuts[k] - actual[k]) <= 1e-9 * piece.length;
      if (same) {
        piece.bars = n;
        break;
      }
    }
  }
}

}  // namespace

SpanReading readSpans(const Content& content) {
  SpanReading reading;
  const ModelData& m = content.model;
  reading.beam.loads.assign(content.cases.size(), {});
  bool loaded = false;
  for (const LoadCase& c : content.cases) loaded = loaded || !c.loads.empty();
  if (m.nodes.size() <= 1 && m.bars.size() <= 1 && m.supports.size() <= 1 && m.ties.size() <= 1 &&
      m.nodalLoads.size() <= 1 && !loaded)
    return reading;  // nothing yet
  for (const CellError& error : checkContent(content))
    if (error.place.table == Table::nodes || error.place.table == Table::bars || error.place.table == Table::supports ||
        error.place.table == Table::loads) {
      reading.reason = std::string("hay errores en ") + tableWords(error.place.table) + ": " + error.reason;
      return reading;
    }
  if (m.ties.size() > 1)
    reading.reason = "tiene enlaces entre nudos";
  else if (m.nodalLoads.size() > 1)
    reading.reason = "tiene cargas en nudos";
  else if (m.supports.size() <= 1)
    reading.reason = "no tiene apoyos";
  if (!reading.reason.empty()) return reading;
  Line line;
  reading.reason = lineFault(m, line);
  std::vector<size_t> firstNode;
  if (reading.reason.empty()) reading.reason = piecesFault(line, reading.beam, firstNode);
  if (!reading.reason.empty()) return reading;
  reading.beam.x0 = line.x0;
  reading.beam.y0 = line.y0;
  LoadReader loads(line, firstNode);
  for (size_t c = 0; c < content.cases.size(); ++c) reading.beam.loads[c] = loads.read(content.cases[c].loads);
  findBarCounts(line, reading.beam, firstNode);
  return reading;
}

}  // namespace vigas
