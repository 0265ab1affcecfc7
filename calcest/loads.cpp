// Bar loads: reading of the loads file, the checks that a load fits its bar,
// projection, the load diagrams and the accumulation on the bar. The end-load
// formulas per bar type are in end_loads.cpp.
#include "calcest/loads.h"

#include <cmath>
#include <string>
#include <utility>

#include "common/model_rules.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {

bool isForceLoad(int ltype) {
  return ltype == kPointForce || ltype == kUniform || ltype == kRising || ltype == kFalling;
}

bool isDistributed(int ltype) { return ltype == kUniform || ltype == kRising || ltype == kFalling; }

bool isHorizontalLetter(char dir) { return dir == 'x' || dir == 'X'; }
bool isVerticalLetter(char dir) { return dir == 'y' || dir == 'Y'; }

// Highest bar type each load type has equivalent loads for (all start at 0).
int highestBarType(int ltype) {
  switch (ltype) {
    case kPointForce:
    case kUniform: return 8;
    case kTemperature: return 4;
    default: return 6;
  }
}

// The load after projection, in the lengths and intensity the formulas use.
struct LoadValues {
  int ltype;
  double a, c, b, q;
  char dir;
  double span;              // L' of the formulas: a + c, or a + c + b
  double projection = 1.0;  // the file's lengths are this part of the bar's
  bool givenAsProjection = false;
};

LoadValues projected(const BarInput& bar, const BarLoad& load, bool project) {
  LoadValues v{load.ltype, load.a, load.c, load.b, load.q, load.dir, 0.0};
  bool inclined = bar.orient == kInclinedRight || bar.orient == kInclinedLeft;
  if (project && inclined && isForceLoad(v.ltype)) {
    // The file gives distances and intensities over the projection normal to
    // the load; the formulas need them along the bar.
    double f = isVerticalLetter(v.dir) ? std::fabs(bar.cos) : std::fabs(bar.sin);
    v.projection = f;
    v.givenAsProjection = true;
    v.a /= f;
    v.c /= f;
    v.b /= f;
    if (isDistributed(v.ltype)) v.q *= f;
  }
  v.span = (v.ltype == kPointForce || v.ltype == kPointMoment) ? v.a + v.c : v.a + v.c + v.b;
  return v;
}

// Everything that can reject the load is checked before the bar is touched.
Fault checkLoad(const BarInput& bar, const LoadValues& v) {
  if (v.ltype < kPointForce || v.ltype > kTemperature)
    return {"ERROR TIPO DE CARGA", "el tipo de carga va de 1 a 6", kLoadType};
  if (isForceLoad(v.ltype) && !isHorizontalLetter(v.dir) && !isVerticalLetter(v.dir))
    return {"ERROR EN DIRECCION DE CARGA", "la direcci\xF3n es y (vertical) o x (horizontal)", kLoadDirection};
  if (bar.type < 0 || bar.type > highestBarType(v.ltype))
    return {"ERROR TIPO DE BARRA",
            formatText("una carga de tipo %d no puede ir en una barra de tipo %d (tipos 0 a %d)", v.ltype, bar.type,
                       highestBarType(v.ltype)),
            kLoadType};
  if (v.ltype != kTemperature && v.span == 0.0) {
    const char* sum = v.ltype <= kPointMoment ? "a + c" : "a + c + b";
    return {formatText("ERROR: UNA CARGA DE LA BARRA %d TIENE LUZ NULA (%s = 0)\n", bar.label, sum),
            formatText("%s es 0: la carga no tiene luz", sum), kLoadC};
  }
  if (v.ltype == kTemperature && bar.type >= 1 && bar.type <= 3 && bar.h == 0.0)
    return {formatText("ERROR: CARGA DE TEMPERATURA EN LA BARRA %d, CUYO CANTO ES NULO\n", bar.label),
            "una carga de temperatura necesita que la secci\xF3n de la barra tenga canto", kLoadBar};
  return {};
}

// Relative difference between a load's span and its bar's length taken as rounding.
constexpr double kSpanTolerance = 1e-3;

// The formulas take their span from the load's own distances and never look at
// the bar: a load that does not lie on its bar would be computed on another span.
Fault checkLiesOnBar(const BarInput& bar, const BarLoad& load, const LoadValues& v, int line, const std::string& file) {
  if (v.ltype == kTemperature) return {};  // no distances
  const bool pointLoad = v.ltype == kPointForce || v.ltype == kPointMoment;
  struct Distance {
    char name;
    double value;
    int field;
  };
  const Distance distances[3] = {{'a', load.a, kLoadA}, {'c', load.c, kLoadC}, {'b', load.b, kLoadB}};
  for (int k = 0; k < (pointLoad ? 2 : 3); ++k)  // b is not a distance of a point load
    if (distances[k].value < 0)
      return {formatText("ERROR: LA CARGA %d DEL FICHERO %s EN LA BARRA %d TIENE UNA DISTANCIA NEGATIVA: %c = %g\n",
                         line, file.c_str(), bar.label, distances[k].name, distances[k].value),
              formatText("%c no puede ser negativa", distances[k].name), distances[k].field};
  if (std::fabs(v.span - bar.L) <= kSpanTolerance * bar.L) return {};
  // Said in the file's own terms: the distances as given, the bar as projected.
  const char* projection = !v.givenAsProjection      ? ""
                           : isVerticalLetter(v.dir) ? " EN PROYECCI\xD3N HORIZONTAL"
                                                     : " EN PROYECCI\xD3N VERTICAL";
  const char* sum = pointLoad ? "a + c" : "a + c + b";
  const double given = pointLoad ? load.a + load.c : load.a + load.c + load.b;
  const char* inWords = !v.givenAsProjection      ? ""
                        : isVerticalLetter(v.dir) ? " en proyecci\xF3n horizontal"
                                                  : " en proyecci\xF3n vertical";
  return {formatText("ERROR: LA CARGA %d DEL FICHERO %s NO CABE EN LA BARRA %d: %s = %g Y LA BARRA MIDE %g%s\n", line,
                     file.c_str(), bar.label, sum, given, bar.L * v.projection, projection),
          formatText("la carga no cabe en la barra: %s = %.17g y la barra mide %.17g%s", sum, given,
                     bar.L * v.projection, inWords),
          pointLoad ? kLoadC : kLoadB};
}

// What one load adds to its bar: the local equivalent vector and the diagrams.
struct Contribution {
  Vec6 eq{};
  StationArray N0{}, V0{}, M0{};
};

// The checked load in the bar's axes: the one place a force load's intensity is
// split along and across the bar.
LocalLoad localOf(const BarInput& bar, const LoadValues& v) {
  LocalLoad local;
  local.ltype = v.ltype;
  local.a = v.a;
  local.c = v.c;
  local.b = v.b;
  if (isForceLoad(v.ltype)) {
    const bool horizontal = isHorizontalLetter(v.dir);
    const double qx = horizontal ? v.q : 0.0, qy = horizontal ? 0.0 : v.q;
    local.qn = bar.cos * qx + bar.sin * qy;
    local.qt = -bar.sin * qx + bar.cos * qy;
  } else {
    local.value = v.q;
  }
  return local;
}

// Axial, shear and moment that the load alone gives at the inner stations. A
// station on a point force or moment keeps the value left of it: the envelope
// viewer adds the concentrated action itself to form the value on the right, so
// a station that already held it would count it twice.
void addDiagrams(Contribution& out, const BarInput& bar, const LocalLoad& load) {
  for (int k = 1; k <= kStations - 2; ++k) {
    const DiagramTerms terms = diagramTermsAt(load, bar.xs[k], false);
    out.N0[k] = terms.N0;
    out.V0[k] = terms.V0;
    out.M0[k] = terms.M0;
  }
}

bool isFinite(const Contribution& part) {
  for (int i = 1; i <= 6; ++i)
    if (!std::isfinite(part.eq[i])) return false;
  for (int k = 1; k <= kStations - 2; ++k)
    if (!std::isfinite(part.N0[k]) || !std::isfinite(part.V0[k]) || !std::isfinite(part.M0[k])) return false;
  return true;
}

void accumulate(Bar& bar, const Contribution& part) {
  const Vec6& eq = part.eq;
  const double c = bar.cos, s = bar.sin;
  for (int i = 1; i <= 6; ++i) {
    bar.eqLocal[i] += eq[i];
    bar.fixedEnd[i] -= eq[i];
  }
  for (int end = 0; end < 2; ++end) {
    const int o = 3 * end;
    bar.eqGlobal[o + 1] += c * eq[o + 1] - s * eq[o + 2];
    bar.eqGlobal[o + 2] += s * eq[o + 1] + c * eq[o + 2];
    bar.eqGlobal[o + 3] += eq[o + 3];
  }
  for (int k = 1; k <= kStations - 2; ++k) {
    bar.N0[k] += part.N0[k];
    bar.V0[k] += part.V0[k];
    bar.M0[k] += part.M0[k];
  }
}

// What one checked load adds to its bar; the bar itself is left as it is.
Contribution contributionOf(const BarInput& bar, const LoadValues& v) {
  Contribution part;
  const LocalLoad local = localOf(bar, v);
  if (v.ltype != kTemperature) addDiagrams(part, bar, local);
  if (v.ltype == kPointMoment) {
    part.eq = pointMomentVector(bar.type, v.q, v.a, v.c);
  } else if (v.ltype == kTemperature) {
    part.eq = temperatureVector(bar, v.q);
  } else {
    part.eq = forceLoadVector(bar.type, v.ltype, local.qt, v.a, v.c, v.b);
    if (bar.type != 0) {
      // The simple-beam shares lie along the load; their components along the bar.
      const SimpleSplit split = simpleBeamSplit(bar.type, v.ltype, v.q, v.a, v.c, v.b, v.span);
      const double along = isHorizontalLetter(v.dir) ? bar.cos : bar.sin;
      part.eq[1] = along * split.RI;
      part.eq[4] = along * split.RJ;
    }
  }
  return part;
}

// A span so short or values so large that the formulas overflow would spread
// inf or nan through the whole solution; stop here and say which bar.
Fault finiteFault(const BarInput& bar, const Contribution& part) {
  if (isFinite(part)) return {};
  return {formatText("ERROR: UNA CARGA DE LA BARRA %d DA VALORES NO FINITOS\n", bar.label),
          "la carga da valores no finitos: revise sus distancias y su valor", kLoadValue};
}

// The bar's own weight as a line of the loads file would give it.
BarLoad selfWeightLoad(const BarInput& bar) {
  BarLoad weight;
  weight.barLabel = bar.label;
  weight.ltype = kUniform;
  weight.a = 0;
  weight.c = bar.L;
  weight.b = 0;
  weight.q = -bar.w;
  weight.dir = 'y';
  return weight;
}

// One line of the loads file as typed (`line` counts from 1 for the message of
// a value that cannot be read); false at the end of the file or a Ctrl-Z.
bool readLoadLine(Scanner& loads, int line, BarLoad& load) {
  return loads.readFieldsUnlessEnd(formatText("carga %d", line), load.fields());
}

void applyLoad(Bar& bar, const BarLoad& load, bool project) {
  const LoadValues v = projected(bar, load, project);
  refuse(checkLoad(bar, v));
  const Contribution part = contributionOf(bar, v);
  refuse(finiteFault(bar, part));
  accumulate(bar, part);
}

}  // namespace

void applyBarLoad(Bar& bar, const BarLoad& load) { applyLoad(bar, load, true); }

void applySelfWeight(Bar& bar) {
  // Self-weight acts per bar length already, so it is never projected.
  applyLoad(bar, selfWeightLoad(bar), false);
}

LocalLoad localLoad(const BarInput& bar, const BarLoad& load) { return localOf(bar, projected(bar, load, true)); }

LocalLoad localSelfWeight(const BarInput& bar) { return localOf(bar, projected(bar, selfWeightLoad(bar), false)); }

DiagramTerms diagramTermsAt(const LocalLoad& load, double x, bool rightSide, double sameAbscissa) {
  DiagramTerms terms;
  const double a = load.a, c = load.c, d = x - a;
  if (load.ltype == kPointForce || load.ltype == kPointMoment) {
    const bool atX = d == 0.0 || std::fabs(d) < sameAbscissa;
    if (rightSide ? (d < 0.0 && !atX) : (d <= 0.0 || atX)) return terms;
  } else if (x < a) {
    return terms;
  }
  const bool inside = x < a + c;
  double shearPart = 0;  // multiplies qt for V0 and -qn for N0
  double momentPart = 0;
  switch (load.ltype) {
    case kPointForce:
      shearPart = 1;
      momentPart = d;
      break;
    case kPointMoment:
      // Same sign on every bar type: the hinge of a type 3 bar must end at zero.
      terms.M0 = load.value;
      return terms;
    case kUniform:
      shearPart = inside ? d : c;
      momentPart = inside ? d * d / 2 : c * (2 * x - 2 * a - c) / 2;
      break;
    case kRising:
      shearPart = inside ? d * d / (2 * c) : c / 2;
      momentPart = inside ? d * d * d / (6 * c) : c * (3 * x - 2 * c - 3 * a) / 6;
      break;
    case kFalling:
      shearPart = inside ? d * (2 * c - d) / (2 * c) : c / 2;
      momentPart = inside ? d * d * (3 * c - d) / (6 * c) : c * (3 * x - 3 * a - c) / 6;
      break;
    default: return terms;
  }
  terms.V0 = load.qt * shearPart;
  terms.N0 = -load.qn * shearPart;
  terms.M0 = load.qt * momentPart;
  return terms;
}

Fault loadFault(const BarInput& bar, const BarLoad& load, int line, const std::string& file) {
  const LoadValues v = projected(bar, load, true);
  if (Fault fault = checkLoad(bar, v)) return fault;
  if (Fault fault = checkLiesOnBar(bar, load, v, line, file)) return fault;
  return finiteFault(bar, contributionOf(bar, v));
}

Fault unknownBarFault(const BarLoad& load, int line, const std::string& file) {
  return {formatText("ERROR: LA CARGA %d DEL FICHERO %s ES DE LA BARRA %d, QUE NO EXISTE\n", line, file.c_str(),
                     load.barLabel),
          formatText("no hay ninguna barra con la etiqueta %d", load.barLabel), kLoadBar};
}

std::vector<BarLoad> readLoadLines(Scanner& loads) {
  std::vector<BarLoad> lines;
  BarLoad load;
  while (readLoadLine(loads, static_cast<int>(lines.size()) + 1, load)) lines.push_back(load);
  return lines;
}

std::vector<LoadOnBar> readBarLoads(Scanner& loads, size_t barCount,
                                    const std::function<const BarInput&(size_t)>& barAt) {
  std::vector<LoadOnBar> list;
  for (int line = 1;; ++line) {
    LoadOnBar entry;
    BarLoad& load = entry.load;
    if (!readLoadLine(loads, line, load)) return list;
    for (size_t k = 1; k < barCount && entry.bar == 0; ++k)
      if (barAt(k).label == load.barLabel) entry.bar = static_cast<int>(k);
    if (entry.bar == 0) refuse(unknownBarFault(load, line, loads.fileName()));
    // Whatever applying would refuse is refused here: a bad line is reported
    // before any later line is read, and applying the list cannot fail.
    refuse(loadFault(barAt(entry.bar), load, line, loads.fileName()));
    list.push_back(entry);
  }
}

void readAndApplyBarLoads(Scanner& loads, Bars& bars) {
  for (const LoadOnBar& entry : readBarLoads(loads, bars))
    applyBarLoad(bars[static_cast<size_t>(entry.bar)], entry.load);
}

}  // namespace calcest
