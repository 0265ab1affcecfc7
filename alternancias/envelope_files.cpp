#include "alternancias/envelope_files.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/file_names.h"
#include "envolventes/engine/accumulate.h"
#include "envolventes/engine/diagram.h"
#include "alternancias/force_table.h"
#include "envolventes/engine/layout.h"
#include "envolventes/engine/line_reader.h"
// informe has a header of the same name: the engine's is named by its path.
#include "envolventes/engine/result_files.h"

namespace alternancias {

using namespace common;

namespace {

using envelope::EnvelopeState;
using envelope::ProjectTables;

std::string writeErrorTextOf(const std::string& path) { return envelope::writeErrorText(path) + "\n"; }

class CollectingSink : public envelope::MessageSink {
 public:
  void showMessage(const std::string& text) override { messages += text + "\n"; }
  std::string messages;
};

// The beam's tables, as the engine reads them from a project's files.
void fillBeamTables(ProjectTables& p, const projectfiles::Model& model) {
  const ModelHeader& h = model.header;
  p.captionSet = h.echoed;
  p.unitSystem = h.unitCode;
  p.barCount = h.nb, p.nodeCount = h.nn, p.supportCount = h.nsup, p.nodalLoadCount = h.nload;
  p.materialCount = h.nmat, p.sectionCount = h.nsec, p.unusedCount = h.unusedCount, p.tieCount = h.ntie;
  p.selfWeight = h.selfWeight;
  p.nodes.assign(h.nn + 1, envelope::NodeRecord{});
  for (int k = 1; k <= h.nn; ++k)
    p.nodes[k] = {model.nodes[k].label, static_cast<float>(model.nodes[k].x), static_cast<float>(model.nodes[k].y)};
  p.beamLength = p.nodes[h.nn].x;
  p.bars.assign(h.nb + 1, envelope::BarRecord{});
  for (int k = 1; k <= h.nb; ++k) p.bars[k] = {model.bars[k].label, model.bars[k].nodeI, model.bars[k].nodeJ};
  p.supports.assign(h.nsup + 1, envelope::SupportRecord{});
  p.reactions.assign(h.nsup + 1, envelope::ReactionRecord{});
  for (int k = 1; k <= h.nsup; ++k) {
    p.supports[k] = {model.nodes[model.supports[k].index].label, model.supports[k].code};
    p.reactions[k].node = model.supports[k].index;
  }
  p.nodalLoads.assign(kEnvelopeNodalLoadSlots + 1, envelope::NodalLoadRecord{});
  p.lastPoint = p.forceTableLastIndex = kGridIntervals * h.nb;
  p.points.assign(p.lastPoint + 1, envelope::PointResult{});
  for (int k = 1; k <= h.nb; ++k)
    for (int s = 0; s <= kGridIntervals; ++s)
      p.points[kGridIntervals * (k - 1) + s].x = static_cast<float>(model.nodes[k].x + model.bars[k].xs[s]);
}

// An extreme as the files show it: a value within rounding of zero (a rigid
// support's penalty displacement, a moment at a pinned end) is written as
// zero, not "-0.00".
class Shown {
 public:
  explicit Shown(const ExactEnvelope& env) : env_(env) {
    for (int q = 0; q < kQuantityCount; ++q)
      for (size_t i = 0; i < env.size(q); ++i)
        size_[q] = std::max({size_[q], std::fabs(env.largest(q, i).value), std::fabs(env.smallest(q, i).value)});
  }
  float largest(int q, size_t i) const { return tidy(q, env_.largest(q, i).value); }
  float smallest(int q, size_t i) const { return tidy(q, env_.smallest(q, i).value); }
  // Largest size of a quantity in the envelope.
  double size(int q) const { return size_[q]; }

 private:
  float tidy(int q, double v) const { return std::fabs(v) <= 1e-6 * size_[q] ? 0.0f : static_cast<float>(v); }
  const ExactEnvelope& env_;
  std::array<double, kQuantityCount> size_{};
};

// One side pair of the point envelopes. The drawings take the left arrays as
// the diagram's line (at the first point, the value at the start of the beam)
// and draw and label the right arrays only where they hold a step.
void fillSides(const Shown& env, int left, int right, std::vector<float>& maxLeft, std::vector<float>& minLeft,
               std::vector<float>& maxRight, std::vector<float>& minRight, size_t last) {
  const double step = 1e-6 * env.size(left);
  for (size_t P = 0; P <= last; ++P) {
    const float hiL = env.largest(left, P), loL = env.smallest(left, P);
    const float hiR = env.largest(right, P), loR = env.smallest(right, P);
    maxLeft[P] = P == 0 ? hiR : hiL;
    minLeft[P] = P == 0 ? loR : loL;
    const bool stepHere = P > 0 && P < last && (std::fabs(hiR - hiL) > step || std::fabs(loR - loL) > step);
    maxRight[P] = stepHere ? hiR : 0.0f;
    minRight[P] = stepHere ? loR : 0.0f;
  }
}

void fillRecords(EnvelopeState& s, const projectfiles::Model& model, const Shown& env) {
  for (int i = 1; i <= model.header.nn; ++i) {
    s.nodeDeflectionMax[i] = {i, env.largest(kNodeDeflection, i)};
    s.nodeDeflectionMin[i] = {i, env.smallest(kNodeDeflection, i)};
  }
  for (int i = 1; i <= model.header.nb; ++i) {
    auto ends = [&](bool largest) {
      auto v = [&](int q) { return largest ? env.largest(q, i) : env.smallest(q, i); };
      return envelope::BarEndForces{i, i, i + 1, v(kBarMi), v(kBarMj), v(kBarQi), v(kBarQj)};
    };
    s.barForcesMax[i] = ends(true);
    s.barForcesMin[i] = ends(false);
  }
  for (int i = 1; i <= model.header.nsup; ++i) {
    const int node = model.supports[i].index;
    s.reactionMax[i] = {node, env.largest(kReaction, i), env.largest(kSupportMoment, i)};
    s.reactionMin[i] = {node, env.smallest(kReaction, i), env.smallest(kSupportMoment, i)};
  }
}

// A column's range counts from zero, as the engine's scales do; an empty one
// takes the engine's default.
float rangeOf(float hi, float lo, float ifZero) {
  const float range = std::max(hi, 0.0f) - std::min(lo, 0.0f);
  return envelope::IsZero(range) ? ifZero : range;
}

void fillExtremesAndScales(EnvelopeState& s) {
  envelope::GlobalExtremes& e = s.extremes;
  const envelope::PointEnvelopes& pe = s.points;
  e = {pe.DeflectionMax[0], pe.DeflectionMin[0], 0, pe.MomentMaxLeft[0], pe.MomentMinLeft[0],
       pe.ShearMaxLeft[0],  pe.ShearMinLeft[0]};
  for (int P = 0; P <= s.lastPoint; ++P) {
    e.deflectionMax = std::max(e.deflectionMax, pe.DeflectionMax[P]);
    e.deflectionMin = std::min(e.deflectionMin, pe.DeflectionMin[P]);
    const bool stepM = pe.MomentMaxRight[P] != 0 || pe.MomentMinRight[P] != 0;
    const bool stepQ = pe.ShearMaxRight[P] != 0 || pe.ShearMinRight[P] != 0;
    e.momentMax = std::max({e.momentMax, pe.MomentMaxLeft[P], stepM ? pe.MomentMaxRight[P] : e.momentMax});
    e.momentMin = std::min({e.momentMin, pe.MomentMinLeft[P], stepM ? pe.MomentMinRight[P] : e.momentMin});
    e.shearMax = std::max({e.shearMax, pe.ShearMaxLeft[P], stepQ ? pe.ShearMaxRight[P] : e.shearMax});
    e.shearMin = std::min({e.shearMin, pe.ShearMinLeft[P], stepQ ? pe.ShearMinRight[P] : e.shearMin});
  }
  e.deflectionSpan = std::max(e.deflectionMax, 0.0f) - std::min(e.deflectionMin, 0.0f);
  const bool kiloNewtons = s.current.unitSystem == 1;
  envelope::ProjectScales& ps = s.projectScales;
  ps.deflectionRange = rangeOf(e.deflectionMax, e.deflectionMin, 20.0f);
  ps.momentRange = rangeOf(e.momentMax, e.momentMin, kiloNewtons ? 10.0f : 100.0f);
  ps.shearRange = rangeOf(e.shearMax, e.shearMin, kiloNewtons ? 2.0f : 20.0f);
  ps.deflectionScale = 100 / ps.deflectionRange;
  ps.momentScale = 200 / ps.momentRange;
  ps.shearScale = 200 / ps.shearRange;
  s.largestScales = {ps.deflectionScale, ps.momentScale, ps.shearScale};
}

std::vector<envelope::ForceTableRow> forceTableRows(const EnvelopeState& s, const Shown& env) {
  std::vector<envelope::ForceTableRow> rows(s.lastPoint + 1);
  auto column = [&](int q, int P) { return envelope::ForceColumn{env.largest(q, P), env.smallest(q, P)}; };
  for (int P = 0; P <= s.lastPoint; ++P) {
    envelope::ForceTableRow& r = rows[P];
    r.index = P;
    r.x = s.current.points[P].x;
    r.Qi = column(kShearLeft, P), r.Qd = column(kShearRight, P);
    r.Mfi = r.Mf = column(kMomentLeft, P), r.Mfd = column(kMomentRight, P);
  }
  return rows;
}

}  // namespace

void fillEnvelopeState(EnvelopeState& s, const std::string& name, const projectfiles::Model& model,
                       const ExactEnvelope& env, int width, int height) {
  s.setEnvelopeName(name);
  fillBeamTables(s.current, model);
  s.lastPoint = s.current.lastPoint;
  s.forceTableLastIndex = s.current.forceTableLastIndex;
  envelope::computeLayout(s.current, width, height, s.layout);
  const Shown shown(env);
  envelope::PointEnvelopes& pe = s.points;
  for (int P = 0; P <= s.lastPoint; ++P) {
    pe.x[P] = s.current.points[P].x;
    pe.DeflectionMax[P] = shown.largest(kDeflection, P);
    pe.DeflectionMin[P] = shown.smallest(kDeflection, P);
  }
  const size_t last = static_cast<size_t>(s.lastPoint);
  fillSides(shown, kMomentLeft, kMomentRight, pe.MomentMaxLeft, pe.MomentMinLeft, pe.MomentMaxRight, pe.MomentMinRight,
            last);
  fillSides(shown, kShearLeft, kShearRight, pe.ShearMaxLeft, pe.ShearMinLeft, pe.ShearMaxRight, pe.ShearMinRight, last);
  fillRecords(s, model, shown);
  fillExtremesAndScales(s);
  envelope::computeOrdinates(s);
}

std::string writeEnvelopeFiles(const EnvelopeState& s, const ExactEnvelope& env, const envelope::OutputFiles& files) {
  CollectingSink sink;
  const std::string& name = s.envelopeName();
  for (const bool forceTable : {true, false}) {
    const std::string path = fileOf(name, forceTable ? kForceTableExt : kResultsExt);
    FILE* file = files.create(path);
    if (!file) return writeErrorTextOf(path);
    if (forceTable)
      envelope::writeForceTableRows(forceTableRows(s, Shown(env)), s.lastPoint, file);
    else
      envelope::writeReport(s, file);
    if (!files.finish(file, path, sink)) return sink.messages;
  }
  for (int selector = 1; selector <= 3; ++selector) {
    pictures::SvgPicture picture = envelope::diagramPicture();
    if (envelope::paintDiagram(s, selector, picture, sink, files) != envelope::DrawOutcome::Drawn ||
        !envelope::savePicture(picture, envelopePictureName(name, selector), sink, files))
      return sink.messages;
  }
  return {};
}

}  // namespace alternancias
