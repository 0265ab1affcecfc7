#include "armado/detailing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "armado/serviceability.h"

namespace armado {

bool goodBond(bool topBar, double h) { return !topBar || h <= 250.0; }

double bondStrength(double diameter, bool good, const Materials& m) {
  const double eta1 = good ? 1.0 : 0.7;
  const double eta2 = diameter <= 32 ? 1.0 : (132 - diameter) / 100;
  return 2.25 * eta1 * eta2 * m.fctd;
}

double basicAnchorageLength(double diameter, double stress, double fbd) { return diameter / 4 * stress / fbd; }

double minimumAnchorageLength(double basic, double diameter) { return std::max({0.3 * basic, 10 * diameter, 100.0}); }

double designAnchorageLength(double diameter, double stress, bool good, const Materials& m) {
  const double basic = basicAnchorageLength(diameter, std::max(0.0, stress), bondStrength(diameter, good, m));
  return std::max(basic, minimumAnchorageLength(basic, diameter));
}

double lapShareFactor(double lappedShare) { return std::clamp(std::sqrt(lappedShare * 100 / 25), 1.0, 1.5); }

double lapLength(double diameter, double stress, bool good, double lappedShare, const Materials& m) {
  const double alpha6 = lapShareFactor(lappedShare);
  const double basic = basicAnchorageLength(diameter, std::max(0.0, stress), bondStrength(diameter, good, m));
  return std::max({alpha6 * basic, 0.3 * alpha6 * basic, 15 * diameter, 200.0});
}

double shiftLength(double z, double cotTheta) { return z * cotTheta / 2; }

double minimumClearSpacing(double diameter, double aggregate) { return std::max({diameter, aggregate + 5, 20.0}); }

double bondCover(double diameter) { return diameter; }

std::optional<double> crackWidthLimit(const std::string& exposure) {
  static const struct {
    const char* name;
    double wmax;
  } classes[] = {{"X0", 0.4},  {"XC1", 0.4}, {"XC2", 0.3}, {"XC3", 0.3}, {"XC4", 0.3}, {"XD1", 0.2},
                 {"XD2", 0.2}, {"XD3", 0.2}, {"XS1", 0.2}, {"XS2", 0.2}, {"XS3", 0.2}};
  for (const auto& c : classes)
    if (exposure == c.name) return c.wmax;
  return std::nullopt;
}

std::optional<double> crackSpacingLimit(double stress, double wk) {
  // Rows 160 .. 360 MPa by 40; columns wk = 0.4, 0.3, 0.2 (0: no spacing will do).
  static const double table[6][3] = {{300, 300, 200}, {300, 250, 150}, {250, 200, 100},
                                     {200, 150, 50},  {150, 100, 0},   {100, 50, 0}};
  const int column = wk >= 0.4 ? 0 : wk >= 0.3 ? 1 : 2;
  const double row = (std::max(stress, 160.0) - 160.0) / 40.0;
  if (row > 5) return std::nullopt;
  const int below = std::min(4, static_cast<int>(row));
  const double low = table[below][column], high = table[below + 1][column];
  if (high == 0 && row > below) return std::nullopt;
  if (low == 0) return std::nullopt;
  return low + (high - low) * (row - below);
}

double crackingMoment(double b, double h, const Materials& m) { return m.fctm * b * h * h / 6; }

double crackedSteelStress(double M, double b, double d, double As, double As2, double d2, const Materials& m) {
  if (M <= 0 || As <= 0) return 0;
  const double n = m.Es / m.Ecm;
  const TransformedSection c = crackedSection(b, {{As, d}, {As2, d2}}, n);
  return n * M * (d - c.neutralAxis) / c.inertia;
}

double roundUpToStep(double value, double step) { return std::ceil(value / step - 1e-9) * step; }

double roundDownToStep(double value, double step) { return std::floor(value / step + 1e-9) * step; }

}  // namespace armado
