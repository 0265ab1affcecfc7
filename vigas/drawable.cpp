#include "vigas/drawable.h"

#include <algorithm>
#include <cmath>

#include "vigas/spans.h"

namespace vigas {

using namespace common;

DrawableModel drawableModel(const Content& content, int loadCase) {
  const ModelData& typed = content.model;
  DrawableModel out;
  projectfiles::Model& m = out.model;
  m.header = typed.header;
  m.nodes.resize(1);
  for (size_t k = 1; k < typed.nodes.size(); ++k) {
    const Node& node = typed.nodes[k];
    const bool taken = std::any_of(m.nodes.begin() + 1, m.nodes.end(),
                                   [&node](const Node& other) { return other.label == node.label; });
    if (!taken && std::isfinite(node.x) && std::isfinite(node.y)) m.nodes.push_back(node);
  }
  std::sort(m.nodes.begin() + 1, m.nodes.end(), [](const Node& a, const Node& b) { return a.label < b.label; });
  for (size_t k = 1; k < m.nodes.size(); ++k) m.nodes[k].index = static_cast<int>(k);
  if (m.nodes.size() < 2) return out;

  out.barRow.push_back(0);
  m.bars.resize(1);
  for (size_t k = 1; k < typed.bars.size(); ++k) {
    BarInput bar = typed.bars[k];
    bar.nodeI = findNodeIndex(m.nodes, bar.labelI);
    bar.nodeJ = findNodeIndex(m.nodes, bar.labelJ);
    if (bar.nodeI == 0 || bar.nodeJ == 0) continue;
    // Any direction the bar is typed in: the picture shows it as it goes.
    bar.dx = m.nodes[bar.nodeJ].x - m.nodes[bar.nodeI].x;
    bar.dy = m.nodes[bar.nodeJ].y - m.nodes[bar.nodeI].y;
    bar.L = std::hypot(bar.dx, bar.dy);
    if (!(bar.L > 0) || !std::isfinite(bar.L)) continue;
    bar.cos = bar.dx / bar.L;
    bar.sin = bar.dy / bar.L;
    bar.orient = bar.dy == 0 ? kHorizontal : bar.dx == 0 ? kVertical : bar.dx > 0 ? kInclinedRight : kInclinedLeft;
    auto fraction = [](double f) { return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0; };
    bar.adlx = fraction(bar.adlx);
    bar.ablx = fraction(bar.ablx);
    if (!std::isfinite(bar.taper)) bar.taper = 1.0;
    bar.index = static_cast<int>(m.bars.size());
    m.bars.push_back(bar);
    out.barRow.push_back(static_cast<int>(k));
  }

  out.supportRow.push_back(0);
  m.supports.resize(1);
  for (size_t k = 1; k < typed.supports.size(); ++k) {
    Support s = typed.supports[k];
    s.index = findNodeIndex(m.nodes, s.label);
    if (s.index == 0) continue;
    s.angle = std::isfinite(s.angleDegrees) ? s.angleDegrees * kDegreesToRadians : 0.0;
    m.supports.push_back(s);
    out.supportRow.push_back(static_cast<int>(k));
  }

  out.nodalLoadRow.push_back(0);
  m.nodalLoads.resize(1);
  for (size_t k = 1; k < typed.nodalLoads.size(); ++k) {
    NodalLoad load = typed.nodalLoads[k];
    load.index = findNodeIndex(m.nodes, load.label);
    if (load.index == 0 || !std::all_of(load.value, load.value + 3, [](double v) { return std::isfinite(v); }))
      continue;
    m.nodalLoads.push_back(load);
    out.nodalLoadRow.push_back(static_cast<int>(k));
  }

  out.loadRow.push_back(0);
  if (loadCase < 0 || loadCase >= static_cast<int>(content.cases.size())) return out;
  const std::vector<BarLoad>& loads = content.cases[static_cast<size_t>(loadCase)].loads;
  for (size_t k = 0; k < loads.size(); ++k) {
    const BarLoad& load = loads[k];
    const auto bar =
        std::find_if(m.bars.begin() + 1, m.bars.end(), [&load](const BarInput& b) { return b.label == load.barLabel; });
    const bool finite = std::isfinite(load.a) && std::isfinite(load.c) && std::isfinite(load.q);
    if (bar == m.bars.end() || load.ltype < 1 || load.ltype > 6 || !finite) continue;
    m.loads.push_back({load, static_cast<int>(bar - m.bars.begin())});
    out.loadRow.push_back(static_cast<int>(k) + 1);
  }
  return out;
}

DrawableModel drawableSpans(const Content& content, const SpanBeam& beam, int loadCase) {
  Content coarse = content;
  coarse.spans = beam;
  for (Piece& piece : coarse.spans->pieces) piece.bars = 1;
  const MadeBars made = makeBars(coarse);
  DrawableModel out = drawableModel(coarse, loadCase);
  out.barTable = out.supportTable = Table::spans;
  out.loadTable = Table::spanLoads;
  for (size_t k = 1; k < out.barRow.size(); ++k)
    out.barRow[k] = made.pieceOfBar.at(static_cast<size_t>(out.barRow[k] - 1)) + 1;
  // Support s stands between pieces s and s + 1: its row is the span's on its right.
  for (size_t k = 1; k < out.supportRow.size(); ++k) out.supportRow[k] += 1;
  const std::vector<int>& origin = made.loadOfBarLoad.at(static_cast<size_t>(loadCase));
  for (size_t k = 1; k < out.loadRow.size(); ++k)
    out.loadRow[k] = origin.at(static_cast<size_t>(out.loadRow[k] - 1)) + 1;
  return out;
}

}  // namespace vigas
