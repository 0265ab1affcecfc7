#include "vigas/spans.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "common/capacities.h"
#include "common/format.h"

namespace vigas {

using namespace common;

double SpanBeam::startOf(int piece) const {
  double x = 0;
  for (int k = 0; k < piece && k < static_cast<int>(pieces.size()); ++k) x += pieces[static_cast<size_t>(k)].length;
  return x;
}

double SpanBeam::length() const { return startOf(static_cast<int>(pieces.size())); }

double tidy(double value) {
  if (!std::isfinite(value) || value == 0) return value;
  char text[40];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 12);
  double read = value;
  std::from_chars(text, written.ptr, read);
  return read;
}

namespace {

bool spread(SpanLoadKind kind) { return kind == SpanLoadKind::distributed || kind == SpanLoadKind::temperature; }

// Two abscissae of a beam this long are one point.
double closeness(double length) { return 1e-9 * std::max(1.0, length); }

// Where a load acts from the beam's start (x2 = x1 for a point action); the
// reason when it is off its piece or the beam, and the column at fault.
struct Placed {
  double from = 0, to = 0;
  int column = -1;
  std::string reason;
};

Placed place(const SpanBeam& beam, const SpanLoad& load) {
  Placed p;
  const bool along = load.piece == kAlongBeam;
  if (!along && (load.piece < 0 || load.piece >= static_cast<int>(beam.pieces.size()))) {
    p.column = 0;
    p.reason = "no existe ese vano";
    return p;
  }
  const double limit = along ? beam.length() : beam.pieces[static_cast<size_t>(load.piece)].length;
  const double start = along ? 0.0 : beam.startOf(load.piece);
  const double near = closeness(beam.length());
  const std::string end = along ? formatText("fuera de la viga, que mide %g", limit)
                                : formatText("m\xE1s all\xE1 del final del tramo, que mide %g", limit);
  if (!along && !(limit > 0)) {
    p.column = 0;
    p.reason = "ese voladizo no existe: su longitud es 0";
  } else if (load.x1 < -near) {
    p.column = 2;
    p.reason = "x1 no puede ser negativa";
  } else if (load.x1 > limit + near) {
    p.column = 2;
    p.reason = "x1 cae " + end;
  } else if (spread(load.kind) && !(load.x2 > load.x1 + near)) {
    p.column = 3;
    p.reason = "la carga va de x1 a x2: x2 debe ser mayor que x1";
  } else if (spread(load.kind) && load.x2 > limit + near) {
    p.column = 3;
    p.reason = "x2 cae " + end;
  }
  p.from = start + std::clamp(load.x1, 0.0, limit);
  p.to = spread(load.kind) ? start + std::clamp(load.x2, 0.0, limit) : p.from;
  return p;
}

}  // namespace

std::vector<double> cutsOf(double length, std::vector<double> points, int bars) {
  const double near = closeness(length);
  points.push_back(0);
  points.push_back(length);
  std::sort(points.begin(), points.end());
  std::vector<double> hard;
  for (double x : points)
    if (x >= -near && x <= length + near && (hard.empty() || x > hard.back() + near))
      hard.push_back(std::clamp(x, 0.0, length));
  hard.back() = length;
  std::vector<double> cuts{0.0};
  for (size_t k = 1; k < hard.size(); ++k) {
    const double a = hard[k - 1], b = hard[k];
    const int m = std::max(1, static_cast<int>(std::ceil(std::max(1, bars) * (b - a) / length - 1e-9)));
    for (int j = 1; j <= m; ++j) cuts.push_back(j == m ? b : a + (b - a) * j / m);
  }
  return cuts;
}

namespace {

// The load points inside each piece, from its left end, of every case's loads
// that are not at fault.
std::vector<std::vector<double>> loadPoints(const SpanBeam& beam) {
  std::vector<std::vector<double>> points(beam.pieces.size());
  std::vector<double> starts;
  for (size_t p = 0; p <= beam.pieces.size(); ++p) starts.push_back(beam.startOf(static_cast<int>(p)));
  for (const std::vector<SpanLoad>& loads : beam.loads)
    for (const SpanLoad& load : loads) {
      const Placed at = place(beam, load);
      if (!at.reason.empty()) continue;
      for (double X : {at.from, at.to})
        for (size_t p = 0; p < beam.pieces.size(); ++p)
          if (X > starts[p] && X < starts[p + 1]) points[p].push_back(X - starts[p]);
    }
  return points;
}

// The nodes along the beam (from its start) and the piece of each bar.
struct Mesh {
  std::vector<double> xs;
  std::vector<int> pieceOfBar;
  std::vector<int> lastBar;  // per piece; -1 before any bar
};

Mesh meshOf(const SpanBeam& beam) {
  Mesh mesh;
  mesh.xs.push_back(0.0);
  const std::vector<std::vector<double>> points = loadPoints(beam);
  for (size_t p = 0; p < beam.pieces.size(); ++p) {
    const Piece& piece = beam.pieces[p];
    const double start = mesh.xs.back();
    if (piece.length > 0) {
      const std::vector<double> cuts = cutsOf(piece.length, points[p], piece.bars);
      for (size_t k = 1; k < cuts.size(); ++k) {
        mesh.xs.push_back(tidy(start + cuts[k]));
        mesh.pieceOfBar.push_back(static_cast<int>(p));
      }
    }
    mesh.lastBar.push_back(static_cast<int>(mesh.pieceOfBar.size()) - 1);
  }
  return mesh;
}

size_t nodeAt(const Mesh& mesh, double X) {
  size_t best = 0;
  for (size_t k = 1; k < mesh.xs.size(); ++k)
    if (std::fabs(mesh.xs[k] - X) < std::fabs(mesh.xs[best] - X)) best = k;
  return best;
}

BarLoad barLoad(int bar, int ltype, double a, double c, double q, char dir) {
  BarLoad load;
  load.barLabel = bar;
  load.ltype = ltype;
  load.a = a;
  load.c = c;
  load.q = q;
  load.dir = dir;
  return load;
}

// A linear stretch of load over a whole bar, from qs at its start to qe at
// its end, in the loads file's types: uniform, rising, falling, or a uniform
// and a rising one.
void addLinear(std::vector<BarLoad>& out, int bar, double length, double qs, double qe, char dir) {
  if (qs == qe) {
    out.push_back(barLoad(bar, 3, 0, length, qs, dir));
  } else if (qs == 0) {
    out.push_back(barLoad(bar, 4, 0, length, qe, dir));
  } else if (qe == 0) {
    out.push_back(barLoad(bar, 5, 0, length, qs, dir));
  } else {
    out.push_back(barLoad(bar, 3, 0, length, qs, dir));
    out.push_back(barLoad(bar, 4, 0, length, tidy(qe - qs), dir));
  }
}

// A point action at node `node`: on a bar of its own piece (the piece's last
// bar at its end when it stands at the piece's right end), else on the bar
// that starts there (the last bar's end at the beam's end).
BarLoad pointLoad(const Mesh& mesh, const SpanLoad& load, size_t node, double ownPieceEnd) {
  const size_t bars = mesh.pieceOfBar.size();
  size_t bar = std::min(node, bars - 1);
  bool atEnd = node == bars;
  if (load.piece != kAlongBeam && std::fabs(mesh.xs[node] - ownPieceEnd) <= closeness(mesh.xs.back()) &&
      mesh.lastBar[static_cast<size_t>(load.piece)] >= 0) {
    bar = static_cast<size_t>(mesh.lastBar[static_cast<size_t>(load.piece)]);
    atEnd = true;
  }
  const double length = tidy(mesh.xs[bar + 1] - mesh.xs[bar]);
  const bool moment = load.kind == SpanLoadKind::moment;
  // The loads file's moment is clockwise positive.
  return barLoad(static_cast<int>(bar) + 1, moment ? 2 : 1, atEnd ? length : 0, atEnd ? 0 : length,
                 moment ? -load.q1 : load.q1, moment ? 'y' : load.dir);
}

// The bar loads of one load along the beam (none when it is at fault).
void addBarLoads(const SpanBeam& beam, const Mesh& mesh, const SpanLoad& load, std::vector<BarLoad>& out) {
  const Placed at = place(beam, load);
  if (!at.reason.empty() || mesh.pieceOfBar.empty()) return;
  const size_t first = nodeAt(mesh, at.from);
  if (!spread(load.kind)) {
    const double pieceEnd = load.piece == kAlongBeam ? 0.0 : beam.startOf(load.piece + 1);
    out.push_back(pointLoad(mesh, load, first, pieceEnd));
    return;
  }
  const size_t last = nodeAt(mesh, at.to);
  auto intensity = [&](size_t node) {
    if (node == first) return load.q1;
    if (node == last) return load.q2;
    return tidy(load.q1 + (load.q2 - load.q1) * (mesh.xs[node] - at.from) / (at.to - at.from));
  };
  for (size_t j = first; j < last; ++j) {
    const int bar = static_cast<int>(j) + 1;
    if (load.kind == SpanLoadKind::temperature)
      out.push_back(barLoad(bar, 6, 0, 0, load.q1, 'y'));
    else
      addLinear(out, bar, tidy(mesh.xs[j + 1] - mesh.xs[j]), intensity(j), intensity(j + 1), load.dir);
  }
}

// Every load of a case; `origin` gets the load each bar load comes from.
std::vector<BarLoad> barLoadsOf(const SpanBeam& beam, const Mesh& mesh, const std::vector<SpanLoad>& loads,
                                std::vector<int>& origin) {
  std::vector<BarLoad> out;
  for (size_t k = 0; k < loads.size(); ++k) {
    addBarLoads(beam, mesh, loads[k], out);
    origin.resize(out.size(), static_cast<int>(k));
  }
  return out;
}

}  // namespace

MadeBars makeBars(Content& content) {
  const SpanBeam& beam = *content.spans;
  MadeBars made;
  ModelData& m = content.model;
  const Mesh mesh = meshOf(beam);
  m.nodes.assign(1, Node{});
  for (size_t k = 0; k < mesh.xs.size() && !mesh.pieceOfBar.empty(); ++k) {
    Node node;
    node.label = node.index = static_cast<int>(k) + 1;
    node.x = tidy(beam.x0 + mesh.xs[k]);
    node.y = beam.y0;
    m.nodes.push_back(node);
  }
  m.bars.assign(1, BarInput{});
  for (size_t k = 0; k < mesh.pieceOfBar.size(); ++k) {
    const Piece& piece = beam.pieces[static_cast<size_t>(mesh.pieceOfBar[k])];
    BarInput bar;
    bar.index = bar.label = bar.labelI = static_cast<int>(k) + 1;
    bar.labelJ = static_cast<int>(k) + 2;
    bar.material = piece.material;
    bar.section = piece.section;
    bar.type = 1;
    bar.aclx = 1.0;
    bar.shear = piece.shear;
    m.bars.push_back(bar);
  }
  m.supports.assign(1, Support{});
  for (size_t k = 0; k < beam.supports.size() && !mesh.pieceOfBar.empty(); ++k) {
    Support support = beam.supports[k];
    support.label = mesh.lastBar[k] + 2;  // the node at the piece's right end
    m.supports.push_back(support);
  }
  m.ties.assign(1, Tie{});
  m.nodalLoads.assign(1, NodalLoad{});
  made.pieceOfBar = mesh.pieceOfBar;
  made.loadOfBarLoad.resize(content.cases.size());
  for (size_t c = 0; c < content.cases.size(); ++c)
    content.cases[c].loads =
        c < beam.loads.size() ? barLoadsOf(beam, mesh, beam.loads[c], made.loadOfBarLoad[c]) : std::vector<BarLoad>{};
  return made;
}

SpanReading spansOf(const Content& content) {
  if (content.spans) return {"", *content.spans};
  return readSpans(content);
}

std::vector<CellError> spanFaults(const Content& content) {
  std::vector<CellError> faults;
  if (!content.spans) return faults;
  const SpanBeam& beam = *content.spans;
  auto add = [&](Table table, int row, int column, const std::string& reason, int loadCase = 0) {
    faults.push_back({CellPlace{table, row, column, loadCase}, reason});
  };
  const int sections = static_cast<int>(content.model.sections.size()) - 1;
  const int materials = static_cast<int>(content.model.materials.size()) - 1;
  for (size_t p = 0; p < beam.pieces.size(); ++p) {
    const Piece& piece = beam.pieces[p];
    const int row = static_cast<int>(p) + 1;
    if (!beam.overhang(static_cast<int>(p)) && !(piece.length > 0))
      add(Table::spans, row, 1, "la luz de un vano es mayor que 0");
    if (piece.length < 0) add(Table::spans, row, 1, "la longitud de un voladizo no puede ser negativa (0: no hay)");
    if (piece.section < 1 || piece.section > sections)
      add(Table::spans, row, 3, formatText("no hay secci\xF3n %d en la tabla Secciones", piece.section));
    if (piece.material < 1 || piece.material > materials)
      add(Table::spans, row, 4, formatText("no hay material %d en la tabla Materiales", piece.material));
  }
  if (!beam.pieces.empty() && !(beam.length() > 0)) add(Table::spans, 0, -1, "la viga no tiene ning\xFAn vano");
  const int bars = static_cast<int>(content.model.bars.size()) - 1;
  if (bars > kMaxBars)
    add(Table::spans, 0, -1,
        formatText("la viga tendr\xED"
                   "a %d barras; el m\xE1ximo es %d: menos barras por vano o menos cargas",
                   bars, kMaxBars));
  for (size_t c = 0; c < beam.loads.size(); ++c)
    for (size_t k = 0; k < beam.loads[c].size(); ++k) {
      const Placed at = place(beam, beam.loads[c][k]);
      if (!at.reason.empty()) add(Table::spanLoads, static_cast<int>(k) + 1, at.column, at.reason, static_cast<int>(c));
    }
  return faults;
}

void setPieceLength(SpanBeam& beam, int piece, double length) {
  Piece& changed = beam.pieces.at(static_cast<size_t>(piece));
  const double before = changed.length;
  changed.length = length;
  if (!(before > 0)) return;
  for (std::vector<SpanLoad>& loads : beam.loads)
    for (SpanLoad& load : loads)
      if (load.piece == piece) {
        load.x1 = tidy(load.x1 * length / before);
        load.x2 = tidy(load.x2 * length / before);
      }
}

namespace {

Support supportOfCode(int code) {
  Support support;
  support.code = code;
  return support;
}

void renumberLoads(SpanBeam& beam, int from, int by) {
  for (std::vector<SpanLoad>& loads : beam.loads)
    for (SpanLoad& load : loads)
      if (load.piece != kAlongBeam && load.piece >= from) load.piece += by;
}

void dropLoadsOn(SpanBeam& beam, int piece) {
  for (std::vector<SpanLoad>& loads : beam.loads)
    loads.erase(std::remove_if(loads.begin(), loads.end(), [piece](const SpanLoad& l) { return l.piece == piece; }),
                loads.end());
}

}  // namespace

void insertSpan(SpanBeam& beam, int piece) {
  constexpr int kPinned = 110, kRoller = 10;
  if (beam.pieces.empty()) {
    Piece span;
    span.length = 5.0;
    span.bars = 8;
    Piece none = span;
    none.length = 0;
    beam.pieces = {none, span, none};
    beam.supports = {supportOfCode(kPinned), supportOfCode(kRoller)};
    return;
  }
  const int n = beam.spanCount();
  const int at = std::clamp(piece, 1, n + 1);
  Piece span = beam.pieces[static_cast<size_t>(std::min(at, std::max(n, 1)))];
  if (n == 0) span.length = 5.0;
  renumberLoads(beam, at, 1);
  beam.pieces.insert(beam.pieces.begin() + at, span);
  beam.supports.insert(beam.supports.begin() + at, supportOfCode(kRoller));
}

void removePiece(SpanBeam& beam, int piece) {
  const int n = beam.spanCount();
  if (piece < 0 || piece >= static_cast<int>(beam.pieces.size())) return;
  dropLoadsOn(beam, piece);
  if (beam.overhang(piece)) {
    beam.pieces[static_cast<size_t>(piece)].length = 0;
    return;
  }
  if (n == 1 && !(beam.pieces.front().length > 0) && !(beam.pieces.back().length > 0)) {
    const size_t cases = beam.loads.size();
    beam = SpanBeam{beam.x0, beam.y0, {}, {}, {}};
    beam.loads.assign(cases, {});
    return;
  }
  beam.pieces.erase(beam.pieces.begin() + piece);
  beam.supports.erase(beam.supports.begin() + (piece < n ? piece : piece - 1));
  renumberLoads(beam, piece + 1, -1);
}

}  // namespace vigas
