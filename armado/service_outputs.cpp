// The serviceability's lines of armado's summary.
#include <algorithm>
#include <cmath>

#include "armado/outputs.h"

namespace armado {

using common::appendFormat;
using common::TextBuffer;

namespace {

constexpr double kTiny = 1e-6;
double kNm(double newtonMillimetres) { return newtonMillimetres / 1e6; }
double m(double mm) { return mm / 1000; }

const char* cementName(char c) { return c == 'S' ? "S" : c == 'R' ? "R" : "N"; }

// "L/1376", or "-" for no deflection.
std::string ratioText(double length, double deflection) {
  return deflection > kTiny ? common::formatText("L/%.0f", std::floor(length / deflection)) : std::string("-");
}

void crackLine(TextBuffer& out, const Design& d, const CrackCheck& c) {
  const char* face = c.face == kBottom ? "inferior" : "superior";
  if (!c.cracked) {
    appendFormat(out, "    %s: sin fisurar (Mcp %.2f <= Mcr %.2f kN\xB7m)\n", face, kNm(c.M), kNm(c.Mcr));
    return;
  }
  appendFormat(out,
               "    %s: wk = %.3f mm, wmax %.1f mm  %s (Mcp %.2f > Mcr %.2f kN\xB7m; x %.1f mm, ss %.1f MPa, "
               "hc,ef %.1f mm, rho %.4f, esm-ecm %.4f por mil, sr,max %.1f mm%s)\n",
               face, c.width.wk, d.wk, verdict(c.width.wk <= d.wk + kTiny), kNm(c.M), kNm(c.Mcr), c.x0, c.sigmaS,
               c.width.hEffective, c.width.rho, c.width.strain * 1000, c.width.srMax,
               c.width.wideSpacing ? " = 1.3 (h - x)" : "");
}

}  // namespace

void serviceParameters(TextBuffer& out, const Design& d) {
  const DesignData& data = d.data;
  const Service& sv = d.service;
  appendFormat(out,
               "  servicio: caracter\xEDstica variables x1, frecuente x%.2f (psi1), cuasipermanente x%.2f (psi2); "
               "HR %.0f %%, h0 = 2 Ac/u = %.0f mm, t0 = %g d\xED"
               "as, cemento %s\n",
               data.psi1, data.psi2, data.humidity, sv.notionalSize, data.loadingAge, cementName(data.cement));
  appendFormat(out,
               "  fluencia phi(inf,t0) = %.3f (%s); retracci\xF3n eps_cs = %.4f por mil (%s); Ec,eff = Ecm/(1 + phi) = "
               "%.0f MPa; beta %.1f; kt %.1f\n",
               sv.phi, data.creep ? "dada" : "anejo B", sv.epsCs * 1000, data.shrinkage ? "dada" : "3.1.4 y anejo B",
               sv.EcEff, kSustainedLoadBeta, kLongTermKt);
  if (data.finishesAge)
    appendFormat(out,
                 "  acabados a los %g d\xED"
                 "as: phi = %.3f, eps_cs = %.4f por mil; flecha posterior <= L/500\n",
                 *data.finishesAge, sv.phiFinishes, sv.epsCsFinishes * 1000);
}

void spanServiceChecks(TextBuffer& out, const Design& d, size_t k) {
  const DemandSpan& span = d.demand.spans[k];
  const Materials& mt = d.materials;
  Check concrete, steel, sustained, cracks;
  double largestConcrete = 0;
  const double concreteLimit = characteristicConcreteStressLimit(d.data.exposure, mt.fck);
  for (int i = span.firstStation; i <= span.lastStation; ++i) {
    const StationDesign& s = d.stations[i];
    concrete.take(s.concreteStress, concreteLimit);
    largestConcrete = std::max(largestConcrete, s.concreteStress);
    steel.take(s.steelStress, kSteelStressShare * mt.fyk);
    sustained.take(s.concreteStressQp, kLinearCreepShare * mt.fck);
    cracks.take(std::max(s.wkBottom, s.wkTop), d.wk);
  }
  if (concreteLimit > 0)
    checkLine(out, "tensi\xF3n hormig\xF3n car.", "sc", "0.6 fck", concrete, 1, "MPa");
  else if (largestConcrete > 0)
    appendFormat(out, "  %-22s %-8s %9.2f %-5s (sin l\xEDmite en ambiente %s)\n", "tensi\xF3n hormig\xF3n car.", "sc",
                 largestConcrete, "MPa", d.data.exposure.c_str());
  checkLine(out, "tensi\xF3n acero car.", "ss", "0.8 fyk", steel, 1, "MPa");
  checkLine(out, "tensi\xF3n hormig\xF3n c.p.", "sc", "0.45 fck", sustained, 1, "MPa");
  if (sustained.ratio > 1 + 1e-9)
    appendFormat(out, "    la fluencia no es lineal (3.1.4(4)): la flecha diferida calculada se queda corta\n");
  checkLine(out, "abertura de fisura", "wk", "wmax", cracks, 1, "mm");
  if (span.overhang) return;
  for (const CrackCheck& c : d.service.cracks)
    if (!c.support && c.x >= span.start - kTiny && c.x <= span.end + kTiny && c.face == kBottom) {
      appendFormat(out, "  fisuras en x = %.2f (m\xE1ximo del tramo):\n", m(c.x));
      for (const CrackCheck& both : d.service.cracks)
        if (!both.support && std::fabs(both.x - c.x) < kTiny) crackLine(out, d, both);
      break;
    }
}

void placeCracks(TextBuffer& out, const Design& d, double x) {
  bool first = true;
  for (const CrackCheck& c : d.service.cracks)
    if (c.support && std::fabs(c.x - x) < kTiny) {
      if (first) appendFormat(out, "  fisuras:\n");
      first = false;
      crackLine(out, d, c);
    }
}

void deflectionTable(TextBuffer& out, const Design& d) {
  appendFormat(out,
               "Flechas en mm: el\xE1stica, la de la combinaci\xF3n caracter\xEDstica con el E\xB7I del modelo; "
               "diferida, la de la cuasipermanente con fisuraci\xF3n, fluencia y retracci\xF3n, desde los apoyos\n");
  appendFormat(out, "  tramo    luz  el\xE1stica  diferida   en x       L/f   l\xEDmite\n");
  const std::vector<SpanService>& spans = d.service.spans;
  for (size_t k = 0; k < spans.size(); ++k) {
    const SpanService& s = spans[k];
    appendFormat(out, "  %5d %6.2f %9.2f %9.2f %6.2f %9s   L/250 %6.2f  %s\n", static_cast<int>(k + 1), m(s.length),
                 s.elastic, s.longTerm, m(s.at), ratioText(s.length, s.longTerm).c_str(), s.limit,
                 verdict(s.longTerm <= s.limit + kTiny));
  }
  if (d.data.finishesAge) {
    appendFormat(out,
                 "  tras los acabados (a los %g d\xED"
                 "as):\n",
                 *d.data.finishesAge);
    for (size_t k = 0; k < spans.size(); ++k) {
      const SpanService& s = spans[k];
      appendFormat(out, "  %5d %6.2f %9s %9.2f %6.2f %9s   L/500 %6.2f  %s\n", static_cast<int>(k + 1), m(s.length), "",
                   s.afterFinishes, m(s.afterAt), ratioText(s.length, s.afterFinishes).c_str(), s.afterLimit,
                   verdict(s.afterFinishes <= s.afterLimit + kTiny));
    }
  }
  appendFormat(out, "Esbeltez L/d (7.4.2, m\xE9todo simplificado):\n");
  for (size_t k = 0; k < spans.size(); ++k) {
    const SpanService& s = spans[k];
    appendFormat(out,
                 "  %5d  L/d %6.2f, l\xEDmite %6.2f (K %.1f, rho %.3f %%, rho' %.3f %%, 310/ss %.2f, 7/L %.2f)  %s\n",
                 static_cast<int>(k + 1), s.slenderness, s.slendernessLimit, s.K, s.rho * 100, s.rhoPrime * 100,
                 s.steelFactor, s.spanFactor, verdict(s.slenderness <= s.slendernessLimit + 1e-9));
  }
}

}  // namespace armado
