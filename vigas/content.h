#pragma once
// What the beam editor edits: the model as typed (common::ModelData read
// without checks: nodes in the order typed, nothing found or computed) and its
// load cases. Every table is 1-based, as the files count their items; slot 0
// is never used. A beam edited by its spans also keeps the spans it was made
// from, which the model and the cases' loads are then made of.
#include <optional>
#include <string>
#include <vector>

#include "common/bar_load.h"
#include "common/model.h"

namespace vigas {

using common::BarLoad;
using common::ModelData;

// One load case: a name and its bar loads. The first case is the project's
// own loads file (PROJECT.caf); each further case is a project of its own
// beside it (PROJECT_NAME.dat and PROJECT_NAME.caf), as the envelope programs
// take load cases of one beam. The model's own weight belongs to the first
// case only: the further cases' copies of the model are written with the
// self-weight switch at 0.
struct LoadCase {
  std::string name;
  std::vector<BarLoad> loads;  // 0-based, in file order
};

// A stretch of a continuous beam: a span between two supports, or an
// overhang beyond the first or the last one. Its bars share a section, a
// material (positions in the model's tables) and the shear switch; it is cut
// into `bars` equal bars at least, each stretch between two load points into
// its share of them.
struct Piece {
  double length = 0;  // an overhang of length 0 is none
  int section = 1, material = 1;
  int shear = 0;
  int bars = 1;
};

enum class SpanLoadKind { force, moment, distributed, temperature };

// A load along the beam: on one piece, x measured from the piece's left end,
// or along the whole beam (kAlongBeam), x measured from the beam's start. A
// force acts at x1, in `dir` (negative downward, as in the loads file); a
// moment at x1, counter-clockwise positive (as a node's); a distributed load
// from x1 to x2, of intensity q1 at x1 and q2 at x2 (uniform when equal); a
// temperature difference q1 between the faces from x1 to x2.
inline constexpr int kAlongBeam = -1;
struct SpanLoad {
  int piece = 1;
  SpanLoadKind kind = SpanLoadKind::distributed;
  double x1 = 0, x2 = 0;
  double q1 = 0, q2 = 0;
  char dir = 'y';
};

// A continuous beam by its spans: pieces left to right, the first and the
// last the overhangs (length 0 when there are none), the spans between; the
// supports between consecutive pieces; each load case's loads. A beam with
// no supports has no pieces yet.
struct SpanBeam {
  double x0 = 0, y0 = 0;  // where the beam starts
  std::vector<Piece> pieces;
  std::vector<common::Support> supports;     // pieces.size() - 1 of them (only the code and values count)
  std::vector<std::vector<SpanLoad>> loads;  // one list per load case

  int spanCount() const { return pieces.size() < 2 ? 0 : static_cast<int>(pieces.size()) - 2; }
  bool overhang(int piece) const { return piece == 0 || piece + 1 == static_cast<int>(pieces.size()); }
  // From the beam's start to the piece's left end, and the beam's length.
  double startOf(int piece) const;
  double length() const;
};

struct Content {
  ModelData model;
  std::vector<LoadCase> cases;  // the first one always exists
  // When the beam is edited by its spans: what the model's nodes, bars and
  // supports and the cases' loads are made from.
  std::optional<SpanBeam> spans;
};

// An empty model (one empty row in no table, unit code 1) with one empty case.
Content emptyContent();

}  // namespace vigas
