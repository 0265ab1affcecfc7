#pragma once
// Laps (8.7) of the bars longer than the stock length: each such group is cut
// into pieces of at most 12 m that overlap by l0 where the bars work least.
#include <string>
#include <vector>

#include "armado/design.h"

namespace armado {

// Laps every group of `design` longer than kStockLength. `stress[f][i]`: the
// stress of face f's bars at station i (MPa). Each lap ends in the second
// half of the stock bar it closes, where the bars' largest stress over a lap
// is least (of equals, the furthest on), and where the lapped bars fit beside
// the others in the first layer (in contact, 8.7.2(3)); l0 for that stress
// and the share of the face's bars lapped there. False, with the station and
// the reason, when no place of a stock bar takes a lap.
bool lapLongBars(Design& design, const std::vector<double> stress[2], size_t& failed, std::string& why);

}  // namespace armado
