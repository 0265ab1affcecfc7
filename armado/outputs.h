#pragma once
// The texts of a design: the table at every station (NAME.arm) and the
// summary on the console. Windows-1252; forces in kN, moments in kN m, areas
// in cm2, lengths along the beam in m.
#include <string>

#include "armado/design.h"
#include "armado/schedule.h"

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

}  // namespace armado
