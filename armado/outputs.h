#pragma once
// The texts of a design: the table at every station (NAME.arm) and the
// summary on the console. Windows-1252; forces in kN, moments in kN m, areas
// in cm2, lengths along the beam in m.
#include <string>

#include "armado/design.h"
#include "armado/schedule.h"
#include "common/format.h"

namespace armado {

// NAME.arm: three heading lines, then one line per station of fixed columns
// (see the guide); later columns are added at the right of each line.
std::string designTable(const std::string& name, const Design& design);

// The console summary: the parameters used, per span and per support the
// bars, the stirrup zones and each check with its utilisation.
std::string summaryText(const std::string& name, const Design& design, const Schedule& schedule);

// "3\xD816" and, for a group shorter than the beam, " L=4.35".
std::string barsText(const BarGroup& group);
// "c\xD88 a 15 cm, 2 ramas, de 0.00 a 1.20".
std::string stirrupText(const Design& design, const StirrupZone& zone);

// The lines of the summary's checks: the governing utilisation of some
// stations, demand / capacity, with both values where it is.
struct Check {
  double ratio = 0, demand = 0, capacity = 0;
  void take(double need, double has);
};
// "  what   need  demand unit  has  capacity unit  ratio  CUMPLE"; nothing
// when nothing was asked.
void checkLine(common::TextBuffer& out, const char* what, const char* need, const char* has, const Check& c,
               double scale, const char* unit);
const char* verdict(bool holds);

// The serviceability's parts of the summary: the values used, a span's
// checks and the crack widths at its largest sagging moment, the crack
// widths at a support, and the table of the spans' deflections.
void serviceParameters(common::TextBuffer& out, const Design& design);
void spanServiceChecks(common::TextBuffer& out, const Design& design, size_t span);
void placeCracks(common::TextBuffer& out, const Design& design, double x);
void deflectionTable(common::TextBuffer& out, const Design& design);

}  // namespace armado
