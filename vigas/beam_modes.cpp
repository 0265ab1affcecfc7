#include "vigas/beam_modes.h"

#include <algorithm>
#include <cmath>

#include "common/capacities.h"
#include "common/file_names.h"
#include "common/format.h"
#include "common/model_writer.h"
#include "common/run_error.h"
#include "common/temporary_folder.h"
#include "common/whole_file.h"
#include "projectfiles/modes_file.h"
#include "projectfiles/token_file.h"
#include "vigas/suite_programs.h"

namespace vigas {

using namespace common;

namespace {

// Whether a bar can be cut with its stiffness and mass per metre unchanged: a
// haunch has the properties of its mean height over the whole bar, and types
// 0, 5 and 6 have no stiffness to share out.
bool canBeCut(const BarInput& bar) {
  const bool typeKept =
      bar.type == 1 || bar.type == 2 || bar.type == 3 || bar.type == 4 || bar.type == 7 || bar.type == 8;
  return typeKept && bar.taper == 1.0;
}

// The release of part `k` (0-based) of `parts`: the bar's at its ends, none between.
int partType(int type, int k, int parts) {
  const bool first = k == 0, last = k == parts - 1;
  switch (type) {
    case 2:
    case 7: return first ? type : 1;
    case 3:
    case 8: return last ? type : 1;
    case 4: return first && last ? 4 : first ? 2 : last ? 3 : 1;
    default: return 1;
  }
}

const Node* nodeLabelled(const ModelData& model, int label) {
  for (size_t k = 1; k < model.nodes.size(); ++k)
    if (model.nodes[k].label == label) return &model.nodes[k];
  return nullptr;
}

// The parts of one bar: nodes at equal steps of its flexible length, a rigid
// zone with the first or last part. False (nothing added) when the fractions
// of a part would not add up to 1 as the reader computes them.
bool cutBar(const BarInput& bar, int parts, ModelData& out, int& nextNode, int& nextBar) {
  const Node* I = nodeLabelled(out, bar.labelI);
  const Node* J = nodeLabelled(out, bar.labelJ);
  if (!I || !J) return false;
  const double L = std::hypot(J->x - I->x, J->y - I->y);
  const double ai = bar.adlx * L, aj = bar.ablx * L, step = (L - ai - aj) / parts;
  std::vector<BarInput> pieces;
  std::vector<Node> nodes;
  int from = bar.labelI;
  for (int k = 0; k < parts; ++k) {
    BarInput piece = bar;
    piece.label = k == 0 ? bar.label : nextBar++;
    piece.labelI = from;
    piece.type = partType(bar.type, k, parts);
    const double start = k == 0 ? 0.0 : ai + k * step, end = k == parts - 1 ? L : ai + (k + 1) * step;
    const double length = end - start;
    piece.adlx = k == 0 ? ai / length : 0.0;
    piece.ablx = k == parts - 1 ? aj / length : 0.0;
    piece.aclx = 1.0 - piece.adlx - piece.ablx;
    if (piece.aclx + piece.adlx + piece.ablx != 1.0 || !(piece.aclx > 0)) return false;
    if (k < parts - 1) {
      Node n;
      n.label = nextNode++;
      n.x = I->x + (J->x - I->x) * end / L;
      n.y = I->y + (J->y - I->y) * end / L;
      nodes.push_back(n);
      from = n.label;
    }
    piece.labelJ = k == parts - 1 ? bar.labelJ : from;
    pieces.push_back(piece);
  }
  out.bars.insert(out.bars.end(), pieces.begin(), pieces.end());
  out.nodes.insert(out.nodes.end(), nodes.begin(), nodes.end());
  return true;
}

struct Analysed {
  std::string error;
  std::vector<double> frequencies;
  int bars = 0;
};

// calcest and calcdin on the copy, in the scratch folder.
Analysed analyse(const ModelData& copy, int option, const std::string& folder) {
  Analysed result;
  result.bars = static_cast<int>(copy.bars.size()) - 1;
  const std::string stem = "modos";
  try {
    writeWholeFile(folder + "/" + fileOf(stem, kModelExt), modelText(copy), fileOf(stem, kModelExt));
    writeWholeFile(folder + "/" + fileOf(stem, kLoadsExt), "", fileOf(stem, kLoadsExt));
    for (const auto& [program, args] : {std::make_pair(std::string("calcest"), calcestCommandLine(stem)),
                                        std::make_pair(std::string("calcdin"), calcdinCommandLine(stem, option))}) {
      const Outcome run = runFellow(program, args, folder);
      if (!run.ok) {
        result.error = run.error;
        return result;
      }
    }
    projectfiles::TokenFile in(folder + "/" + fileOf(stem, kModesExt));
    const projectfiles::ModesFile modes = projectfiles::readModesFile(in, static_cast<int>(copy.nodes.size()) - 1);
    for (const projectfiles::Mode& mode : modes.ascending) result.frequencies.push_back(mode.frequency.value);
  } catch (const RunError& error) {
    result.error = error.text;
  }
  return result;
}

// Whether b is within kModesConvergence of a. A mode below a thousandth of
// the largest frequency shown is a still one (the free structure's rigid
// motions, option 1), whose frequency is rounding: it agrees within that.
bool agrees(double a, double b, double size) {
  return std::fabs(b - a) <= kModesConvergence * std::max(std::fabs(b), 1e-3 * size);
}

}  // namespace

ModelData splitBars(const ModelData& model, int parts, std::vector<int>* whole) {
  ModelData out = model;
  out.bars.assign(1, BarInput{});
  out.nodalLoads.assign(1, NodalLoad{});
  int nextNode = 1, nextBar = 1;
  for (size_t k = 1; k < model.nodes.size(); ++k) nextNode = std::max(nextNode, model.nodes[k].label + 1);
  for (size_t k = 1; k < model.bars.size(); ++k) nextBar = std::max(nextBar, model.bars[k].label + 1);
  for (size_t k = 1; k < model.bars.size(); ++k) {
    const BarInput& bar = model.bars[k];
    if (parts > 1 && canBeCut(bar) && cutBar(bar, parts, out, nextNode, nextBar)) continue;
    out.bars.push_back(bar);
    if (whole && parts > 1) whole->push_back(bar.label);
  }
  return out;
}

BeamModes beamModes(const ModelData& model, int option, int count) {
  BeamModes result;
  common::TemporaryFolder scratch("vigas-modos");
  if (scratch.path().empty()) {
    result.error = "no se puede crear una carpeta temporal para las vibraciones";
    return result;
  }
  const size_t wanted = static_cast<size_t>(std::max(count, 0));
  Analysed previous = analyse(splitBars(model, 1), option, scratch.path());
  result.bars = previous.bars;
  result.frequencies = previous.frequencies;
  result.converged.assign(result.frequencies.size(), false);
  for (int parts = 2; previous.error.empty(); parts *= 2) {
    std::vector<int> whole;
    const ModelData copy = splitBars(model, parts, &whole);
    if (static_cast<int>(copy.bars.size()) - 1 > kMaxBars) {
      result.limited = true;
      break;
    }
    result.wholeBars = whole;
    if (static_cast<int>(copy.bars.size()) - 1 == previous.bars) break;  // nothing left to cut
    const Analysed finer = analyse(copy, option, scratch.path());
    if (!finer.error.empty()) {
      previous.error = finer.error;
      break;
    }
    // A frequency the coarser copy did not have cannot be judged yet.
    const size_t shown = std::min(wanted, finer.frequencies.size());
    double size = 0;
    for (size_t m = 0; m < shown; ++m) size = std::max(size, std::fabs(finer.frequencies[m]));
    result.frequencies.assign(finer.frequencies.begin(), finer.frequencies.begin() + static_cast<long>(shown));
    result.converged.assign(shown, false);
    for (size_t m = 0; m < shown && m < previous.frequencies.size(); ++m)
      result.converged[m] = agrees(previous.frequencies[m], finer.frequencies[m], size);
    result.parts = parts;
    result.bars = finer.bars;
    if (std::all_of(result.converged.begin(), result.converged.end(), [](bool c) { return c; })) break;
    previous = finer;
  }
  result.error = previous.error;
  const size_t shown = result.error.empty() ? std::min(result.frequencies.size(), wanted) : 0;
  result.frequencies.resize(shown);
  result.converged.resize(shown);
  return result;
}

std::string beamModesNote(const BeamModes& modes) {
  std::string note = modes.parts == 1 ? "barras sin dividir" : formatText("cada barra dividida en %d", modes.parts);
  note += formatText(" (%d barras)", modes.bars);
  if (!modes.wholeBars.empty()) {
    note += "; sin dividir, por su cartela o su tipo, las barras";
    for (size_t k = 0; k < modes.wholeBars.size(); ++k) note += (k ? ", " : " ") + std::to_string(modes.wholeBars[k]);
  }
  const bool all = std::all_of(modes.converged.begin(), modes.converged.end(), [](bool c) { return c; });
  if (all) return note + formatText("; convergidas al %g %%", 100 * kModesConvergence);
  if (modes.limited)
    return note + formatText(
                      "; el l\xEDmite de %d barras no deja dividir m\xE1s: las marcadas no han convergido al "
                      "%g %%",
                      kMaxBars, 100 * kModesConvergence);
  return note + formatText("; las marcadas no han convergido al %g %%", 100 * kModesConvergence);
}

}  // namespace vigas
