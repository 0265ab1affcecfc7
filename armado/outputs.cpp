#include "armado/outputs.h"

#include <algorithm>
#include <cmath>

#include "armado/bending.h"
#include "armado/detailing.h"
#include "armado/shear.h"
#include "common/design_table.h"
#include "common/format.h"

namespace armado {

using common::appendFormat;
using common::formatText;
using common::TextBuffer;

namespace {
constexpr double kTiny = 1e-6;
// A value that rounds to zero in the table is written without its sign.
double unsigned0(double v, double half) { return std::fabs(v) < half ? 0.0 : v; }
double kN(double newtons) { return unsigned0(newtons / 1000, 0.005); }
double kNm(double newtonMillimetres) { return unsigned0(newtonMillimetres / 1e6, 0.005); }
double cm2(double mm2) { return mm2 / 100; }
double m(double mm) { return mm / 1000; }
}  // namespace

std::string designTable(const std::string& name, const Design& d) {
  TextBuffer out;
  appendFormat(out, "ARMADO DE LA VIGA %s: %s, %s, secci\xF3n %.0f x %.0f mm\n", name.c_str(),
               d.data.concrete.name.c_str(), d.data.steel.name.c_str(), d.b, d.h);
  appendFormat(out,
               "x en m; momentos en kN\xB7m; cortantes en kN; \xE1reas en cm2; Asw/s en cm2/m; tensiones en MPa; "
               "wk y flechas en mm; 1/r en 1/km\n");
  const std::string heading = common::designColumnsHeading();
  out.append(heading.data(), heading.size());
  for (const StationDesign& s : d.stations) {
    const common::DesignRow row = {m(s.x),
                                   kNm(s.Mmax),
                                   kNm(s.Mmin),
                                   cm2(s.requiredBottom),
                                   cm2(s.requiredTop),
                                   cm2(s.providedBottom),
                                   cm2(s.providedTop),
                                   kNm(s.resistancePositive),
                                   -kNm(s.resistanceNegative),
                                   kN(s.VEd),
                                   s.stirrupsRequired * 10,
                                   s.stirrupsProvided * 10,
                                   kN(s.VRd),
                                   s.cotTheta,
                                   kNm(s.MkMax),
                                   kNm(s.MkMin),
                                   kNm(s.MfrMax),
                                   kNm(s.MfrMin),
                                   kNm(s.MqpMax),
                                   kNm(s.MqpMin),
                                   s.concreteStress,
                                   s.steelStress,
                                   s.concreteStressQp,
                                   s.wkBottom,
                                   s.wkTop,
                                   unsigned0(s.curvature * 1e6, 5e-5),
                                   unsigned0(s.elastic, 0.005),
                                   unsigned0(s.longTerm, 0.005)};
    const std::string line = common::designRowText(row);
    out.append(line.data(), line.size());
  }
  return out.str();
}

std::string barsText(const BarGroup& g) {
  std::string text = formatText("%d\xD8%.0f", g.count, g.diameter);
  if (!g.continuous) text += formatText(" L=%.2f", m(g.length()));
  return text;
}

std::string stirrupText(const Design& d, const StirrupZone& z) {
  return formatText("c\xD8%.0f a %g cm, %d ramas, de %.2f a %.2f", d.stirrup.diameter, z.spacing / 10, d.data.legs,
                    m(z.start), m(z.end));
}

namespace {

void parameters(TextBuffer& out, const std::string& name, const Design& d) {
  const Materials& mt = d.materials;
  const DesignData& data = d.data;
  const ModelUnits& u = d.demand.units;
  const int spans = static_cast<int>(d.demand.spans.size());
  appendFormat(out, "Armado de la viga %s: %d tramo%s, secci\xF3n %.0f x %.0f mm, de x = %.2f a %.2f m\n", name.c_str(),
               spans, spans == 1 ? "" : "s", d.b, d.h, m(d.beamStart), m(d.beamEnd));
  appendFormat(
      out, "  hormig\xF3n %s: fck %.0f, fcd %.2f, fctm %.2f, fctd %.2f, Ecm %.0f MPa (gamma_c %.2f, alfa_cc %.2f)\n",
      data.concrete.name.c_str(), mt.fck, mt.fcd, mt.fctm, mt.fctd, mt.Ecm, data.safety.gammaC, data.safety.alphaCC);
  appendFormat(out, "  acero %s: fyk %.0f, fyd %.2f, Es %.0f MPa (gamma_s %.2f)\n", data.steel.name.c_str(), mt.fyk,
               mt.fyd, mt.Es, data.safety.gammaS);
  std::string diameters;
  for (double v : data.diameters) diameters += formatText(" \xD8%.0f", v);
  appendFormat(
      out, "  barras%s; estribos \xD8%.0f de %d ramas; recubrimiento %.0f mm; \xE1rido %.0f mm; apoyos de %.0f mm\n",
      diameters.c_str(), data.stirrupDiameter, data.legs, data.cover, data.aggregate, data.supportWidth);
  appendFormat(out, "  ambiente %s (wmax %.1f mm); cuasipermanente: permanentes x1, variables x%.2f (psi2)\n",
               data.exposure.c_str(), d.wk, data.psi2);
  appendFormat(out, "  esfuerzos de la envolvente exacta: permanentes x%g o x%g, variables x%g", data.factors.gG,
               data.factors.gGinf, data.factors.gQ);
  if (u.force != 1000) appendFormat(out, "; 1 %s = %g kN", u.forceName, u.force / 1000);
  if (u.length != 1000) appendFormat(out, "; 1 %s = %g m", u.lengthName, u.length / 1000);
  appendFormat(out, "\n");
  appendFormat(out,
               "  flexi\xF3n: bloque rectangular (0.8 x, fcd), x/d <= %.2f; MRd el menor del bloque y de la "
               "par\xE1"
               "bola-rect\xE1ngulo\n",
               kDuctilityDepthRatio);
  appendFormat(out,
               "  cortante: z = 0.9 d, cot theta de 1 a 2.5; a d del eje de un apoyo sin cargas puntuales a menos "
               "de 2d, el de d; a_l = %.3f m\n",
               m(d.shift));
  serviceParameters(out, d);
}

void spanChecks(TextBuffer& out, const Design& d, const DemandSpan& span) {
  Check positive, negative, shear, strut, minimum, maximum, cracks, spacing;
  const double most = maximumSteel(d.b, d.h);
  for (int i = span.firstStation; i <= span.lastStation; ++i) {
    const StationDesign& s = d.stations[i];
    if (s.Tbottom > 0) positive.take(s.Tbottom, s.resistancePositive);
    if (s.Ttop > 0) negative.take(s.Ttop, s.resistanceNegative);
    shear.take(s.VEd, s.VRd);
    strut.take(s.VEdFull, s.VRdmax);
    if (s.Tbottom > 0) minimum.take(minimumTensionSteel(d.b, s.dBottom, d.materials), s.providedBottom);
    if (s.Ttop > 0) minimum.take(minimumTensionSteel(d.b, s.dTop, d.materials), s.providedTop);
    maximum.take(std::max(s.providedBottom, s.providedTop), most);
    if (s.barSpacingBottom > 0) cracks.take(s.barSpacingBottom, s.barSpacingLimitBottom);
    if (s.barSpacingTop > 0) cracks.take(s.barSpacingTop, s.barSpacingLimitTop);
    spacing.take(d.data.legs * barArea(d.stirrup.diameter) / s.stirrupsProvided,
                 maximumStirrupSpacing(std::min(s.dBottom, s.dTop)));
  }
  checkLine(out, "flexi\xF3n positiva", "MEd", "MRd", positive, 1e-6, "kN\xB7m");
  checkLine(out, "flexi\xF3n negativa", "MEd", "MRd", negative, 1e-6, "kN\xB7m");
  checkLine(out, "cortante", "VEd", "VRd", shear, 1e-3, "kN");
  checkLine(out, "biela", "VEd", "VRd,max", strut, 1e-3, "kN");
  checkLine(out, "armadura m\xEDnima", "As,min", "As", minimum, 1e-2, "cm2");
  checkLine(out,
            "cuant\xED"
            "a m\xE1xima",
            "As", "0.04 Ac", maximum, 1e-2, "cm2");
  checkLine(out, "separaci\xF3n de barras", "s", "s,max", cracks, 1, "mm");
  checkLine(out, "separaci\xF3n de estribos", "s", "0.75 d", spacing, 1, "mm");
}

// The groups of a face that run over [from, to] (all of it when `across`).
std::string facesBars(const Design& d, int face, double from, double to) {
  std::string text;
  for (const BarGroup& g : d.bars) {
    if (g.face != face || g.end < from + kTiny || g.start > to - kTiny) continue;
    std::string marks;
    for (int mark : g.marks) marks += (marks.empty() ? "" : ", ") + std::to_string(mark);
    text += (text.empty() ? "" : " + ") + barsText(g) + " (" + marks + ")";
    if (!g.continuous) text += formatText(" de %.2f a %.2f", m(g.start), m(g.end));
    for (const Lap& lap : g.laps)
      text += formatText(" solapo de %.2f a %.2f (l0 %.2f)", m(lap.start), m(lap.end), m(lap.end - lap.start));
  }
  return text;
}

}  // namespace

void Check::take(double need, double has) {
  const double r = has > 0 ? need / has : (need > 0 ? HUGE_VAL : 0);
  if (r > ratio) *this = {r, need, has};
}

void checkLine(TextBuffer& out, const char* what, const char* need, const char* has, const Check& c, double scale,
               const char* unit) {
  if (c.demand <= 0) return;  // nothing asked of it here
  appendFormat(out, "  %-22s %-8s %9.2f %-5s %-8s %9.2f %-5s %5.2f  %s\n", what, need, c.demand * scale, unit, has,
               c.capacity * scale, unit, c.ratio, verdict(c.ratio <= 1 + 1e-9));
}

const char* verdict(bool holds) { return holds ? "CUMPLE" : "NO CUMPLE"; }

std::string summaryText(const std::string& name, const Design& d, const Schedule& schedule) {
  TextBuffer out;
  parameters(out, name, d);
  for (size_t k = 0; k < d.demand.spans.size(); ++k) {
    const DemandSpan& span = d.demand.spans[k];
    appendFormat(out, "Tramo %d%s: x = %.2f a %.2f m, luz %.2f m\n", static_cast<int>(k + 1),
                 span.overhang ? " (voladizo)" : "", m(span.start), m(span.end), m(span.end - span.start));
    const double quarter = (span.end - span.start) / 4;
    appendFormat(out, "  inferior: %s\n", facesBars(d, kBottom, span.start + quarter, span.end - quarter).c_str());
    appendFormat(out, "  superior: %s\n", facesBars(d, kTop, span.start + quarter, span.end - quarter).c_str());
    for (const StirrupZone& z : d.stirrups)
      if (z.span == static_cast<int>(k)) appendFormat(out, "  estribos: %s\n", stirrupText(d, z).c_str());
    spanChecks(out, d, span);
    spanServiceChecks(out, d, k);
  }
  for (size_t k = 0; k < d.demand.supports.size(); ++k) {
    const double x = d.demand.supports[k];
    appendFormat(out, "Apoyo en x = %.2f m\n", m(x));
    appendFormat(out, "  superior: %s\n", facesBars(d, kTop, x, x).c_str());
    appendFormat(out, "  inferior: %s\n", facesBars(d, kBottom, x, x).c_str());
    for (const StationDesign& s : d.stations)
      if (std::fabs(s.x - x) < kTiny) {
        Check negative;
        if (s.Ttop > 0) negative.take(s.Ttop, s.resistanceNegative);
        checkLine(out, "flexi\xF3n negativa", "MEd", "MRd", negative, 1e-6, "kN\xB7m");
        break;
      }
    placeCracks(out, d, x);
  }
  deflectionTable(out, d);
  appendFormat(out, "Despiece: %d marcas, %.2f kg de acero\n", static_cast<int>(schedule.pieces.size()),
               schedule.weight);
  return out.str();
}

}  // namespace armado
