#include "loads.h"

#include <cmath>
#include <string>
#include <utility>

#include "run_error.h"

namespace {

enum LoadType { kPointForce = 1, kPointMoment = 2, kUniform = 3, kRising = 4, kFalling = 5, kTemperature = 6 };

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
  double span;                   // L' of the formulas: a + c, or a + c + b
  double projection = 1.0;       // the file's lengths are this part of the bar's
  bool givenAsProjection = false;
};

LoadValues projected(const Bar& bar, const BarLoad& load, bool project) {
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
void checkLoad(const Bar& bar, const LoadValues& v) {
  if (v.ltype < kPointForce || v.ltype > kTemperature) throw RunError("ERROR TIPO DE CARGA");
  if (isForceLoad(v.ltype) && !isHorizontalLetter(v.dir) && !isVerticalLetter(v.dir))
    throw RunError("ERROR EN DIRECCION DE CARGA");
  if (bar.type < 0 || bar.type > highestBarType(v.ltype)) throw RunError("ERROR TIPO DE BARRA");
  if (v.ltype != kTemperature && v.span == 0.0) {
    const char* sum = v.ltype <= kPointMoment ? "a + c" : "a + c + b";
    throw RunError(formatText("ERROR: UNA CARGA DE LA BARRA %d TIENE LUZ NULA (%s = 0)\n", bar.label, sum));
  }
  if (v.ltype == kTemperature && bar.type >= 1 && bar.type <= 3 && bar.h == 0.0)
    throw RunError(formatText("ERROR: CARGA DE TEMPERATURA EN LA BARRA %d, CUYO CANTO ES NULO\n", bar.label));
}

// Relative difference between a load's span and its bar's length taken as rounding.
constexpr double kSpanTolerance = 1e-3;

// The formulas take their span from the load's own distances and never look at
// the bar: a load that does not lie on its bar would be computed on another span.
void checkLiesOnBar(const Bar& bar, const BarLoad& load, const LoadValues& v, int line, const std::string& file) {
  if (v.ltype == kTemperature) return;  // no distances
  const bool pointLoad = v.ltype == kPointForce || v.ltype == kPointMoment;
  const std::pair<char, double> distances[3] = {{'a', load.a}, {'c', load.c}, {'b', load.b}};
  for (int k = 0; k < (pointLoad ? 2 : 3); ++k)  // b is not a distance of a point load
    if (distances[k].second < 0)
      throw RunError(formatText("ERROR: LA CARGA %d DEL FICHERO %s EN LA BARRA %d TIENE UNA DISTANCIA NEGATIVA: %c = %g\n",
                                line, file.c_str(), bar.label, distances[k].first, distances[k].second));
  if (std::fabs(v.span - bar.L) <= kSpanTolerance * bar.L) return;
  // Said in the file's own terms: the distances as given, the bar as projected.
  const char* projection = !v.givenAsProjection       ? ""
                           : isVerticalLetter(v.dir) ? " EN PROYECCI\xD3N HORIZONTAL"
                                                     : " EN PROYECCI\xD3N VERTICAL";
  throw RunError(formatText("ERROR: LA CARGA %d DEL FICHERO %s NO CABE EN LA BARRA %d: %s = %g Y LA BARRA MIDE %g%s\n",
                            line, file.c_str(), bar.label, pointLoad ? "a + c" : "a + c + b",
                            pointLoad ? load.a + load.c : load.a + load.c + load.b, bar.L * v.projection,
                            projection));
}

// Resultant of a force load and its simple-beam shares at I and J.
struct SimpleSplit {
  double RI = 0, RJ = 0;
};

SimpleSplit simpleBeamSplit(int barType, const LoadValues& v) {
  const double q = v.q, a = v.a, c = v.c, b = v.b, L = v.span;
  double resultant = v.ltype == kPointForce ? q : v.ltype == kUniform ? q * c : q * c / 2.0;
  SimpleSplit s;
  if (barType == 5) {
    s.RJ = resultant;
  } else if (barType == 6) {
    s.RI = resultant;
  } else if (v.ltype == kPointForce) {
    s.RI = q * c / L;
    s.RJ = q * a / L;
  } else if (v.ltype == kUniform) {
    s.RI = c * q * (c + 2 * b) / (2 * L);
    s.RJ = c * q * (c + 2 * a) / (2 * L);
  } else if (v.ltype == kRising) {
    s.RI = c * q * (c + 3 * b) / (6 * L);
    s.RJ = c * q * (2 * c + 3 * a) / (6 * L);
  } else {
    s.RI = c * q * (2 * c + 3 * b) / (6 * L);
    s.RJ = c * q * (c + 3 * a) / (6 * L);
  }
  return s;
}

// Abscissae closer than this are one point of the beam.
constexpr double kSameAbscissa = 2e-5;

// What one load adds to its bar: the local equivalent vector and the diagrams.
struct Contribution {
  Vec6 eq{};
  StationArray N0{}, V0{}, M0{};
};

// Axial, shear and moment that the load alone gives at the inner stations.
void addDiagrams(Contribution& out, const Bar& bar, const LoadValues& v, double qn, double qt) {
  const double a = v.a, c = v.c;
  for (int k = 1; k <= kStations - 2; ++k) {
    const double x = bar.xs[k];
    if (x < a) continue;
    // A station on a point force or moment keeps the value left of it: the
    // envelope viewer adds the concentrated action itself to form the value on
    // the right, so a station that already held it would count it twice. Loads
    // are placed on the viewer's point grid to 1e-5, hence the same margin here.
    const bool pointLoad = v.ltype == kPointForce || v.ltype == kPointMoment;
    if (pointLoad && x - a < kSameAbscissa) continue;
    const double d = x - a;
    const bool inside = x < a + c;
    double shearPart = 0;  // multiplies qt for V0 and -qn for N0
    double momentPart = 0;
    switch (v.ltype) {
      case kPointForce:
        shearPart = 1;
        momentPart = d;
        break;
      case kPointMoment:
        // Same sign on every bar type: the hinge of a type 3 bar must end at zero.
        out.M0[k] = v.q;
        continue;
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
      default:
        continue;
    }
    out.V0[k] = qt * shearPart;
    out.N0[k] = -qn * shearPart;
    out.M0[k] = qt * momentPart;
  }
}

Vec6 withoutAxialParts(const EndShearsMoments& e) {
  Vec6 eq{};
  eq[2] = e.VI;
  eq[3] = e.MI;
  eq[5] = e.VJ;
  eq[6] = e.MJ;
  return eq;
}

Vec6 pointMomentVector(int barType, double M, double a, double b) {
  const double L = a + b, L2 = L * L, L3 = L2 * L;
  Vec6 eq{};
  switch (barType) {
    case 1:
      eq[2] = 6 * a * b * M / L3;
      eq[3] = 4 * a * M / L - 3 * a * a * M / L2 - M;
      eq[5] = -6 * a * b * M / L3;
      eq[6] = 2 * a * M / L - 3 * a * a * M / L2;
      break;
    case 2:
      eq[2] = 3 * (L2 - a * a) * M / (2 * L3);
      eq[5] = -3 * (L2 - a * a) * M / (2 * L3);
      eq[6] = M * (1.5 * (1 - a * a / L2) - 1);
      break;
    case 3:
      eq[2] = 3 * (L2 - b * b) * M / (2 * L3);
      eq[3] = M * (1.5 * (1 - b * b / L2) - 1);
      eq[5] = -3 * (L2 - b * b) * M / (2 * L3);
      break;
    case 4:
      eq[2] = M / L;
      eq[5] = -M / L;
      break;
    case 5: eq[6] = -M; break;
    case 6: eq[3] = -M; break;
    default: break;  // type 0: diagrams only
  }
  return eq;
}

Vec6 temperatureVector(const Bar& bar, double T) {
  Vec6 eq{};
  if (bar.type < 1 || bar.type > 4) return eq;
  eq[1] = bar.A * bar.alpha * bar.E * T;
  eq[4] = -eq[1];
  const double moment = T * bar.I * bar.alpha * bar.E / bar.h;
  // With one end hinged the restrained bar needs a pair of end shears to balance
  // its single end moment; without them the loads would not be self-equilibrated.
  if (bar.type == 1) {
    eq[3] = -moment;
    eq[6] = moment;
  } else if (bar.type == 2) {
    eq[6] = 1.5 * moment;
    eq[2] = eq[6] / bar.L;
    eq[5] = -eq[2];
  } else if (bar.type == 3) {
    eq[3] = -1.5 * moment;
    eq[2] = eq[3] / bar.L;
    eq[5] = -eq[2];
  }
  return eq;
}

// Uniform load on the shear-released bars: the guided end carries no shear.
Vec6 uniformOnShearReleased(int barType, double q, double a, double c, double b) {
  const double L = a + c + b;
  const double X = 3 * c * L * L - 6 * c * L * a - 3 * L * c * c + 3 * (a * c * c + c * a * a) + c * c * c;
  const double Y = 3 * c * L * L - 6 * c * L * b - 3 * L * c * c + 3 * (b * c * c + c * b * b) + c * c * c;
  Vec6 eq{};
  if (barType == 7) {
    eq[5] = q * c;
    eq[3] = -q * X / (6 * L);
    eq[6] = q * X / (6 * L) - c * q * (c / 2 + b);
  } else {
    eq[2] = q * c;
    eq[6] = q * Y / (6 * L);
    eq[3] = c * q * (c / 2 + a) - q * Y / (6 * L);
  }
  return eq;
}

// Uniform load on a fixed-ended bar, the commonest case, in closed form (the
// integral of distributedEndLoads gives the same values to rounding).
EndShearsMoments uniformOnFixedBar(double qt, double a, double c, double b) {
  const double L = a + c + b;
  EndShearsMoments total;
  const double L2 = L * L, L3 = L2 * L, L4 = L2 * L2;
  const double a2 = a * a, a3 = a2 * a, a4 = a2 * a2, b2 = b * b, b3 = b2 * b, b4 = b2 * b2;
  total.VI = qt / L3 * ((b4 + L4 - 2 * b3 * L) / 2 - (L3 * a - L * a3 + a4 / 2));
  total.VJ = qt / L3 * ((L4 + a4 - 2 * L * a3) / 2 - (L3 * b - b3 * L + b4 / 2));
  total.MI = qt / L2 * ((L4 + 3 * b4 - 4 * b3 * L) - (3 * a4 + 6 * L2 * a2 - 8 * L * a3)) / 12;
  total.MJ = -qt / L2 * ((L4 + 3 * a4 - 4 * L * a3) - (3 * b4 + 6 * L2 * b2 - 8 * b3 * L)) / 12;
  return total;
}

// Shears and moments of a force load from its intensity across the bar (the
// shear-released bars too: their moments must follow the same force as their shear).
Vec6 forceLoadVector(int barType, const LoadValues& v, double qt) {
  if (barType == 0) return Vec6{};
  if (v.ltype == kPointForce) return withoutAxialParts(pointForceEndLoads(barType, qt, v.a, v.c));
  if (barType == 7 || barType == 8) return uniformOnShearReleased(barType, qt, v.a, v.c, v.b);
  if (barType == 1 && v.ltype == kUniform) return withoutAxialParts(uniformOnFixedBar(qt, v.a, v.c, v.b));
  return withoutAxialParts(distributedEndLoads(barType, v.ltype, qt, v.a, v.c, v.b));
}

bool isFinite(const Contribution& part) {
  for (int i = 1; i <= 6; ++i)
    if (!std::isfinite(part.eq[i])) return false;
  for (int k = 1; k <= kStations - 2; ++k)
    if (!std::isfinite(part.N0[k]) || !std::isfinite(part.V0[k]) || !std::isfinite(part.M0[k])) return false;
  return true;
}

void accumulate(Bar& bar, const Contribution& part) {
  // A span so short or values so large that the formulas overflow would spread
  // inf or nan through the whole solution; stop here and say which bar.
  if (!isFinite(part))
    throw RunError(formatText("ERROR: UNA CARGA DE LA BARRA %d DA VALORES NO FINITOS\n", bar.label));
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

// Adds one checked load to its bar.
void applyValues(Bar& bar, const LoadValues& v) {
  Contribution part;

  if (v.ltype == kPointMoment) {
    addDiagrams(part, bar, v, 0, 0);
    part.eq = pointMomentVector(bar.type, v.q, v.a, v.c);
  } else if (v.ltype == kTemperature) {
    part.eq = temperatureVector(bar, v.q);
  } else {
    const bool horizontal = isHorizontalLetter(v.dir);
    const double qx = horizontal ? v.q : 0.0, qy = horizontal ? 0.0 : v.q;
    const double qn = bar.cos * qx + bar.sin * qy;
    const double qt = -bar.sin * qx + bar.cos * qy;
    addDiagrams(part, bar, v, qn, qt);
    part.eq = forceLoadVector(bar.type, v, qt);
    if (bar.type != 0) {
      // The simple-beam shares lie along the load; their components along the bar.
      const SimpleSplit split = simpleBeamSplit(bar.type, v);
      const double along = horizontal ? bar.cos : bar.sin;
      part.eq[1] = along * split.RI;
      part.eq[4] = along * split.RJ;
    }
  }
  accumulate(bar, part);
}

void applyLoad(Bar& bar, const BarLoad& load, bool project) {
  const LoadValues v = projected(bar, load, project);
  checkLoad(bar, v);
  applyValues(bar, v);
}

// Three-point Gauss-Legendre rule on [-1, 1]: exact for polynomials of degree
// five, and every integrand below (a point-force row times a linear intensity)
// has degree four at most.
constexpr double kGaussPoint = 0.7745966692414834;  // sqrt(3/5)
constexpr double kGaussNodes[3] = {-kGaussPoint, 0.0, kGaussPoint};
constexpr double kGaussWeights[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};

}  // namespace

EndShearsMoments pointForceEndLoads(int barType, double P, double a, double b) {
  const double L = a + b, L2 = L * L, L3 = L2 * L;
  EndShearsMoments e;
  switch (barType) {
    case 1:
      e.VI = P * b * b * (3 * a + b) / L3;
      e.MI = P * a * b * b / L2;
      e.VJ = P * a * a * (a + 3 * b) / L3;
      e.MJ = -P * a * a * b / L2;
      break;
    case 2:
      e.VI = P * b * b * (3 * L - b) / (2 * L3);
      e.VJ = P * a * (3 * L2 - a * a) / (2 * L3);
      e.MJ = -P * a * (L2 - a * a) / (2 * L2);
      break;
    case 3:
      e.VI = P * b * (3 * L2 - b * b) / (2 * L3);
      e.MI = P * b * (L2 - b * b) / (2 * L2);
      e.VJ = P * a * a * (3 * L - a) / (2 * L3);
      break;
    case 4:
      e.VI = P * b / L;
      e.VJ = P * a / L;
      break;
    case 5:
      e.VJ = P;
      e.MJ = -P * b;
      break;
    case 6:
      e.VI = P;
      e.MI = P * a;
      break;
    case 7:
      // The transverse force all goes to J; the moments are those of a beam
      // guided at I and fixed at J, with the same local force as the shear.
      e.MI = -P * b * b / (2 * L);
      e.VJ = P;
      e.MJ = -P * (L2 - a * a) / (2 * L);
      break;
    case 8:
      e.VI = P;
      e.MI = P * (L2 - b * b) / (2 * L);
      e.MJ = P * a * a / (2 * L);
      break;
    default: break;  // type 0: diagrams only
  }
  return e;
}

EndShearsMoments distributedEndLoads(int barType, int ltype, double qt, double a, double c, double b) {
  const double L = a + c + b;
  EndShearsMoments total;
  if (c == 0.0) return total;  // nothing loaded (and the triangles' slope is undefined)
  const double half = c / 2, middle = a + c / 2;
  for (int i = 0; i < 3; ++i) {
    const double s = middle + half * kGaussNodes[i];  // distance from I
    const double d = s - a;
    double intensity = qt;
    if (ltype == kRising) intensity = qt * d / c;
    if (ltype == kFalling) intensity = qt * (1 - d / c);
    const EndShearsMoments row = pointForceEndLoads(barType, intensity, s, L - s);
    const double weight = kGaussWeights[i] * half;
    total.VI += weight * row.VI;
    total.MI += weight * row.MI;
    total.VJ += weight * row.VJ;
    total.MJ += weight * row.MJ;
  }
  return total;
}

void applyBarLoad(Bar& bar, const BarLoad& load) { applyLoad(bar, load, true); }

void applySelfWeight(Bar& bar) {
  BarLoad weight;
  weight.barLabel = bar.label;
  weight.ltype = kUniform;
  weight.a = 0;
  weight.c = bar.L;
  weight.b = 0;
  weight.q = -bar.w;
  weight.dir = 'y';
  // Self-weight acts per bar length already, so it is never projected.
  applyLoad(bar, weight, false);
}

void readAndApplyBarLoads(Scanner& loads, std::vector<Bar>& bars) {
  for (int line = 1;; ++line) {
    BarLoad load;
    if (!loads.readUnlessEnd(formatText("carga %d", line), "%d  %d  %lf  %lf  %lf  %lf %c", &load.barLabel,
                             &load.ltype, &load.a, &load.c, &load.b, &load.q, &load.dir))
      return;
    Bar* target = nullptr;
    for (size_t k = 1; k < bars.size() && !target; ++k)
      if (bars[k].label == load.barLabel) target = &bars[k];
    if (!target)
      throw RunError(formatText("ERROR: LA CARGA %d DEL FICHERO %s ES DE LA BARRA %d, QUE NO EXISTE\n", line,
                                loads.fileName().c_str(), load.barLabel));
    const LoadValues v = projected(*target, load, true);
    checkLoad(*target, v);
    checkLiesOnBar(*target, load, v, line, loads.fileName());
    applyValues(*target, v);
  }
}
