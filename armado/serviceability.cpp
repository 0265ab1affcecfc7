#include "armado/serviceability.h"

#include <algorithm>
#include <cmath>

namespace armado {

namespace {

constexpr double kSustainedAge = HUGE_VAL;

// Table 3.3: kh by the notional size, straight between the rows.
double notionalSizeFactor(double h0) {
  static const double rows[][2] = {{100, 1.0}, {200, 0.85}, {300, 0.75}, {500, 0.70}};
  if (h0 <= rows[0][0]) return rows[0][1];
  for (int k = 1; k < 4; ++k)
    if (h0 <= rows[k][0])
      return rows[k - 1][1] + (rows[k][1] - rows[k - 1][1]) * (h0 - rows[k - 1][0]) / (rows[k][0] - rows[k - 1][0]);
  return rows[3][1];
}

// B.9: alpha by the class of cement; B.12: alpha_ds1, alpha_ds2.
int cementExponent(char cement) { return cement == 'S' ? -1 : cement == 'R' ? 1 : 0; }
double dryingFactor1(char cement) { return cement == 'S' ? 3 : cement == 'R' ? 6 : 4; }
double dryingFactor2(char cement) { return cement == 'S' ? 0.13 : cement == 'R' ? 0.11 : 0.12; }

}  // namespace

double notionalSize(double b, double h) { return 2 * b * h / (2 * (b + h)); }

double creepCoefficient(double fck, const Exposure& e, double age) {
  const double fcm = fck + 8, rh = e.humidity, h0 = e.notionalSize;
  const double a1 = std::pow(35 / fcm, 0.7), a2 = std::pow(35 / fcm, 0.2), a3 = std::pow(35 / fcm, 0.5);
  const double dry = (1 - rh / 100) / (0.1 * std::cbrt(h0));
  const double phiRH = fcm <= 35 ? 1 + dry : (1 + dry * a1) * a2;  // (B.3)
  const double betaFcm = 16.8 / std::sqrt(fcm);                    // (B.4)
  const double t0 = std::max(0.5, e.loadingAge * std::pow(9 / (2 + std::pow(e.loadingAge, 1.2)) + 1,
                                                          cementExponent(e.cement)));  // (B.9)
  const double betaT0 = 1 / (0.1 + std::pow(t0, 0.20));                                // (B.5)
  const double phi0 = phiRH * betaFcm * betaT0;                                        // (B.2)
  if (age == kSustainedAge) return phi0;
  const double humid = 1.5 * (1 + std::pow(0.012 * rh, 18)) * h0;
  const double betaH = fcm <= 35 ? std::min(humid + 250, 1500.0) : std::min(humid + 250 * a3, 1500 * a3);  // (B.8)
  const double loaded = std::max(0.0, age - e.loadingAge);
  return phi0 * std::pow(loaded / (betaH + loaded), 0.3);  // (B.7): t - t0 not adjusted
}

double shrinkageStrain(double fck, const Exposure& e, double age) {
  const double fcm = fck + 8, h0 = e.notionalSize;
  const double betaRH = 1.55 * (1 - std::pow(e.humidity / 100, 3));  // (B.12)
  const double basic = 0.85 * (220 + 110 * dryingFactor1(e.cement)) * std::exp(-dryingFactor2(e.cement) * fcm / 10) *
                       1e-6 * betaRH;                         // (B.11)
  const double autogenous = 2.5 * (fck - 10) * 1e-6;          // (3.12)
  double drying = notionalSizeFactor(h0) * basic, grown = 1;  // (3.9) at infinity
  if (age != kSustainedAge) {
    const double dried = std::max(0.0, age - e.loadingAge);
    drying *= dried / (dried + 0.04 * std::sqrt(h0 * h0 * h0));  // (3.10)
    grown = 1 - std::exp(-0.2 * std::sqrt(age));                 // (3.13)
  }
  return drying + grown * autogenous;
}

TransformedSection uncrackedSection(double b, double h, const std::vector<SteelLayer>& layers, double alpha) {
  double area = b * h, moment = b * h * h / 2;
  for (const SteelLayer& l : layers) {
    area += (alpha - 1) * l.area;
    moment += (alpha - 1) * l.area * l.depth;
  }
  TransformedSection s;
  s.neutralAxis = moment / area;
  const double x = s.neutralAxis;
  s.inertia = b * h * h * h / 12 + b * h * (x - h / 2) * (x - h / 2);
  for (const SteelLayer& l : layers) {
    s.inertia += (alpha - 1) * l.area * (l.depth - x) * (l.depth - x);
    s.steelMoment += l.area * (l.depth - x);
  }
  return s;
}

TransformedSection crackedSection(double b, const std::vector<SteelLayer>& layers, double alpha) {
  std::vector<SteelLayer> sorted;
  for (const SteelLayer& l : layers)
    if (l.area > 0) sorted.push_back(l);
  std::sort(sorted.begin(), sorted.end(), [](const SteelLayer& a, const SteelLayer& c) { return a.depth < c.depth; });
  TransformedSection s;
  // With the first k layers above the axis (compressed, alpha - 1) and the
  // rest below (alpha): b x^2 / 2 + B x - C = 0. The axis that falls between
  // its layers is the one.
  for (size_t k = 0; k <= sorted.size(); ++k) {
    double B = 0, C = 0;
    for (size_t i = 0; i < sorted.size(); ++i) {
      const double n = i < k ? alpha - 1 : alpha;
      B += n * sorted[i].area;
      C += n * sorted[i].area * sorted[i].depth;
    }
    const double x = (-B + std::sqrt(B * B + 2 * b * C)) / b;
    const bool above = k == 0 || x >= sorted[k - 1].depth, below = k == sorted.size() || x <= sorted[k].depth;
    if (!(above && below)) continue;
    s.neutralAxis = x;
    s.inertia = b * x * x * x / 3;
    for (size_t i = 0; i < sorted.size(); ++i) {
      const double n = i < k ? alpha - 1 : alpha, lever = sorted[i].depth - x;
      s.inertia += n * sorted[i].area * lever * lever;
      s.steelMoment += sorted[i].area * lever;
    }
    break;
  }
  return s;
}

double crackingMoment(const TransformedSection& uncracked, double h, const Materials& m) {
  return m.fctm * uncracked.inertia / (h - uncracked.neutralAxis);
}

double distributionCoefficient(double M, double Mcr, double beta) {
  const double size = std::fabs(M);
  return size > Mcr ? 1 - beta * (Mcr / size) * (Mcr / size) : 0.0;
}

double shrinkageCurvature(double epsCs, double alpha, const TransformedSection& section) {
  return epsCs * alpha * section.steelMoment / section.inertia;
}

CrackWidth crackWidth(const CrackData& c, const Materials& m) {
  CrackWidth w;
  const double alpha = m.Es / m.Ecm;
  w.hEffective = std::min({2.5 * (c.h - c.d), (c.h - c.x) / 3, c.h / 2});  // 7.3.2(3)
  w.rho = c.area / (c.b * w.hEffective);                                   // (7.10)
  w.strain = std::max((c.sigmaS - kLongTermKt * m.fctm / w.rho * (1 + alpha * w.rho)) / m.Es,
                      0.6 * c.sigmaS / m.Es);  // (7.9)
  w.wideSpacing = c.spacing > 5 * (c.cover + c.equivalentDiameter / 2);
  w.srMax = w.wideSpacing ? 1.3 * (c.h - c.x)                                                  // (7.14)
                          : 3.4 * c.cover + 0.8 * 0.5 * 0.425 * c.equivalentDiameter / w.rho;  // (7.11)
  w.wk = w.srMax * w.strain;                                                                   // (7.8)
  return w;
}

double characteristicConcreteStressLimit(const std::string& exposure, double fck) {
  const bool aggressive = exposure.rfind("XD", 0) == 0 || exposure.rfind("XS", 0) == 0 || exposure.rfind("XF", 0) == 0;
  return aggressive ? 0.6 * fck : 0.0;
}

double basicSpanDepthRatio(double K, double rho, double rhoPrime, double fck) {
  const double rho0 = std::sqrt(fck) * 1e-3, root = std::sqrt(fck);
  if (rho <= rho0) return K * (11 + 1.5 * root * rho0 / rho + 3.2 * root * std::pow(rho0 / rho - 1, 1.5));  // (7.16a)
  return K * (11 + 1.5 * root * rho0 / (rho - rhoPrime) + root / 12 * std::sqrt(rhoPrime / rho0));          // (7.16b)
}

}  // namespace armado
