#include "armado/demand.h"

#include <algorithm>
#include <cmath>

#include "alternancias/force_table.h"
#include "common/run_error.h"

namespace armado {

using common::formatText;
using common::RunError;

bool unitsOf(int unitCode, ModelUnits& units) {
  switch (unitCode) {
    case 0: units = {9806.65, 1000.0, "t", "m"}; return true;  // the tonne-force
    case 1: units = {1000.0, 1000.0, "kN", "m"}; return true;
    case 2: units = {4448.2216152605, 304.8, "klb", "pie"}; return true;
    default: return false;
  }
}

namespace {

// The one section of the beam, b and h in the model's length unit.
void beamSection(const projectfiles::Model& model, const std::string& datPath, double& b, double& h) {
  const common::Section* first = nullptr;
  for (int k = 1; k <= model.header.nb; ++k) {
    const common::BarInput& bar = model.bars[k];
    const common::Section& s = model.sections[bar.section];
    if (!(s.b > 0) || !(s.h > 0))
      throw RunError(
          formatText("ERROR EN EL FICHERO %s: LA SECCI\xD3N %d (DE LA BARRA %d) NO TIENE ANCHO B Y "
                     "CANTO H; EL ARMADO LOS NECESITA (ESCR\xCD"
                     "BALOS EN LA L\xCDNEA DE LA SECCI\xD3N: ID A I B H)\n",
                     datPath.c_str(), bar.section, bar.label));
    if (bar.taper != 1.0)
      throw RunError(
          formatText("ERROR EN EL FICHERO %s: LA BARRA %d TIENE CARTELA; EL ARMADO PIDE UNA VIGA DE "
                     "CANTO CONSTANTE\n",
                     datPath.c_str(), bar.label));
    if (!first) first = &s;
    if (s.b != first->b || s.h != first->h)
      throw RunError(
          formatText("ERROR EN EL FICHERO %s: LA BARRA %d ES DE OTRA SECCI\xD3N (%g x %g) QUE LA PRIMERA "
                     "(%g x %g); EL ARMADO PIDE UNA SOLA SECCI\xD3N EN TODA LA VIGA\n",
                     datPath.c_str(), bar.label, s.b, s.h, first->b, first->h));
  }
  b = first->b;
  h = first->h;
}

double largestOfSides(const alternancias::ExactEnvelope& env, int left, int right, size_t p, size_t last,
                      bool largest) {
  // Nothing lies left of the first point or right of the last.
  double value = largest ? -HUGE_VAL : HUGE_VAL;
  auto take = [&](int quantity) {
    const double v = largest ? env.largest(quantity, p).value : env.smallest(quantity, p).value;
    value = largest ? std::max(value, v) : std::min(value, v);
  };
  if (p > 0) take(left);
  if (p < last) take(right);
  return value;
}

// Between two stations a span's envelope can rise above both (under a point
// load off the grid, or where a triangular load makes the moment a cubic).
// Its true peak, found on the curves, is taken by the stations about it (by
// the station itself when it stands there), so the bars laid between them,
// and every bar the shifted envelope carries past it, are laid for it.
void takeTruePeaks(const alternancias::ExactEnvelope& env, const alternancias::Span& span, const DemandSpan& range,
                   double x0, const ModelUnits& u, std::vector<Station>& stations) {
  const auto first = stations.begin() + range.firstStation, end = stations.begin() + range.lastStation + 1;
  for (const bool largest : {true, false}) {
    const alternancias::ExactEnvelope::Peak peak = env.peak(alternancias::ExactEnvelope::Curve::moment, span, largest);
    const double x = (peak.x - x0) * u.length, M = peak.governing.value * u.force * u.length;
    const auto right = std::lower_bound(first, end, x, [](const Station& s, double at) { return s.x < at; });
    std::vector<std::vector<Station>::iterator> about;
    const double near = 1e-9 * (range.end - range.start);
    if (right != end && right->x - x <= near) {
      about.push_back(right);
    } else if (right != first && x - (right - 1)->x <= near) {
      about.push_back(right - 1);
    } else {
      if (right != first) about.push_back(right - 1);
      if (right != end) about.push_back(right);
    }
    for (const auto& s : about) {
      if (largest)
        s->Mmax = std::max(s->Mmax, M);
      else
        s->Mmin = std::min(s->Mmin, M);
    }
  }
}

// The service moments at point p from the characteristic envelope and the
// permanent load alone, side by side: a share psi of the variable load gives
// G + psi (extreme - G), the superposition at factors 1 and psi.
void serviceMoments(const alternancias::ExactEnvelope& characteristic, const alternancias::ExactEnvelope& permanent,
                    size_t p, size_t last, const ServiceShares& shares, double scale, Station& s) {
  s.MgMax = s.MkMax = s.MfrMax = s.MqpMax = -HUGE_VAL;
  s.MgMin = s.MkMin = s.MfrMin = s.MqpMin = HUGE_VAL;
  auto take = [](double& most, double& least, double high, double low) {
    most = std::max(most, high);
    least = std::min(least, low);
  };
  for (int side : {alternancias::kMomentLeft, alternancias::kMomentRight}) {
    if ((side == alternancias::kMomentLeft && p == 0) || (side == alternancias::kMomentRight && p == last)) continue;
    const double g = scale * permanent.largest(side, p).value;
    const double high = scale * characteristic.largest(side, p).value;
    const double low = scale * characteristic.smallest(side, p).value;
    take(s.MgMax, s.MgMin, g, g);
    take(s.MkMax, s.MkMin, high, low);
    take(s.MfrMax, s.MfrMin, g + shares.psi1 * (high - g), g + shares.psi1 * (low - g));
    take(s.MqpMax, s.MqpMin, g + shares.psi2 * (high - g), g + shares.psi2 * (low - g));
  }
}

}  // namespace

BeamDemand beamDemand(const BeamInput& beam, const alternancias::Factors& factors, const ServiceShares& shares,
                      const std::string& datPath) {
  using alternancias::kMomentLeft;
  using alternancias::kMomentRight;
  using alternancias::kShearLeft;
  using alternancias::kShearRight;
  const projectfiles::Model& model = beam.model;
  BeamDemand demand;
  if (!unitsOf(model.header.unitCode, demand.units))
    throw RunError(
        formatText("ERROR EN EL FICHERO %s: CON EL C\xD3"
                   "DIGO DE UNIDADES %d NO SE SABE LA UNIDAD DE "
                   "FUERZA; EL ARMADO PIDE EL C\xD3"
                   "DIGO 0 (t, m), 1 (kN, m) O 2 (klb, pie)\n",
                   datPath.c_str(), model.header.unitCode));
  const ModelUnits u = demand.units;
  beamSection(model, datPath, demand.b, demand.h);
  demand.b *= u.length;
  demand.h *= u.length;

  const alternancias::ExactEnvelope ultimate = alternancias::exactEnvelope(model, beam.variable, beam.spans, factors);
  const alternancias::ExactEnvelope characteristic =
      alternancias::exactEnvelope(model, beam.variable, beam.spans, {1.0, 1.0, 1.0});
  const alternancias::ExactEnvelope permanent =
      alternancias::exactEnvelope(model, beam.variable, beam.spans, {1.0, 1.0, 0.0});
  // The envelope's deflections are in the files' unit (scale times the length unit).
  const double deflection = u.length / common::unitConstantsFor(model.header.unitCode).scale;

  const int nb = model.header.nb;
  const size_t points = static_cast<size_t>(alternancias::kGridIntervals) * nb + 1;
  const std::vector<int> spanOfBar = alternancias::spanOfBars(beam.spans);
  const double x0 = model.nodes[1].x;
  demand.stations.resize(points);
  for (size_t p = 0; p < points; ++p) {
    const int bar =
        std::max(1, static_cast<int>((p + alternancias::kGridIntervals - 1) / alternancias::kGridIntervals));
    const common::BarInput& b = model.bars[bar];
    Station& s = demand.stations[p];
    s.x = (model.nodes[b.nodeI].x - x0 + b.xs[p - static_cast<size_t>(alternancias::kGridIntervals) * (bar - 1)]) *
          u.length;
    const double moment = u.force * u.length;
    s.Mmax = moment * largestOfSides(ultimate, kMomentLeft, kMomentRight, p, points - 1, true);
    s.Mmin = moment * largestOfSides(ultimate, kMomentLeft, kMomentRight, p, points - 1, false);
    s.Vmax = u.force * largestOfSides(ultimate, kShearLeft, kShearRight, p, points - 1, true);
    s.Vmin = u.force * largestOfSides(ultimate, kShearLeft, kShearRight, p, points - 1, false);
    serviceMoments(characteristic, permanent, p, points - 1, shares, moment, s);
    s.elasticDeflection = deflection * characteristic.smallest(alternancias::kDeflection, p).value;
    s.span = spanOfBar[bar];
  }
  for (const alternancias::Span& span : beam.spans) {
    DemandSpan d;
    d.firstStation = alternancias::kGridIntervals * (span.firstBar - 1);
    d.lastStation = alternancias::kGridIntervals * span.lastBar;
    d.start = demand.stations[d.firstStation].x;
    d.end = demand.stations[d.lastStation].x;
    d.overhang = span.overhang;
    demand.spans.push_back(d);
    takeTruePeaks(ultimate, span, d, x0, u, demand.stations);
  }
  for (size_t k = 1; k < model.supports.size(); ++k)
    if (alternancias::holdsDeflection(model.supports[k].code))
      demand.supports.push_back((model.nodes[model.supports[k].index].x - x0) * u.length);
  std::sort(demand.supports.begin(), demand.supports.end());
  demand.supportedStart = !demand.spans.front().overhang;
  demand.supportedEnd = !demand.spans.back().overhang;
  for (const std::vector<calcest::LoadOnBar>* loads : {&model.loads, &beam.variable})
    for (const calcest::LoadOnBar& load : *loads)
      if (load.load.ltype == 1 || load.load.ltype == 2)
        demand.pointLoads.push_back((model.nodes[model.bars[load.bar].nodeI].x - x0 + load.load.a) * u.length);
  for (size_t k = 1; k < model.nodalLoads.size(); ++k)
    demand.pointLoads.push_back((model.nodes[model.nodalLoads[k].index].x - x0) * u.length);
  return demand;
}

}  // namespace armado
